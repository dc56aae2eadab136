#include "ui/signal/ConverterPage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "editor/FundamentalChoices.h"
#include "editor/HarmonicRules.h"
#include "files/TalvoIni.h"
#include "link/PortList.h"
#include "signal/Helpers.h"
#include "ui/charts/BarChartPanel.h"
#include "ui/charts/VectorChart.h"
#include "ui/charts/WaveChart.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/DeviceWork.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/QueuedSinks.h"
#include "ui/common/Texts.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

constexpr const char* kPhases = "ABC";

QString Fixed(sig::real v, int decimals) { return Q(cmn::FormatFixed(v, decimals, 2)); }
QString Degrees(sig::real v) { return Fixed(v, 3) + QStringLiteral("°"); }

QLineEdit* Result(const std::string& name) {
    auto* edit = new QLineEdit;
    edit->setReadOnly(true);
    NameControl(edit, name.c_str());
    edit->setMinimumWidth(80);
    return edit;
}

TFieldEdit* Field(const std::string& name, bool angle) {
    auto* edit = new TFieldEdit(angle);
    NameControl(edit, name.c_str());
    edit->setMinimumWidth(80);
    return edit;
}

template <class W>
W* Named(W* widget, const char* name, const QString& caption = {}) {
    NameControl(widget, name, caption);
    return widget;
}

// The distinct values of one factor of the gain table, in ascending order.
std::vector<float> FactorValues(int factor) {
    std::vector<float> values;
    for (int i = 1; i <= sig::kConverterGains; ++i) {
        const auto g = sig::ConverterGainTable(i);
        const float v = factor == 0 ? g.Kpga : factor == 1 ? g.K1pga : g.Kina;
        if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
    }
    std::sort(values.begin(), values.end());
    return values;
}

// A message box of the program's look with its own caption and icon. The
// window it belongs to may go while it is open (the program ends): the box
// goes with it.
void ShowConverterMessage(const edit::TConverterMessage& m, QWidget* parent) {
    const auto kind = m.Icon == edit::MessageIcon::Information ? cmn::MessageKind::Ok : cmn::MessageKind::Warning;
    const QPointer<TfmMsg> box =
        new TfmMsg(Q(m.Text), kind, cmn::Buttons::Ok, parent ? parent : QApplication::activeWindow());
    box->setWindowTitle(Q(m.Caption));
    if (m.Icon == edit::MessageIcon::Error)
        if (auto* icon = box->findChild<QLabel*>(QStringLiteral("Image1"))) {
            const int side = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
            icon->setPixmap(box->style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(side, side));
        }
    box->exec();
    delete box.data();
}

}  // namespace

void TConverterPage::Show_Chart_i_iu() { form_.Charts().Show_Chart_i_iu(); }
void TConverterPage::Show_Little_Chart_I_iu() { form_.Charts().Show_Little_Chart_I_iu(); }
void TConverterPage::ShowChart_i_iu(const std::array<sig::TPolar, 3>& currents) {
    form_.Charts().ShowConverterDiagram(currents);
}

std::function<void(const edit::TConverterMessage&)> ConverterMessagesOn(std::shared_ptr<TWindowAnswers> answers) {
    return [answers](const edit::TConverterMessage& m) {
        answers->Ask([m](QWidget* parent) {
            ShowConverterMessage(m, parent);
            return true;
        });
    };
}

namespace {

// Settings that cannot be read were reported when the program started; the
// page then starts on the first port.
std::string SavedConverterPort() {
    try {
        return files::TTalvoIni().ReadConverterComPort();
    } catch (const cmn::TalvoError&) {
        return {};
    }
}

}  // namespace

