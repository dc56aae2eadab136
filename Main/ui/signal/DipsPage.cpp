#include "ui/signal/DipsPage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "CommonUtils/TalvoError.h"
#include "editor/DipsAndFluctuations.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

constexpr const char* kDipButtons[3]{"rb_proval_a", "rb_proval_b", "rb_proval_c"};
constexpr const char* kSwellButtons[3]{"rb_perenapr_a", "rb_perenapr_b", "rb_perenapr_c"};
constexpr const char* kDepth[3]{"e_proval_a", "e_proval_b", "e_proval_c"};
constexpr const char* kResidual[3]{"e_ost_u_a", "e_ost_u_b", "e_ost_u_c"};
constexpr const char* kCoefficient[3]{"e_perenapr_a", "e_perenapr_b", "e_perenapr_c"};
constexpr const char* kMaximum[3]{"e_max_u_a", "e_max_u_b", "e_max_u_c"};
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGrayText(0x80, 0x80, 0x80);

// A field in use has the window colour; one the phase's kind leaves out is
// disabled and silver.
void SetInUse(QWidget* control, bool inUse) {
    control->setEnabled(inUse);
    QPalette palette = control->palette();
    const QColor colour = inUse ? QApplication::palette().color(QPalette::Base) : kSilver;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, colour);
        palette.setColor(group, QPalette::Window, colour);
    }
    // The value stays readable on silver.
    palette.setColor(QPalette::Disabled, QPalette::Text, kGrayText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, kGrayText);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

// A column heading in indexed text, on one or two lines.
QWidget* Heading(const char* first, const char* second = nullptr) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new TIndexTextLabel(first));
    if (second) layout->addWidget(new TIndexTextLabel(second));
    return box;
}

}  // namespace

