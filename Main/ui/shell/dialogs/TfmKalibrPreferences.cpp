#include "ui/shell/dialogs/TfmKalibrPreferences.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "signal/Nominals.h"
#include "ui/common/Texts.h"
#include "ui/shell/dialogs/CheckedFields.h"

namespace ui {
namespace {

constexpr const char* kPhaseCaptions[3] = {"Фаза А", "Фаза В", "Фаза С"};
constexpr const char* kWarning =
    "Внимание!!! Установите модификацию калибратора в соответствие с модификацией аппаратной части "
    "калибратора, указанной на табличке. Табличка расположена на боковой панели аппаратной части";

// "e_koef_2u_a" … "e_koef_2i_c", and "e_koef_f" for the frequency.
QByteArray FieldName(std::size_t index) {
    if (index == edit::kFrequencyCorrection) return "e_koef_f";
    for (const auto& range : edit::kPreferencesRanges)
        if (index >= range.FirstIndex && index < range.FirstIndex + 3)
            return QByteArray("e_koef_") + QByteArray(range.Label.data(), 2).toLower() + "_" +
                   char('a' + (index - range.FirstIndex));
    return {};
}

}  // namespace

TfmKalibrPreferences::TfmKalibrPreferences(const TPreferences& given, QWidget* parent)
    : TShellDialog(QStringLiteral("Параметры калибратора"), "fmKalibrPreferences", parent),
      form_(given.Correction),
      pages_(new QTabWidget) {
    NameControl(pages_, "PageControl1");
    pages_->addTab(CommonPage(given.Modification), QStringLiteral("Общие"));
    pages_->addTab(CalibrationPage(), QStringLiteral("Калибровка"));

    // Tab follows the order Enter takes.
    for (std::size_t i = 0; i + 1 < fields_.size(); ++i) setTabOrder(fields_[i], fields_[i + 1]);
    std::vector<QLineEdit*> fields(fields_.begin(), fields_.end());
    checks_ = new TCheckedFields(
        std::move(fields), cmn::MessageKind::Warning,
        [this](std::size_t i, const std::string& text) { return form_.Enter(i, text); },
        [this](std::size_t i) { return form_.Text(i); }, this);
    checks_->OnEnterAccepted = [this](std::size_t i) { EnterAccepted(i); };
    checks_->ShowAll();

    ok_ = NamedButton(QStringLiteral("Принять"), "btnOk", QStringLiteral("Сохранить новые параметры"));
    ok_->setDefault(true);
    auto* cancel = NamedButton(QStringLiteral("Отменить"), "btnCancel", QStringLiteral("Отменить ввод параметров"));
    cancel->setFocusPolicy(Qt::TabFocus);
    connect(ok_, &QPushButton::clicked, this, &TfmKalibrPreferences::Accept);
    connect(cancel, &QPushButton::clicked, this, [this] {
        checks_->Drop();
        reject();
    });
    connect(pages_, &QTabWidget::currentChanged, this, &TfmKalibrPreferences::PageChanged);

    auto* layout = new QVBoxLayout;
    layout->addWidget(pages_);
    layout->addLayout(ButtonRow({ok_, cancel}));
    SetBody(layout);
}

QWidget* TfmKalibrPreferences::CommonPage(int modification) {
    auto* page = new QWidget;
    NameControl(page, "page_common", QStringLiteral("Общие"));
    modification_ = new QComboBox;
    NameControl(modification_, "cb_modification", QStringLiteral("Модификация калибратора:"));
    for (int m = 0; m < sig::kModificationCount; ++m) modification_->addItem(Q(sig::ModificationInfo(m).DisplayName));
    modification_->setCurrentIndex(
        modification >= 0 && modification < sig::kModificationCount ? modification : sig::kDefaultModification);
    auto* warning = NamedLabel(Q(kWarning), "lb_warning");
    warning->setWordWrap(true);
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);
    warning->setFixedWidth(380);