TConverterPage::TConverterPage(TForm2& form) : form_(form), port_(Named(new QComboBox, "cb_Com_Converter")) {
    std::vector<std::string> ports;
    lnk::FillCOMPortList(&ports);
    for (const std::string& port : ports) port_->addItem(Q(port));
    port_->setCurrentIndex(std::max(port_->findText(Q(SavedConverterPort())), 0));

    // The harmonic view under the device's tabs, beside the channel values,
    // so the page fits a laptop screen's height.
    auto* tabs = Named(new QTabWidget, "PageControl1");
    tabs->addTab(Parameters(), QStringLiteral("Параметры преобразователя"));
    tabs->addTab(&form_.Charts().Bars(edit::BarChart::Converter), QStringLiteral("График гармоник"));
    auto* left = new QVBoxLayout;
    left->addWidget(Fundamentals());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(tabs);
    right->addWidget(HarmonicView(), 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
    ModeClicked(true);
    deviceInfo_->setText(Q(edit::kNoConverterData));
    calcInfo_->setText(Q(edit::kNoConverterData));
}

TConverterPage::~TConverterPage() = default;

bool TConverterPage::Busy() const { return form_.Work().Holds(this); }

void TConverterPage::FocusNextOnEnter(TFieldEdit* field) {
    const QString next = Q(edit::ConverterNextField(U(field->objectName())));
    connect(field, &TFieldEdit::EnterPressed, this, [this, next] {
        if (auto* to = findChild<QWidget*>(next)) to->setFocus();
    });
}

QWidget* TConverterPage::Fundamentals() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    outputCaption_ = new QLabel(QStringLiteral("Uвых., мВ"));
    const QStringList heads{QString(), QStringLiteral("Угол фазового сдвига UuUi"), QStringLiteral("Угол между фазами"),
                            QStringLiteral("Iвх., А")};
    grid->addWidget(outputCaption_, 0, 1, Qt::AlignCenter);
    for (int c = 1; c < heads.size(); ++c) grid->addWidget(new QLabel(heads[c]), 0, c + 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Вкл.")), 0, 5);
    const char* lines[3]{"AB", "BC", "CA"};
    for (int p = 0; p < 3; ++p) {
        const std::string x(1, static_cast<char>('a' + p));
        const std::string X(1, kPhases[p]);
        grid->addWidget(new TIndexTextLabel("U~" + X + "~"), p + 1, 0);
        outputs_[p] = Field("e_dey_znach_iu_" + x, false);
        angles_[p] = Field("e_ugol_iu_" + x, true);
        angleDiffs_[p] = Result("e_ugol_under_iu_" + x);
        angleDiffs_[p]->setToolTip(QString::fromLatin1(lines[p]));
        inputs_[p] = Field("e_dey_znach_i_iu_" + x, false);
        switches_[p] = Named(new QCheckBox, ("cb_Include_IU_" + X).c_str(), Q("Вкл. I" + X));
        grid->addWidget(outputs_[p], p + 1, 1);
        grid->addWidget(angles_[p], p + 1, 2);
        grid->addWidget(angleDiffs_[p], p + 1, 3);
        grid->addWidget(inputs_[p], p + 1, 4);
        grid->addWidget(switches_[p], p + 1, 5);
        connect(outputs_[p], &TFieldEdit::Leaving, this, [this, p] { TakeValue(p, true); });
        connect(inputs_[p], &TFieldEdit::Leaving, this, [this, p] { TakeValue(p, false); });
        connect(angles_[p], &TFieldEdit::Leaving, this, [this, p] { TakeAngle(p); });
        for (TFieldEdit* field : {outputs_[p], angles_[p], inputs_[p]}) FocusNextOnEnter(field);
        connect(switches_[p], &QCheckBox::clicked, this, [this, p](bool on) {
            edit::SetCurrentSwitch(form_.Signal(), p, on, &form_);
            form_.ShowAllData_i();
            Calculate(edit::ConverterCalculation::Automatic);
        });
    }
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Диапазон тока")));
    range_ = Named(new QComboBox, "cb_naminal_i_iu", QStringLiteral("Диапазон тока"));
    range_->addItems({QStringLiteral("1.0"), QStringLiteral("5.0")});
    range_->setEnabled(false);
    row->addWidget(range_);
    row->addWidget(new QLabel(QStringLiteral("Ед. изм. напр.")));
    unit_ = Named(new QComboBox, "cbNominalU", QStringLiteral("Ед. изм. напр."));
    unit_->addItems({QStringLiteral("мВ"), QStringLiteral("В")});
    connect(unit_, &QComboBox::currentIndexChanged, this, &TConverterPage::UnitChanged);
    row->addWidget(unit_);
    row->addWidget(new QLabel(QStringLiteral("Частота, Гц")));
    rate_ = Field("e_Rate_IU", false);
    rateDelta_ = Field("e_Otcl_Rate_IU", false);
    row->addWidget(rate_);
    row->addWidget(new TIndexTextLabel("@Df"));
    row->addWidget(rateDelta_);
    const auto takeFrequency = [this](const char* rowName, TFieldEdit* field) {
        if (taking_) return;
        taking_ = true;
        if (form_.TakeOverField(*edit::FieldByName(rowName), *field)) ShowAllData_low_iu();
        taking_ = false;
    };
    connect(rate_, &TFieldEdit::Leaving, this, [=, this] { takeFrequency("e_rate_u", rate_); });
    connect(rateDelta_, &TFieldEdit::Leaving, this, [=, this] { takeFrequency("e_rate_otcl_u", rateDelta_); });
    FocusNextOnEnter(rate_);
    FocusNextOnEnter(rateDelta_);
    grid->addLayout(row, 4, 0, 1, 6);

    auto* lower = new QGridLayout;
    auto* symmetry = new QGroupBox(QStringLiteral("Несимметрия"));
    auto* sg = new QGridLayout(symmetry);
    const char* orders[3]{"1", "2", "0"};
    auto* rms = new QGroupBox;
    auto* rg = new QGridLayout(rms);
    rmsCaption_ = new QLabel(QStringLiteral("СКЗ. сигналов на выходе преобразователя, мВ"));
    rmsCaption_->setWordWrap(true);
    rg->addWidget(rmsCaption_, 0, 0, 1, 2);
    auto* ki = new QGroupBox;
    auto* kg = new QGridLayout(ki);
    auto* kiCaption = new QLabel(QStringLiteral("Коэф. искажения синусоидальности в каналах преобразователя, %"));
    kiCaption->setWordWrap(true);
    // Two lines of the wrapped caption; a grid gives a wrapped label the height of one.
    kiCaption->setMinimumHeight(kiCaption->fontMetrics().lineSpacing() * 2 + 2);
    kg->addWidget(kiCaption, 0, 0, 1, 2);
    auto* in = new QGroupBox;
    auto* ig = new QGridLayout(in);
    auto* inCaption = new QLabel(QStringLiteral("СКЗ. сигналов на входе преобразователя, А"));
    inCaption->setWordWrap(true);
    ig->addWidget(inCaption, 0, 0, 1, 2);
    for (int p = 0; p < 3; ++p) {
        const std::string x(1, static_cast<char>('a' + p));
        const std::string X(1, kPhases[p]);
        symmetry_[p] = Result(std::string("nessim_iu_") + orders[p]);
        symmetryAngles_[p] = Result(std::string("nessim_iu_fui_") + orders[p]);
        symmetrySymbols_[p] = Named(new TIndexTextLabel(edit::ConverterSymmetrySymbol(p, false)),
                                    (std::string("SymbolSeq") + orders[p] + "_iu").c_str());
        sg->addWidget(symmetrySymbols_[p], p, 0);
        sg->addWidget(symmetry_[p], p, 1);
        sg->addWidget(new TIndexTextLabel(std::string("@fU~U~~") + orders[p] + "~U~I~~" + orders[p] + "~"), p, 2);
        sg->addWidget(symmetryAngles_[p], p, 3);
        outputRms_[p] = Result("ui_u_" + x);
        rg->addWidget(new TIndexTextLabel("U~" + X + "~"), p + 1, 0);
        rg->addWidget(outputRms_[p], p + 1, 1);
        distortion_[p] = Result("ki_" + x);
        kg->addWidget(new TIndexTextLabel("K~I" + X + "~"), p + 1, 0);
        kg->addWidget(distortion_[p], p + 1, 1);
        inputRms_[p] = Result("ui_i_" + x);
        ig->addWidget(new TIndexTextLabel("I~" + X + "~"), p + 1, 0);
        ig->addWidget(inputRms_[p], p + 1, 1);
    }
    auto* r40 = Named(new QRadioButton(QStringLiteral("40")), "rb40GarmIU", QStringLiteral("40"));
    auto* r50 = Named(new QRadioButton(QStringLiteral("50")), "rb50GarmIU", QStringLiteral("50"));
    r50->setChecked(true);
    auto* counts = new QHBoxLayout;
    counts->addWidget(r40);
    counts->addWidget(r50);
    kg->addLayout(counts, 4, 0, 1, 2);
    for (auto [button, count] : {std::pair{r40, 40}, std::pair{r50, 50}})
        connect(button, &QRadioButton::clicked, this, [this, count] {
            edit::SetCurrentHarmCount(form_.Signal(), count, &form_);
            ShowAllData_low_iu();
        });
    lower->addWidget(symmetry, 0, 0);
    lower->addWidget(rms, 0, 1);
    lower->addWidget(ki, 1, 0);
    lower->addWidget(in, 1, 1);
    grid->addLayout(lower, 5, 0, 1, 6);
    return box;
}

QWidget* TConverterPage::Parameters() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    module_ = Named(new QLabel(QStringLiteral("№ модуля: нет данных")), "lbN_Converter");
    layout->addWidget(module_);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(new QLabel(QStringLiteral("Com порт - ")));
    portRow->addWidget(port_);
    auto* refresh = Named(new QToolButton, "SpeedButton3", QStringLiteral("Обновить список портов"));
    refresh->setText(QStringLiteral("…"));
    connect(refresh, &QToolButton::clicked, this, [this] {
        const int at = port_->currentIndex();
        std::vector<std::string> ports;
        lnk::FillCOMPortList(&ports);
        port_->clear();
        for (const std::string& port : ports) port_->addItem(Q(port));
        port_->setCurrentIndex(at < port_->count() ? at : port_->count() - 1);
    });
    portRow->addWidget(refresh);
    layout->addLayout(portRow);
    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(new QLabel(QStringLiteral("Скорость - ")));
    auto* rate = Named(new QComboBox, "cb_Rate_Converter");
    rate->addItem(QStringLiteral("115200"));
    rateRow->addWidget(rate);
    rateRow->addStretch();
    layout->addLayout(rateRow);
    auto* test =
        Named(new QPushButton(QStringLiteral("Поключение")), "btnTestConverterIU", QStringLiteral("Поключение"));
    connect(test, &QPushButton::clicked, this, &TConverterPage::Connect);
    layout->addWidget(test);

    layout->addWidget(new QLabel(QStringLiteral("Текущие коэффициенты преобразователя")));
    deviceInfo_ = Named(new QLabel, "lbConverterInfo");
    layout->addWidget(deviceInfo_);
    autoBox_ =
        Named(new QGroupBox(QStringLiteral("Автоматически рассчитанные коэффициенты преобразователя")), "gbKnIU_auto");
    calcInfo_ = Named(new QLabel, "lbConverterInfoCalc");
    (new QVBoxLayout(autoBox_))->addWidget(calcInfo_);
    layout->addWidget(autoBox_);
    for (QLabel* label : {deviceInfo_, calcInfo_}) label->setWordWrap(true);

    auto* modes = new QGroupBox(QStringLiteral("Режим работы с преобразователем"));
    auto* ml = new QVBoxLayout(modes);
    auto_ = Named(new QCheckBox(QStringLiteral("Автоматический (задание выходного напряжения)")), "cbAutoIU",
                  QStringLiteral("Автоматический (задание выходного напряжения)"));
    manual_ = Named(new QCheckBox(QStringLiteral("Ручной (задание входного тока и коэффициентов)")), "cbManualIU",
                    QStringLiteral("Ручной (задание входного тока и коэффициентов)"));
    auto_->setChecked(true);
    connect(auto_, &QCheckBox::clicked, this, [this](bool on) { ModeClicked(on); });
    connect(manual_, &QCheckBox::clicked, this, [this](bool on) { ModeClicked(!on); });
    ml->addWidget(auto_);
    ml->addWidget(manual_);
    layout->addWidget(modes);

    manualBox_ =
        Named(new QGroupBox(QStringLiteral("Заданные в ручную коэффициенты преобразователя")), "gbKnIU_manual");
    auto* gl = new QGridLayout(manualBox_);
    manualInfo_ = Named(new QLabel, "lbConverterInfoManual");
    gl->addWidget(manualInfo_, 0, 0, 1, 2);
    const char* names[3]{"cbKpga", "cbK1pga", "cbKina"};
    const char* captions[3]{"Kpga", "K1pga", "Kina"};
    for (int k = 0; k < 3; ++k) {
        gains_[k] = Named(new QComboBox, names[k], QString::fromLatin1(captions[k]));
        for (const float v : FactorValues(k)) gains_[k]->addItem(Q(edit::FactorText(v)));
        gl->addWidget(new QLabel(QString::fromLatin1(captions[k])), k + 1, 0);
        gl->addWidget(gains_[k], k + 1, 1);
        connect(gains_[k], &QComboBox::currentIndexChanged, this, &TConverterPage::GainBoxChanged);
    }
    layout->addWidget(manualBox_);
    layout->addStretch();
    return box;
}

