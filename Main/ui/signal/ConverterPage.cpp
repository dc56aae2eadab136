#include "ui/signal/ConverterPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>

#include "editor/FundamentalChoices.h"
#include "ui/charts/BarChartPanel.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/DeviceWork.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/QueuedSinks.h"
#include "ui/common/Reentry.h"
#include "ui/common/Texts.h"
#include "ui/signal/ConverterHarmonics.h"
#include "ui/signal/ConverterParameters.h"
#include "ui/signal/ConverterTotals.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

// The page's controls, phase A, B, C (the sequences positive, negative, zero).
constexpr const char* kOutputs[3]{"e_dey_znach_iu_a", "e_dey_znach_iu_b", "e_dey_znach_iu_c"};
constexpr const char* kAngles[3]{"e_ugol_iu_a", "e_ugol_iu_b", "e_ugol_iu_c"};
constexpr const char* kAngleDiffs[3]{"e_ugol_under_iu_a", "e_ugol_under_iu_b", "e_ugol_under_iu_c"};
constexpr const char* kLines[3]{"AB", "BC", "CA"};
constexpr const char* kInputs[3]{"e_dey_znach_i_iu_a", "e_dey_znach_i_iu_b", "e_dey_znach_i_iu_c"};
constexpr const char* kSwitches[3]{"cb_Include_IU_A", "cb_Include_IU_B", "cb_Include_IU_C"};
constexpr const char* kSwitchCaptions[3]{"Вкл. IA", "Вкл. IB", "Вкл. IC"};

// A message box of the program's look with its own caption and icon. The
// window it belongs to may go while it is open (the program ends): the box
// goes with it.
void ShowConverterMessage(const edit::TConverterMessage& m, QWidget* parent) {
    const TMessageIcon icon = m.Icon == edit::MessageIcon::Information ? TMessageIcon::Information
                              : m.Icon == edit::MessageIcon::Warning   ? TMessageIcon::Warning
                                                                       : TMessageIcon::Error;
    const QPointer<TfmMsg> box =
        new TfmMsg(Q(m.Text), icon, cmn::Buttons::Ok, parent ? parent : QApplication::activeWindow());
    box->setWindowTitle(Q(m.Caption));
    box->exec();
    delete box.data();
}

}  // namespace

void TConverterPage::Show_Chart_i_iu() { form_.Charts().Show_Chart_i_iu(); }
void TConverterPage::Show_Little_Chart_I_iu() { form_.Charts().Show_Little_Chart_I_iu(); }
void TConverterPage::ShowChart_i_iu(const std::array<sig::TPolar, 3>& currents) {
    form_.Charts().ShowConverterDiagram(currents);
}