    auto* row = new QHBoxLayout;
    row->addWidget(NamedLabel(QStringLiteral("Модификация калибратора:"), "lb_modification"));
    row->addWidget(modification_, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addSpacing(12);
    layout->addWidget(warning);
    layout->addStretch();
    return page;
}

QWidget* TfmKalibrPreferences::CalibrationPage() {
    auto* page = new QWidget;
    NameControl(page, "page_calibration", QStringLiteral("Калибровка"));
    auto makeField = [this](std::size_t index, const QString& accessible) {
        auto* field = new QLineEdit;
        NameControl(field, FieldName(index).constData(), accessible);
        field->setFixedWidth(72);
        field->setAlignment(Qt::AlignRight);
        fields_[index] = field;
        return field;
    };

    auto* ranges = new QGroupBox(QStringLiteral(" Калибровочные коэффициенты напряжения и тока, % "));
    NameControl(ranges, "gb_koef_ui", ranges->title());
    auto* grid = new QGridLayout(ranges);
    auto* heading = NamedLabel(QStringLiteral("Диапазон"), "lb_range");
    grid->addWidget(heading, 0, 1, 1, 4, Qt::AlignHCenter);
    for (int column = 0; column < 4; ++column) {
        const auto& range = edit::kPreferencesRanges[column];
        const QString label = Q(range.Label);
        grid->addWidget(NamedLabel(label, ("lb_range_" + QByteArray(range.Label.data(), 2)).constData()), 1, column + 1,
                        Qt::AlignHCenter);
        for (int phase = 0; phase < 3; ++phase) {
            const QString accessible = QString::fromUtf8(kPhaseCaptions[phase]) + QStringLiteral(", ") + label;
            grid->addWidget(makeField(range.FirstIndex + phase, accessible), phase + 2, column + 1);
        }
    }
    for (int phase = 0; phase < 3; ++phase)
        grid->addWidget(NamedLabel(QString::fromUtf8(kPhaseCaptions[phase]),
                                   ("lb_faza_" + QByteArray(1, char('a' + phase))).constData()),
                        phase + 2, 0);

    auto* frequency = new QGroupBox(QStringLiteral("Калибровочные коэффициенты частоты, %"));
    NameControl(frequency, "gb_koef_f", frequency->title());
    auto* frequencyRow = new QHBoxLayout(frequency);
    frequencyRow->addWidget(NamedLabel(QStringLiteral("f"), "lb_f"));
    frequencyRow->addWidget(makeField(edit::kFrequencyCorrection, QStringLiteral("f")));
    frequencyRow->addStretch();

    auto* restore = NamedButton(QStringLiteral("Восстановить"), "btnRestore",
                                QStringLiteral("Восстановить первоначальные калибровочные коэффициенты"));
    restore->setFocusPolicy(Qt::TabFocus);
    connect(restore, &QPushButton::clicked, this, &TfmKalibrPreferences::Restore);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(ranges);
    layout->addWidget(frequency);
    layout->addLayout(ButtonRow({restore}));
    layout->addStretch();
    return page;
}

// The correction page opens on its first field, ready to be typed over.
void TfmKalibrPreferences::PageChanged(int index) {
    if (pages_->widget(index)->objectName() != QLatin1String("page_calibration")) return;
    fields_[0]->setFocus(Qt::OtherFocusReason);
    fields_[0]->selectAll();
}

void TfmKalibrPreferences::EnterAccepted(std::size_t index) {
    const auto next = edit::NextCorrectionField(index);
    if (!next) {
        ok_->setFocus(Qt::TabFocusReason);
        return;
    }
    fields_[*next]->setFocus(Qt::TabFocusReason);
    fields_[*next]->selectAll();
}

void TfmKalibrPreferences::Restore() {
    checks_->Drop();
    form_.Restore();
    checks_->ShowAll();
}

void TfmKalibrPreferences::Accept() {
    if (checks_->CheckNow()) accept();
}

TPreferences TfmKalibrPreferences::Result() const { return {form_.Record(), modification_->currentIndex()}; }

std::optional<TPreferences> TfmKalibrPreferences::Edit(const TPreferences& given, QWidget* parent) {
    TfmKalibrPreferences dialog(given, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

}  // namespace ui