QWidget* TConverterPage::HarmonicView() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    views_ = Named(new QStackedWidget, "Notebook5");
    auto* garm = Named(new QWidget, "page_garm");
    views_->addWidget(garm);
    views_->addWidget(Named(Wrapped(form_.Charts().ConverterVectors()), "page_graf"));
    views_->addWidget(Named(Wrapped(form_.Charts().ConverterWaves()), "page_sin"));
    const char* captions[3]{"Гармоники", "Векторная диаграмма", "Осциллограммы"};
    for (int v = 0; v < 3; ++v) {
        auto* button = new QToolButton;
        button->setText(QString::fromUtf8(captions[v]));
        button->setProperty("tag", 18 + v);
        connect(button, &QToolButton::clicked, this, [this, v] {
            views_->setCurrentIndex(v);
            if (v == 1) Calculate(edit::ConverterCalculation::Automatic);
            if (v == 2) Show_Little_Chart_I_iu();
        });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addWidget(views_, 1);

    auto* grid = new QGridLayout(garm);
    grid->setContentsMargins(0, 0, 0, 0);
    harmonicPhase_ = Named(new QComboBox, "ComboBox4");
    interPhase_ = Named(new QComboBox, "ComboBox3");
    for (QComboBox* phase : {harmonicPhase_, interPhase_})
        phase->addItems({QStringLiteral("Ia"), QStringLiteral("Ib"), QStringLiteral("Ic")});
    harmonicNumber_ = Named(new QSpinBox, "SpinEdit5");
    interNumber_ = Named(new QSpinBox, "SpinEdit6");
    // Out-of-range numbers reach the check and its message; leaving the
    // editor puts back the number of the selected row.
    for (QSpinBox* number : {harmonicNumber_, interNumber_}) {
        number->setRange(0, 99);
        number->setKeyboardTracking(false);
        number->installEventFilter(this);
    }
    harmonicNumber_->setValue(2);
    interNumber_->setValue(1);
    harmonics_ = Named(new QListWidget, "ListBox6");
    interharmonics_ = Named(new QListWidget, "ListBox7");
    coefficient_ = Field("Edit30", false);
    angle_ = Field("Edit31", true);
    auto* allKoef =
        Named(new QToolButton, "SpeedButton34", QStringLiteral("Копировать значение коэффициента во все гармоники"));
    auto* allAngles =
        Named(new QToolButton, "SpeedButton33", QStringLiteral("Копировать значение фазового угла во все гармоники"));
    // The copy buttons act on the field's text as typed: they take no focus, which would refill it.
    for (QToolButton* copy : {allKoef, allAngles}) {
        copy->setText(QStringLiteral("⇊"));
        copy->setFocusPolicy(Qt::NoFocus);
    }
    interOn_ = Named(new QCheckBox(QStringLiteral("Вкл. интергарм.")), "chBoxOnIntergarm_iu",
                     QStringLiteral("Вкл. интергарм."));
    grid->addWidget(harmonicPhase_, 0, 0);
    grid->addWidget(harmonicNumber_, 0, 1);
    grid->addWidget(interPhase_, 0, 2);
    grid->addWidget(interNumber_, 0, 3);
    grid->addWidget(interOn_, 0, 4);
    grid->addWidget(harmonics_, 1, 0, 1, 2);
    grid->addWidget(interharmonics_, 1, 2, 1, 3);
    auto* fields = new QHBoxLayout;
    coefficientSymbol_ = Named(new TIndexTextLabel("K~(n)~"), "SymbolKoef_iu");
    angleSymbol_ = Named(new TIndexTextLabel("@f~(n)~"), "SymbolAngle_iu");
    fields->addWidget(coefficientSymbol_);
    fields->addWidget(coefficient_);
    fields->addWidget(allKoef);
    fields->addWidget(angleSymbol_);
    fields->addWidget(angle_);
    fields->addWidget(allAngles);
    grid->addLayout(fields, 2, 0, 1, 5);

    const auto harmonicMode = [this](bool inter) {
        state_.EditsInterharmonics = inter;
        coefficientSymbol_->SetText(inter ? "K~ig(n)~" : "K~(n)~");
        angleSymbol_->SetText(inter ? "@f~ig(n)~" : "@f~(n)~");
        FillHarmonicFields();
    };
    connect(harmonics_, &QListWidget::currentRowChanged, this, [this, harmonicMode](int row) {
        if (row >= 0) harmonicNumber_->setValue(row + 2);
        harmonicMode(false);
    });
    connect(interharmonics_, &QListWidget::currentRowChanged, this, [this, harmonicMode](int row) {
        if (row >= 0) interNumber_->setValue(row + 1);
        harmonicMode(true);
    });
    connect(harmonicNumber_, &QSpinBox::valueChanged, this, [this, harmonicMode](int n) {
        if (NumberRefused(*harmonicNumber_, edit::CheckHarmonicNumber(std::to_string(n)))) return;
        const QSignalBlocker block(harmonics_);
        harmonics_->setCurrentRow(n - 2);
        harmonicMode(false);
    });
    connect(interNumber_, &QSpinBox::valueChanged, this, [this, harmonicMode](int m) {
        if (NumberRefused(*interNumber_, edit::CheckInterharmonicNumber(std::to_string(m)))) return;
        const QSignalBlocker block(interharmonics_);
        interharmonics_->setCurrentRow(m - 1);
        harmonicMode(true);
    });
    connect(harmonicPhase_, &QComboBox::currentIndexChanged, this, [this, harmonicMode] {
        ShowAllData_low_iu();
        harmonicMode(false);
    });
    connect(interPhase_, &QComboBox::currentIndexChanged, this, [this, harmonicMode] {
        ShowAllData_low_iu();
        harmonicMode(true);
    });
    connect(allKoef, &QToolButton::clicked, this, [this] { CopyToAll(false); });
    connect(allAngles, &QToolButton::clicked, this, [this] { CopyToAll(true); });
    connect(coefficient_, &TFieldEdit::EnterPressed, this, [this] { HarmonicEnter(false); });
    connect(angle_, &TFieldEdit::EnterPressed, this, [this] { HarmonicEnter(true); });
    // Leaving a field refills it from the record; a press on a copy button
    // hands the focus to the window around the page, which is not leaving.
    const auto left = [this] {
        QWidget* to = QApplication::focusWidget();
        if (!to || !to->isAncestorOf(this)) FillHarmonicFields();
    };
    connect(coefficient_, &TFieldEdit::Leaving, this, left);
    connect(angle_, &TFieldEdit::Leaving, this, left);
    connect(interOn_, &QCheckBox::clicked, this, [this](bool on) {
        form_.Signal().Switches.IncludeInterGarm = on;
        Calculate(edit::ConverterCalculation::Automatic);
    });
    return box;
}