TConverterPage::TConverterPage(TForm2& form)
    : form_(form),
      fields_(new TPageFields(
          this, form.Signal(), [this](const edit::TFieldRow& row, TFieldEdit& field) { TakeOver(row, field); },
          [](const edit::TFieldRow&, TFieldEdit&) {})),
      parameters_(new TConverterParameters),
      port_(parameters_->Port()) {
    connect(parameters_, &TConverterParameters::ConnectClicked, this, &TConverterPage::Connect);
    connect(parameters_, &TConverterParameters::ModeClicked, this, &TConverterPage::ModeClicked);
    connect(parameters_, &TConverterParameters::GainChosen, this,
            [this](float kpga, float k1pga, float kina) { Apply(rules_.ChooseGain(kpga, k1pga, kina), nullptr); });
    harmonics_ = new TConverterHarmonics(form, rules_, static_cast<TFieldEdit*>(fields_->Control("Edit30")),
                                         static_cast<TFieldEdit*>(fields_->Control("Edit31")),
                                         [this](bool angle, bool all) { return HarmonicStored(angle, all); });
    connect(harmonics_, &TConverterHarmonics::PhaseChanged, this, &TConverterPage::ShowAllData_low_iu);
    connect(harmonics_, &TConverterHarmonics::Recalculate, this,
            [this] { Apply(rules_.Event(edit::ConverterEvent::HarmonicEdited), nullptr); });

    // The harmonic view under the device's tabs, beside the channel values,
    // so the page fits a laptop screen's height.
    auto* tabs = Named(new QTabWidget, "PageControl1");
    tabs->addTab(parameters_, QStringLiteral("Параметры преобразователя"));
    tabs->addTab(&form_.Charts().Bars(edit::BarChart::Converter), QStringLiteral("График гармоник"));
    auto* left = new QVBoxLayout;
    left->addWidget(Fundamentals());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(tabs);
    right->addWidget(harmonics_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
    ModeClicked(true);
    parameters_->ShowNoData();
}

QWidget* TConverterPage::Fundamentals() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    outputCaption_ = new QLabel(QStringLiteral("Uвых., мВ"));
    grid->addWidget(outputCaption_, 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Угол фазового сдвига UuUi")), 0, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Угол между фазами")), 0, 3, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Iвх., А")), 0, 4, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Вкл.")), 0, 5);
    for (int p = 0; p < 3; ++p) {
        auto* angleDiff = ReadOnlyField(kAngleDiffs[p]);
        angleDiff->setToolTip(QString::fromLatin1(kLines[p]));
        switches_[p] = Named(new QCheckBox, kSwitches[p], QString::fromUtf8(kSwitchCaptions[p]));
        grid->addWidget(fields_->Symbol(kOutputs[p]), p + 1, 0);
        grid->addWidget(fields_->Control(kOutputs[p]), p + 1, 1);
        grid->addWidget(fields_->Control(kAngles[p]), p + 1, 2);
        grid->addWidget(angleDiff, p + 1, 3);
        grid->addWidget(fields_->Control(kInputs[p]), p + 1, 4);
        grid->addWidget(switches_[p], p + 1, 5);
        connect(switches_[p], &QCheckBox::clicked, this, [this, p](bool on) {
            edit::SetCurrentSwitch(form_.Signal(), p, on, &form_);
            form_.ShowAllData_i();
            Apply(rules_.Event(edit::ConverterEvent::HarmonicEdited), nullptr);
        });
    }
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Диапазон тока")));
    auto* range = Named(new QComboBox, "cb_naminal_i_iu", QStringLiteral("Диапазон тока"));
    range->addItems({QStringLiteral("1.0"), QStringLiteral("5.0")});
    range->setEnabled(false);
    row->addWidget(range);
    row->addWidget(new QLabel(QStringLiteral("Ед. изм. напр.")));
    unit_ = Named(new QComboBox, "cbNominalU", QStringLiteral("Ед. изм. напр."));
    unit_->addItems({QStringLiteral("мВ"), QStringLiteral("В")});
    connect(unit_, &QComboBox::currentIndexChanged, this, &TConverterPage::UnitChanged);
    row->addWidget(unit_);
    row->addWidget(new QLabel(QStringLiteral("Частота, Гц")));
    row->addWidget(fields_->Control("e_Rate_IU"));
    row->addWidget(fields_->Symbol("e_Otcl_Rate_IU"));
    row->addWidget(fields_->Control("e_Otcl_Rate_IU"));
    grid->addLayout(row, 4, 0, 1, 6);
    totals_ = new TConverterTotals;
    connect(totals_, &TConverterTotals::HarmCountChosen, this, [this](int count) {
        edit::SetCurrentHarmCount(form_.Signal(), count, &form_);
        ShowAllData_low_iu();
    });
    grid->addWidget(totals_, 5, 0, 1, 6);
    return box;
}

bool TConverterPage::ShowsWaveform() const { return harmonics_ && harmonics_->ShowsWaveform(); }

bool TConverterPage::HarmonicStored(bool angle, bool all) {
    const edit::THarmonicStore store = rules_.HarmonicStored(angle, all);
    QWidget* field = fields_->Control(angle ? "Edit31" : "Edit30");
    const bool ok = Apply(store.Outcome, store.ErrorKeepsFocus ? field : nullptr);
    return ok || !store.ErrorKeepsFocus;
}

bool TConverterPage::Apply(const edit::TConverterOutcome& out, QWidget* focus) {
    bool ok = !out.Refused;
    if (out.CurrentsChanged) form_.ShowAllData_i();
    if (out.Calculation != edit::ConverterCalculation::None) ok = Calculate(out.Calculation, focus) && ok;
    if (out.Redisplay) ShowAllData_low_iu();
    if (out.GainTexts) ShowKoeffPreobr();
    if (out.Message) MyShowMessage(*out.Message, cmn::MessageKind::Warning);
    if (out.Refused && focus) focus->setFocus();
    return ok;
}

bool TConverterPage::Calculate(edit::ConverterCalculation which, QWidget* focus) {
    return Apply(rules_.Calculate(which, form_.Signal(), this), focus);
}

void TConverterPage::PageSelected() { Apply(rules_.Event(edit::ConverterEvent::PageSelected), nullptr); }

// Angles and frequencies are the window's own fields; the window's rule takes them over.
void TConverterPage::TakeOver(const edit::TFieldRow& row, TFieldEdit& field) {
    const TReentryGuard pass(taking_);
    if (!pass) return;
    if (edit::TConverterPageRules::TakenByWindow(row))
        Apply(rules_.TakenByWindowRule(row, form_.TakeOverField(row, field)), &field);
    else Apply(rules_.TakeEntry(row, U(field.text()), form_.Signal()), &field);
}