TDipsPage::TDipsPage(TForm2& form, TPageFields& fields) : form_(form), fields_(fields) {
    auto* lower = new QHBoxLayout;
    lower->addWidget(Lines());
    lower->addWidget(Common(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Phases());
    layout->addLayout(lower);
}

QWidget* TDipsPage::Phases() {
    auto* box = new QGroupBox(QStringLiteral("Фазные напряжения"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(Heading("Глубина провала @dU~п~, %"), 0, 3);
    grid->addWidget(Heading("Остаточное напряжение U~o~, В"), 0, 4);
    grid->addWidget(Heading("Коэффициент временного", "перенапряжения K~перU~"), 0, 5);
    grid->addWidget(Heading("Максимальное напряжение", "U~пер~, В"), 0, 6);
    const char* phases[3]{"U~A~", "U~B~", "U~C~"};
    for (int p = 0; p < 3; ++p) {
        auto* kinds = new QButtonGroup(box);
        dips_[p] = new QRadioButton(QStringLiteral("Провал"));
        swells_[p] = new QRadioButton(QStringLiteral("Перенапряжение"));
        const QString phase = QStringLiteral(" ") + QChar('A' + p);
        NameControl(dips_[p], kDipButtons[p], dips_[p]->text() + phase);
        NameControl(swells_[p], kSwellButtons[p], swells_[p]->text() + phase);
        kinds->addButton(dips_[p]);
        kinds->addButton(swells_[p]);
        connect(dips_[p], &QRadioButton::clicked, this, [this, p] { KindChosen(p, sig::ckDip); });
        connect(swells_[p], &QRadioButton::clicked, this, [this, p] { KindChosen(p, sig::ckSwell); });
        grid->addWidget(new TIndexTextLabel(phases[p]), p + 1, 0);
        grid->addWidget(dips_[p], p + 1, 1);
        grid->addWidget(swells_[p], p + 1, 2);
        grid->addWidget(fields_.Control(kDepth[p]), p + 1, 3);
        grid->addWidget(fields_.Control(kResidual[p]), p + 1, 4);
        grid->addWidget(fields_.Control(kCoefficient[p]), p + 1, 5);
        grid->addWidget(fields_.Control(kMaximum[p]), p + 1, 6);
    }
    grid->setColumnStretch(7, 1);
    return box;
}

QWidget* TDipsPage::Lines() {
    auto* box = new QGroupBox(QStringLiteral("Междуфазные напряжения"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("Вид")), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Значение, %")), 0, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Напряжение, В")), 0, 3, Qt::AlignCenter);
    const char* lines[3]{"ab", "bc", "ca"};
    for (int l = 0; l < 3; ++l) {
        const std::string kind = std::string("e_collapse_kind_") + lines[l];
        grid->addWidget(fields_.Symbol(kind), l + 1, 0);
        grid->addWidget(fields_.Control(kind), l + 1, 1);
        grid->addWidget(fields_.Control(std::string("e_collapse_percent_") + lines[l]), l + 1, 2);
        grid->addWidget(fields_.Control(std::string("e_collapse_u_") + lines[l]), l + 1, 3);
    }
    grid->setRowStretch(4, 1);
    return box;
}

QWidget* TDipsPage::Common() {
    auto* box = new QGroupBox(QStringLiteral("Общие параметры"));
    auto* grid = new QGridLayout(box);
    const std::pair<const char*, const char*> rows[]{
        {"Edit3", "Количество"}, {"Edit4", "Длительность, с"}, {"Edit5", "Период, с"}, {"Edit6", "Начальная фаза"}};
    int r = 0;
    for (const auto& [name, caption] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption)), r, 0);
        grid->addWidget(fields_.Control(name), r++, 1);
    }
    align_ = new QComboBox;
    NameControl(align_, "cbCollapseAlign", QStringLiteral("Привязка"));
    for (const edit::TChoiceItem& item : edit::kCollapseAlignItems) align_->addItem(Q(item.Text));
    connect(align_, &QComboBox::activated, this, &TDipsPage::AlignChosen);
    reference_ = new QComboBox;
    NameControl(reference_, "cbReferenceVoltage", QStringLiteral("Опорное напряжение"));
    for (const edit::TChoiceItem& item : edit::kReferenceVoltageItems) reference_->addItem(Q(item.Text));
    connect(reference_, &QComboBox::activated, this, &TDipsPage::ReferenceChosen);
    grid->addWidget(new QLabel(QStringLiteral("Привязка")), 0, 2);
    grid->addWidget(align_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Опорное напряжение")), 1, 2);
    grid->addWidget(reference_, 1, 3);
    alignWarning_ = new QPlainTextEdit(QStringLiteral(
        "Внимание! Без привязки к периоду события начинаются и заканчиваются внутри периода основной частоты."));
    NameControl(alignWarning_, "meCollapseAlignWarning", QStringLiteral("Предупреждение о привязке"));
    alignWarning_->setReadOnly(true);
    alignWarning_->setFocusPolicy(Qt::NoFocus);
    alignWarning_->setMaximumHeight(60);
    alignWarning_->hide();
    grid->addWidget(alignWarning_, 2, 2, 2, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(4, 1);
    return box;
}

void TDipsPage::Show(const sig::TSignalSet& s) {
    for (int p = 0; p < 3; ++p) {
        const bool dip = edit::DipFieldsInUse(s, p);
        (dip ? dips_[p] : swells_[p])->setChecked(true);
        for (const char* name : {kDepth[p], kResidual[p]}) SetInUse(fields_.Control(name), dip);
        for (const char* name : {kCoefficient[p], kMaximum[p]}) SetInUse(fields_.Control(name), !dip);
    }
    align_->setCurrentIndex(edit::CollapseAlignIndex(s.Collapses.Binding));
    reference_->setCurrentIndex(edit::ReferenceVoltageIndex(s.Collapses.RefKind));
    alignWarning_->setVisible(edit::CollapseAlignWarningShown(s));
}

// A choice recomputes the events; a binding read from a file that is not
// in the list refuses that with its message.
void TDipsPage::Choose(const std::function<void(sig::TSignalSet&, sig::real)>& change) {
    try {
        change(form_.Signal(), form_.FrequencySetting().Kf);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
    form_.ShowAllData_Collapse();
}

void TDipsPage::KindChosen(int phase, std::uint8_t kind) {
    Choose([phase, kind](sig::TSignalSet& s, sig::real kf) { edit::SetCollapseKind(s, phase, kind, kf); });
}

void TDipsPage::AlignChosen(int index) {
    Choose([index](sig::TSignalSet& s, sig::real kf) { edit::SetCollapseAlign(s, index, kf); });
}

void TDipsPage::ReferenceChosen(int index) {
    Choose([index](sig::TSignalSet& s, sig::real kf) { edit::SetReferenceVoltage(s, index, kf); });
}

}  // namespace ui