bool TConverterPage::ShowsWaveform() const { return views_ && views_->currentIndex() == 2; }

edit::HarmEditor TConverterPage::Editor() const {
    return state_.EditsInterharmonics ? edit::HarmEditor::ConverterInter : edit::HarmEditor::ConverterHarm;
}

int TConverterPage::EditedPhase() const {
    return (state_.EditsInterharmonics ? interPhase_ : harmonicPhase_)->currentIndex();
}

int TConverterPage::EditedOrder() const {
    return (state_.EditsInterharmonics ? interNumber_ : harmonicNumber_)->value();
}

// The harmonic fields show harmonic n of the ComboBox4 phase, or
// interharmonic m of the ComboBox3 phase.
void TConverterPage::FillHarmonicFields() {
    coefficient_->setText(Q(edit::CoefText(Editor(), form_.Signal(), EditedPhase(), EditedOrder())));
    angle_->setText(Q(edit::AngleText(Editor(), form_.Signal(), EditedPhase(), EditedOrder())));
}

void TConverterPage::HarmonicEnter(bool angleField) {
    TFieldEdit* field = angleField ? angle_ : coefficient_;
    const auto enter = angleField ? edit::EnterAngle : edit::EnterCoef;
    const int order = EditedOrder();
    const edit::THarmEntry out = enter(Editor(), form_.Signal(), EditedPhase(), order, U(field->text()), nullptr);
    if (!out.Accepted) {
        MyShowMessage(*out.Message, cmn::MessageKind::Warning);
        field->setFocus();
        return;
    }
    if (angleField && !state_.EditsInterharmonics) harmonicNumber_->setValue(edit::NextOrder(Editor(), order));
    if (Calculate(edit::ConverterCalculation::Automatic, field)) (angleField ? coefficient_ : angle_)->setFocus();
}

