#include "ui/shell/dialogs/TfmSignalNominals.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

#include "signal/Nominals.h"
#include "ui/common/Texts.h"
#include "ui/shell/dialogs/CheckedFields.h"

namespace ui {
namespace {

QLineEdit* Field(const char* name, const QString& caption) {
    auto* field = new QLineEdit;
    NameControl(field, name, caption);
    field->setFixedWidth(90);
    field->setAlignment(Qt::AlignRight);
    return field;
}

}  // namespace

TfmSignalNominals::TfmSignalNominals(const edit::TSignalNominals& given, QWidget* parent)
    : TShellDialog(QStringLiteral("Номинальные значения"), "fmSignalNominals", parent), values_(given) {
    const std::size_t frequencyIndex = edit::NominalFrequencyIndex(given.Frequency);
    frequency_ = new QComboBox;
    const QString phaseCaption = QStringLiteral("Фазное напряжение, В");
    const QString lineCaption = QStringLiteral("Междуфазное напряжение, В");
    const QString frequencyCaption = QStringLiteral("Частота, Гц");
    auto* phase = Field("e_nominal_faza", phaseCaption);
    auto* line = Field("e_nominal_line", lineCaption);
    NameControl(frequency_, "cb_nominal_freq", frequencyCaption);
    for (const sig::real f : sig::kNominalFrequencies) frequency_->addItem(FormatReal("%.0f", f));
    frequency_->setCurrentIndex(static_cast<int>(frequencyIndex));

    checks_ = new TCheckedFields(
        {phase, line}, cmn::MessageKind::Ok,
        [this](std::size_t i, const std::string& text) {
            return edit::EnterNominal(i == 0 ? values_.Phase : values_.Line, text);
        },
        [this](std::size_t i) { return edit::DialogNumberText(i == 0 ? values_.Phase : values_.Line); }, this);
    checks_->ShowAll();

    auto* form = new QFormLayout;
    form->addRow(phaseCaption, phase);
    form->addRow(lineCaption, line);
    form->addRow(frequencyCaption, frequency_);
    auto* ok = NamedButton(QStringLiteral("Принять"), "btnOk");
    ok->setDefault(true);
    auto* cancel = NamedButton(QStringLiteral("Отменить"), "btnCancel");
    cancel->setFocusPolicy(Qt::TabFocus);
    connect(ok, &QPushButton::clicked, this, &TfmSignalNominals::Accept);
    connect(cancel, &QPushButton::clicked, this, [this] {
        checks_->Drop();
        reject();
    });
    auto* layout = new QVBoxLayout;
    layout->addLayout(form);
    layout->addLayout(ButtonRow({ok, cancel}));
    SetBody(layout);
}

void TfmSignalNominals::Accept() {
    if (checks_->CheckNow()) accept();
}

edit::TSignalNominals TfmSignalNominals::Result() const {
    edit::TSignalNominals result = values_;
    result.Frequency = sig::kNominalFrequencies[frequency_->currentIndex()];
    return result;
}

std::optional<edit::TSignalNominals> TfmSignalNominals::Edit(const edit::TSignalNominals& given, QWidget* parent) {
    TfmSignalNominals dialog(given, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

}  // namespace ui