void TConverterPage::ModeClicked(bool automatic) {
    const edit::TConverterModeLook look = rules_.ChooseMode(automatic);
    parameters_->ShowMode(look);
    for (const edit::TFieldRow& row : edit::FieldRows()) {
        if (row.Family != edit::FieldFamily::ConverterOutput && row.Family != edit::FieldFamily::ConverterInput)
            continue;
        const bool locked = row.Family == edit::FieldFamily::ConverterOutput ? look.OutputsLocked : look.InputsLocked;
        auto* field = static_cast<TFieldEdit*>(fields_->Control(row.Name));
        field->setStyleSheet(locked ? QStringLiteral("background-color: #c0c0c0;")
                                    : QStringLiteral("background-color: palette(base);"));
        field->SetKeyRefusal(locked ? Q(edit::kConverterReadOnly) : QString());
    }
    form_.SetConverterAutomatic(look.Automatic);
    ShowKoeffPreobr();
}

void TConverterPage::UnitChanged() {
    const edit::TConverterUnitLook look = rules_.ChooseUnit(unit_->currentIndex() == 1);
    outputCaption_->setText(Q(look.OutputCaption));
    totals_->ShowUnit(look);
    ShowAllData_low_iu();
}

void TConverterPage::ShowKoeffPreobr() { parameters_->ShowGains(edit::ShowKoeffPreobrTexts(state_)); }

// The field being edited keeps its typing; a choice box selects the item named.
void TConverterPage::ShowAllData_low_iu() {
    for (const edit::TConverterText& t : rules_.Texts(form_.Signal())) {
        auto* control = findChild<QWidget*>(Q(t.Name));
        if (auto* box = qobject_cast<QComboBox*>(control)) box->setCurrentText(Q(t.Text));
        else if (auto* line = qobject_cast<QLineEdit*>(control); line && !(line->hasFocus() && !line->isReadOnly()))
            line->setText(Q(t.Text));
    }
    SyncSwitches();
    harmonics_->Show();
    if (state_.CalibrationTablesLoaded()) ShowKoeffPreobr();
}

void TConverterPage::SyncSwitches() {
    const auto& sw = form_.Signal().Switches;
    const bool on[3]{sw.IOnA, sw.IOnB, sw.IOnC};
    for (int p = 0; p < 3; ++p) switches_[p]->setChecked(on[p]);
}

// ---------------------------------------------------------------- device work

TConverterPage::~TConverterPage() = default;

bool TConverterPage::Busy() const { return form_.Work().Holds(this); }

std::function<void(const edit::TConverterMessage&)> ConverterMessagesOn(std::shared_ptr<TWindowAnswers> answers) {
    return [answers](const edit::TConverterMessage& m) {
        answers->Ask([m](QWidget* parent) {
            ShowConverterMessage(m, parent);
            return true;
        });
    };
}

// The operation runs on the program's device runner with a copy of the
// state; what it learnt of the device comes back when it ends, while the page exists.
bool TConverterPage::RunOperation(std::function<bool(edit::TConverterSession&)> body, std::function<void(bool)> done) {
    TDeviceWork& work = form_.Work();
    auto copy = std::make_shared<edit::TConverterState>(state_);
    auto ok = std::make_shared<bool>(false);
    const std::string port = U(port_->currentText());
    auto messages = ConverterMessagesOn(work.Answers());
    return work.Start(
        [copy, ok, port, messages, body = std::move(body)] {
            edit::TConverterSession session(*copy, port);
            session.SetMessageSink(messages);
            *ok = body(session);
        },
        this,
        [this, copy, ok, done = std::move(done)] {
            state_.TakeDeviceData(*copy);
            if (done) done(*ok);
            Q_EMIT OperationFinished(*ok);
        },
        this);
}

void TConverterPage::SendFinished(const edit::TConverterSendResult& result) {
    Apply(rules_.SendFinished(result, form_.Signal()), nullptr);
}

void TConverterPage::Connect() {
    // Module number and gain are shown before the tables are read.
    auto dataRead = [this](const edit::TConverterState& read) {
        const std::int32_t module = read.ModuleNumber;
        const std::uint8_t gain = read.DeviceGainIndex;
        QMetaObject::invokeMethod(
            this,
            [this, module, gain] {
                state_.ModuleNumber = module;
                state_.DeviceGainIndex = gain;
                parameters_->ShowModule(edit::ModuleText(module));
                ShowKoeffPreobr();
            },
            Qt::QueuedConnection);
    };
    RunOperation([dataRead](edit::TConverterSession& session) { return edit::ConnectConverter(session, dataRead); },
                 [this](bool ok) {
                     parameters_->ShowModule(edit::ModuleText(state_.ModuleNumber));
                     Apply(rules_.Connected(ok), nullptr);
                 });
}

}  // namespace ui