// SpeedButton34 and SpeedButton33: the field's value into every harmonic (or
// interharmonic) of the phase after the question. Coefficients run the
// automatic calculation, angles none.
void TConverterPage::CopyToAll(bool angles) {
    const bool inter = state_.EditsInterharmonics;
    const edit::SetAllButton button =
        angles ? (inter ? edit::SetAllButton::ConverterInterAngle : edit::SetAllButton::ConverterAngle)
               : (inter ? edit::SetAllButton::ConverterInterKoef : edit::SetAllButton::ConverterKoef);
    TFieldEdit* field = angles ? angle_ : coefficient_;
    const edit::TSetAllCheck check = edit::CheckSetAll(button, U(field->text()), EditedPhase());
    if (check.Message) {
        MyShowMessage(*check.Message, cmn::MessageKind::Warning);
        field->setFocus();
        return;
    }
    if (MyShowMessage(check.Question, cmn::MessageKind::Confirmation) != mrOk) {
        if (angles) FillHarmonicFields();
        else angle_->setFocus();
        return;
    }
    edit::ApplySetAll(button, form_.Signal(), EditedPhase(), check.Value, nullptr);
    if (angles && !inter) harmonicNumber_->setValue(edit::NextOrder(Editor(), harmonicNumber_->value()));
    if (angles) ShowAllData_low_iu();
    else Calculate(edit::ConverterCalculation::Automatic);
    (angles ? static_cast<QWidget*>(coefficient_) : angle_)->setFocus();
}

void TConverterPage::ModeClicked(bool automatic) {
    state_.Automatic = automatic;
    auto_->setChecked(automatic);
    manual_->setChecked(!automatic);
    autoBox_->setVisible(automatic);
    manualBox_->setVisible(!automatic);
    const QString window = QStringLiteral("background-color: palette(base);");
    const QString silver = QStringLiteral("background-color: #c0c0c0;");
    const QString readOnly = Q(edit::kConverterReadOnly);
    for (int p = 0; p < 3; ++p) {
        outputs_[p]->setStyleSheet(automatic ? window : silver);
        inputs_[p]->setStyleSheet(automatic ? silver : window);
        outputs_[p]->SetKeyRefusal(automatic ? QString() : readOnly);
        inputs_[p]->SetKeyRefusal(automatic ? readOnly : QString());
    }
    form_.SetConverterAutomatic(automatic);
    ShowKoeffPreobr();
}

void TConverterPage::UnitChanged() {
    state_.Volts = unit_->currentIndex() == 1;
    outputCaption_->setText(state_.Volts ? QStringLiteral("Uвых., В") : QStringLiteral("Uвых., мВ"));
    rmsCaption_->setText(state_.Volts ? QStringLiteral("СКЗ. сигналов в каналах преобразователя, В")
                                      : QStringLiteral("СКЗ. сигналов в каналах преобразователя, мВ"));
    for (int p = 0; p < 3; ++p) symmetrySymbols_[p]->SetText(edit::ConverterSymmetrySymbol(p, state_.Volts));
    ShowAllData_low_iu();
}

void TConverterPage::GainBoxChanged() {
    if (fillingGains_) return;
    const auto index = sig::FindGainIndex(gains_[0]->currentText().toFloat(), gains_[1]->currentText().toFloat(),
                                          gains_[2]->currentText().toFloat());
    if (!index) return;
    state_.ManualGainIndex = *index;
    if (state_.CalibrationTablesLoaded()) Calculate(edit::ConverterCalculation::Manual);
    else ShowKoeffPreobr();
}

void TConverterPage::ShowKoeffPreobr() {
    const auto t = edit::ShowKoeffPreobrTexts(state_);
    deviceInfo_->setText(Q(t.Device));
    calcInfo_->setText(Q(t.Calculated));
    manualInfo_->setText(Q(t.Manual));
    if (!t.ManualFactors) return;
    fillingGains_ = true;
    const float factors[3]{t.ManualFactors->Kpga, t.ManualFactors->K1pga, t.ManualFactors->Kina};
    for (int k = 0; k < 3; ++k) gains_[k]->setCurrentText(Q(edit::FactorText(factors[k])));
    fillingGains_ = false;
}

void TConverterPage::ShowAllData_low_iu() {
    const auto& s = form_.Signal();
    const auto& u = s.Converter;
    const auto& c = s.Current;
    const std::string_view fmt = edit::GetCurrentFmtStrByNominal(c.Nominal);
    const int currentDecimals = fmt == "%2.5f" ? 5 : 4;
    const sig::real scale = state_.Volts ? 1000 : 1;
    const int decimals = state_.Volts ? 4 : 3;
    const sig::TPolar* sym[3]{&u.SymFaza.Pos, &u.SymFaza.Neg, &u.SymFaza.Zero};
    const sig::real symAngles[3]{c.PhiUI1, c.PhiUI2, c.PhiUI0};
    for (int p = 0; p < 3; ++p) {
        if (!outputs_[p]->hasFocus()) outputs_[p]->setText(Q(edit::ConverterValueText(state_, u.*sig::detail::kU[p])));
        if (!angles_[p]->hasFocus()) angles_[p]->setText(Degrees(c.*sig::detail::kPhiUI[p]));
        if (!inputs_[p]->hasFocus()) inputs_[p]->setText(Fixed(c.*sig::detail::kI[p], 3));
        angleDiffs_[p]->setText(Degrees(c.IAngleDiff[p]));
        symmetry_[p]->setText(Fixed(sym[p]->Magnitude / scale, 4));
        symmetryAngles_[p]->setText(Degrees(symAngles[p]));
        outputRms_[p]->setText(Fixed(u.*sig::detail::kURms[p] / scale, decimals));
        distortion_[p]->setText(Fixed(c.KI[p], 3));
        inputRms_[p]->setText(Fixed(c.*sig::detail::kIRms[p], currentDecimals));
    }
    if (!rate_->hasFocus()) rate_->setText(Fixed(s.Voltage.Freq, 3));
    if (!rateDelta_->hasFocus()) rateDelta_->setText(Fixed(s.Voltage.FreqDelta, 3));
    range_->setCurrentIndex(c.Nominal == 1 ? 0 : 1);
    SyncSwitches();
    interOn_->setChecked(s.Switches.IncludeInterGarm);
    const auto fill = [](QListWidget* list, const std::vector<std::string>& rows) {
        const int row = list->currentRow();
        const QSignalBlocker block(list);
        list->clear();
        for (const std::string& text : rows) list->addItem(Q(text));
        list->setCurrentRow(row);
    };
    fill(harmonics_, edit::EditorRows(edit::HarmEditor::ConverterHarm, s, harmonicPhase_->currentIndex()));
    const QSignalBlocker blockSpin(harmonicNumber_);
    harmonics_->setCurrentRow(harmonicNumber_->value() - 2);
    fill(interharmonics_, edit::EditorRows(edit::HarmEditor::ConverterInter, s, interPhase_->currentIndex()));
    {
        const QSignalBlocker block(interharmonics_);
        interharmonics_->setCurrentRow(-1);
    }
    FillHarmonicFields();
    if (state_.CalibrationTablesLoaded()) ShowKoeffPreobr();
}

// A number outside its range: the plain message, the focus back, the text selected.
bool TConverterPage::NumberRefused(QSpinBox& number, const std::optional<std::string>& message) {
    if (!message) return false;
    ShowPlainMessage(*message);
    number.setFocus(Qt::OtherFocusReason);
    number.selectAll();
    return true;
}

bool TConverterPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason) {
        const bool harmonic = watched == harmonicNumber_;
        if (harmonic || watched == interNumber_) {
            QSpinBox* number = harmonic ? harmonicNumber_ : interNumber_;
            const int row = (harmonic ? harmonics_ : interharmonics_)->currentRow();
            const QSignalBlocker block(number);
            if (row >= 0) number->setValue(row + (harmonic ? 2 : 1));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TConverterPage::SyncSwitches() {
    const auto& sw = form_.Signal().Switches;
    const bool on[3]{sw.IOnA, sw.IOnB, sw.IOnC};
    for (int p = 0; p < 3; ++p) switches_[p]->setChecked(on[p]);
}

bool TConverterPage::AnalizeErr(std::uint8_t code, QWidget* focus) {
    if (code == 0) return true;
    if (const auto text = edit::AnalizeErrText(code); text && !text->empty())
        MyShowMessage(*text, cmn::MessageKind::Warning);
    if (focus) focus->setFocus();
    return false;
}

bool TConverterPage::Calculate(edit::ConverterCalculation which, QWidget* focus) {
    if (which == edit::ConverterCalculation::None) return true;
    const bool automatic =
        which == edit::ConverterCalculation::ByMode ? state_.Automatic : which == edit::ConverterCalculation::Automatic;
    const std::uint8_t code = edit::CalcConverter(state_, form_.Signal(), automatic, this);
    // A calculation that ran to its end has shown the page itself.
    if (code != 0) ShowAllData_low_iu();
    return AnalizeErr(code, focus);
}

void TConverterPage::PageSelected() { Calculate(edit::ConverterCalculation::ByMode); }

// Output values are taken over in automatic mode with the automatic
// calculation, input currents in manual mode with the manual one.
void TConverterPage::TakeValue(int phase, bool output) {
    if (taking_) return;
    taking_ = true;
    TFieldEdit* field = output ? outputs_[phase] : inputs_[phase];
    const auto take = output ? edit::TakeConverterOutput : edit::TakeConverterInput;
    const auto out = take(state_, form_.Signal(), phase, U(field->text()));
    if (!out.Accepted) {
        MyShowMessage(*out.Message, cmn::MessageKind::Warning);
        field->setFocus();
    } else if (out.Calculate) {
        Calculate(output ? edit::ConverterCalculation::Automatic : edit::ConverterCalculation::Manual, field);
    }
    taking_ = false;
}

// The angles are those of the current page's fields, taken over by the same rule.
void TConverterPage::TakeAngle(int phase) {
    if (taking_) return;
    taking_ = true;
    const char* rows[3]{"e_ugol_i_a", "e_ugol_i_b", "e_ugol_i_c"};
    if (form_.TakeOverField(*edit::FieldByName(rows[phase]), *angles_[phase]))
        Calculate(edit::ConverterCalculation::ByMode, angles_[phase]);
    taking_ = false;
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
    state_.TakeDeviceData(result.State);
    if (result.Calculated) {
        state_.CalculatedGainIndex = result.State.CalculatedGainIndex;
        state_.ManualGainIndex = result.State.ManualGainIndex;
        form_.Signal().Current = result.Current;
        form_.Signal().Converter = result.Converter;
        form_.ShowAllData_i();
        // Also shows the gain written after the send: a written gain implies a calculation.
        ShowAllData_low_iu();
    }
    AnalizeErr(result.Error, nullptr);
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
                module_->setText(Q(edit::ModuleText(module)));
                ShowKoeffPreobr();
            },
            Qt::QueuedConnection);
    };
    RunOperation([dataRead](edit::TConverterSession& session) { return edit::ConnectConverter(session, dataRead); },
                 [this](bool ok) {
                     module_->setText(Q(edit::ModuleText(state_.ModuleNumber)));
                     if (!ok) {
                         ShowKoeffPreobr();
                         return;
                     }
                     Calculate(edit::ConverterCalculation::ByMode);
                     ShowAllData_low_iu();
                 });
}

}  // namespace ui
