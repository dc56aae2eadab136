#include "ui/signal/SignalWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>
#include <filesystem>

#include "CommonUtils/KnownFolders.h"
#include "CommonUtils/TalvoError.h"
#include "editor/ChartRules.h"
#include "editor/DipsAndFluctuations.h"
#include "editor/PageSelection.h"
#include "editor/PageTable.h"
#include "editor/SignalDefaults.h"
#include "files/TalvoIni.h"
#include "link/PortList.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"
#include "ui/charts/WaveChart.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/DeviceWork.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Reentry.h"
#include "ui/common/Texts.h"
#include "ui/signal/ConverterPage.h"
#include "ui/signal/CurrentPage.h"
#include "ui/signal/DipsPage.h"
#include "ui/signal/FluctuationsPage.h"
#include "ui/signal/HarmonicPages.h"
#include "ui/signal/IeeePage.h"
#include "ui/signal/OnePhasePage.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/ThreePhasePage.h"
#include "ui/signal/VoltagePage.h"

namespace ui {
namespace {

QWidget* GroupPage(const edit::TPageRow& row, QWidget* content = nullptr) {
    auto* page = new QWidget;
    page->setObjectName(Q(row.Page));
    auto* group = new QGroupBox(Q(row.Group));
    auto* groupLayout = new QVBoxLayout(group);
    // Grids, editor pages and charts fill the group; forms keep to their height.
    const QSizePolicy policy = content ? content->sizePolicy() : QSizePolicy();
    const bool grows = content && (policy.verticalStretch() > 0 || (policy.verticalPolicy() & QSizePolicy::ExpandFlag));
    if (content) groupLayout->addWidget(content, grows ? 1 : 0);
    if (!grows) groupLayout->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(group);
    return page;
}

// A page larger than the window scrolls instead of pushing the window, and
// with it the tab strip, off the screen.
QScrollArea* Scrolled(QWidget* page) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

sig::TFlickerLoadCode LoadFlickerFile(cmn::IProtocolLog& log) {
    const std::string path = cmn::ProgramFolder() + sig::kFlickerFileName;
    return sig::FlickerTable().Load(path, false, sig::fsGost99, log);
}

}  // namespace

TForm2::TForm2(QWidget* owner, const sig::TCorrectionRecord& correction, int modification)
    : QWidget(nullptr),
      correction_(correction),
      modification_(modification),
      log_(this),
      charts_(new TWindowCharts(
          signal_, [this](int code) { Q_EMIT StatusPosted(lnk::WMDRAWSTATUS, code); }, this)),
      fields_(new TPageFields(
          this, signal_, [this](const edit::TFieldRow& row, TFieldEdit& field) { TakeOverField(row, field); },
          [this](const edit::TFieldRow& row, TFieldEdit& field) { EscapeField(row, field); })),
      tabs_(new QTabBar),
      notebook_(new QStackedWidget),
      tabMenu_(new QMenu(this)) {
    if (!owner || !owner->inherits("ui::TfmMain")) throw cmn::TalvoError("Окно сигнала должно иметь родителем TfmMain");
    work_ = owner->findChild<TDeviceWork*>(QString(), Qt::FindDirectChildrenOnly);
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    connect(&log_, &TWindowProtocolLog::Logged, this, &TForm2::AddProtocolLine);
    BuildPages();
    BuildTabMenu();
    fluctuationsPage_->SetFlickerChoice(edit::FlickerChoiceAfterLoad(LoadFlickerFile(log_)));
    UpdateFrequencyBounds();
    signal_ = edit::DefaultSignal({Kf(), bounds_, log_});
    sig::CalcKolebParams(signal_.Voltage, signal_.Koleb, signal_.Switches.UOnA, signal_.Switches.UOnB,
                         signal_.Switches.UOnC, sig::FlickerTable().Snapshot());
    ShowAllData();
    charts_->ShowAll();

    tabs_->setObjectName(QStringLiteral("Tabs"));
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabs_, &QTabBar::currentChanged, this, &TForm2::TabsChange);
    connect(tabs_, &QTabBar::customContextMenuRequested, this,
            [this](const QPoint& at) { tabMenu_->popup(tabs_->mapToGlobal(at)); });
    notebook_->setObjectName(QStringLiteral("Notebook1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(notebook_, 1);
    layout->addWidget(tabs_);
    resize(800, 560);
}

void TForm2::BuildPages() {
    for (const edit::TPageRow& row : edit::PageRows())
        notebook_->addWidget(Scrolled(GroupPage(row, BuildPage(row.Id))));
}

QWidget* TForm2::BuildPage(edit::TPageId page) {
    using P = edit::TPageId;
    switch (page) {
        case P::Voltage: return voltagePage_ = new TVoltagePage(*this, *fields_);
        case P::Current: return currentPage_ = new TCurrentPage(*this, *fields_);
        case P::OnePhase: return onePhasePage_ = new TOnePhasePage(*this, *fields_);
        case P::ThreePhase: return threePhasePage_ = new TThreePhasePage(*this, *fields_);
        case P::Harmonics: return garmonics_ = new THarmonicGrid(*this);
        case P::Interharmonics: return intergarm_ = new TIntergarmPage(*this);
        case P::Angles: return angles_ = new TAngleGrid(*this);
        case P::Charts: return &charts_->WavePage();
        case P::Dips: return dipsPage_ = new TDipsPage(*this, *fields_);
        case P::Fluctuations: return fluctuationsPage_ = new TFluctuationsPage(*this, *fields_);
        case P::Ieee1459: return new TIeeePage(*fields_);
        case P::Converter: return BuildConverterPage();
        case P::Protocol: return BuildProtocolPage();
    }
    return nullptr;
}

QWidget* TForm2::BuildProtocolPage() {
    auto* box = new QWidget;
    protocolList_ = new QListWidget;
    NameControl(protocolList_, "ListBox5", QStringLiteral("Сообщения протокола:"));
    total_ = new QLabel;
    successful_ = new QLabel;
    errors_ = new QLabel;
    NameControl(total_, "Label82");
    NameControl(successful_, "Label84");
    NameControl(errors_, "Label87");
    auto* clear = new QPushButton(QStringLiteral("Очистить"));
    auto* save = new QPushButton(QStringLiteral("Сохранить"));
    NameControl(clear, "btnClearProt", clear->text());
    NameControl(save, "btnSaveProt", save->text());
    connect(clear, &QPushButton::clicked, this, &TForm2::ClearProtocol);
    connect(save, &QPushButton::clicked, this, &TForm2::SaveProtocol);
    descript_ = new QPlainTextEdit;
    NameControl(descript_, "MemoDescript", QStringLiteral("Описание сигнала:"));

    auto* counters = new QHBoxLayout;
    for (QLabel* label : {total_, successful_, errors_}) counters->addWidget(label);
    counters->addStretch();
    counters->addWidget(clear);
    counters->addWidget(save);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Сообщения протокола:")));
    layout->addWidget(protocolList_, 3);
    layout->addLayout(counters);
    layout->addWidget(new QLabel(QStringLiteral("Описание сигнала:")));
    layout->addWidget(descript_, 1);
    RedrawAll();
    return box;
}

QWidget* TForm2::BuildConverterPage() {
    converterPage_ = new TConverterPage(*this);
    converterPort_ = converterPage_->PortBox();
    return converterPage_;
}

void TForm2::SetConverterAutomatic(bool automatic) {
    converterAuto_ = automatic;
    LockConverterFields();
}

void TForm2::BuildTabMenu() {
    tabMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    for (const edit::TPageRow& row : edit::PageRows()) {
        if (row.Tag == 0) continue;
        QAction* item = tabMenu_->addAction(Q(edit::HideItemCaption(row)));
        item->setObjectName(Q(row.HideItem));
        item->setCheckable(true);
        item->setChecked(true);
        const int tag = row.Tag;
        connect(item, &QAction::triggered, this, [this, tag] { TabMenuClick(tag); });
    }
}

files::TSignalFileExtras TForm2::Extras() const {
    files::TSignalFileExtras extras = extras_;
    extras.Display = edit::FileDisplayState(charts_->State());
    extras.Description = U(descript_->toPlainText());
    return extras;
}

bool TForm2::LoadSignal(files::SignalFileKind kind, const std::string& path) {
    sig::TSignalSet loaded = signal_;
    files::TSignalFileExtras extras = Extras();
    const files::TSignalLoadTarget target{loaded, extras, log_, sig::FlickerTable().Snapshot(), Kf()};
    if (!files::LoadSignalFile(kind, files::IniFile(path), true, target)) return false;
    signal_ = std::move(loaded);
    extras_ = extras;
    descript_->setPlainText(Q(extras.Description));
    Recalculate();
    ShowAllData();
    charts_->ShowAll();
    // The grids and the interharmonics page show the loaded stores too.
    ShowPage(ShownPage());
    if (kind == files::sfAll) ShowChart1(extras_.Display);
    // A converter file sets the converter channels: the currents follow from them.
    if (kind == files::sfConverter) converterPage_->Calculate(edit::ConverterCalculation::Automatic);
    return true;
}

void TForm2::SaveSignal(files::SignalFileKind kind, const std::string& path) const {
    files::SaveSignalFile(path, kind, signal_, Extras());
}

void TForm2::FillTabs(int index, bool withConverter) {
    hasConverterPage_ = withConverter;
    LockConverterFields();
    SetTabs(edit::FullTabList(withConverter), index);
    TabsChange(tabs_->currentIndex());
}

// The converter page starts in its automatic mode, which sets the currents.
void TForm2::LockConverterFields() {
    const QString refusal = hasConverterPage_ && converterAuto_ ? Q(edit::kConverterAutoReadOnly) : QString();
    for (const edit::TFieldRow& row : edit::FieldRows())
        if (edit::LockedByConverterAuto(row))
            static_cast<TFieldEdit*>(fields_->Control(row.Name))->SetKeyRefusal(refusal);
}

void TForm2::SetTabs(const std::vector<std::string>& tabs, int current) {
    {
        const TReentryGuard showing(showingTabs_);
        while (tabs_->count() > 0) tabs_->removeTab(0);
        for (const std::string& caption : tabs) tabs_->addTab(Q(caption));
        if (current >= 0 && current < tabs_->count()) tabs_->setCurrentIndex(current);
        // A hidden tab bar does not tell its layout that its height changed.
        tabs_->updateGeometry();
    }
    Q_EMIT TabsChanged();
}

int TForm2::FindTab(std::string_view caption) const { return edit::FindTab(TabList(), caption); }

std::vector<std::string> TForm2::TabList() const {
    std::vector<std::string> tabs;
    for (int i = 0; i < tabs_->count(); ++i) tabs.push_back(U(tabs_->tabText(i)));
    return tabs;
}

void TForm2::SelectTab(int index) {
    if (index == tabs_->currentIndex()) TabsChange(index);
    else tabs_->setCurrentIndex(index);
}

void TForm2::TabsChange(int index) {
    if (showingTabs_ || index < 0) return;
    const std::string caption = U(tabs_->tabText(index));
    const sig::TKolebParamsHelpTable flicker = sig::FlickerTable().Snapshot();
    const edit::TPageRow* row = nullptr;
    try {
        row = edit::SelectPage(
            caption, {signal_, Kf(), threePhasePage_->FullPowersShown(), flicker, this, onePhasePage_->Phase()});
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return;
    }
    if (!row) return;
    QWidget* page = notebook_->findChild<QWidget*>(Q(row->Page));
    notebook_->setCurrentWidget(PageArea(row->Page));
    ShowPage(row->Id);
    if (row->Id == edit::TPageId::Converter) converterPage_->PageSelected();
    const std::string_view focus = edit::FocusOnShow(row->Page);
    if (!focus.empty())
        if (auto* target = page->findChild<QWidget*>(Q(focus))) target->setFocus();
}

void TForm2::TabMenuClick(int tag) {
    const edit::TPageRow* row = edit::PageByTag(tag);
    QAction* item = tabMenu_->findChild<QAction*>(Q(row->HideItem));
    // The item toggled itself when clicked; the rule decides from the mark it had.
    const bool wasChecked = !item->isChecked();
    const edit::TTabToggle out = edit::ToggleTab(TabList(), tabs_->currentIndex(), tag, wasChecked);
    item->setChecked(out.ItemChecked);
    if (out.Refusal) {
        ShowPlainMessage(*out.Refusal);
        return;
    }
    SetTabs(out.Tabs, out.Current);
    if (out.RunSelection) TabsChange(tabs_->currentIndex());
}

// The frequency field's text is taken over again as if the user had left
// it, so the new correction realises the frequency it shows.
void TForm2::ApplyCalibrationCoefs(const sig::TCorrectionRecord& correction) {
    correction_ = correction;
    UpdateFrequencyBounds();
    auto* frequency = static_cast<TFieldEdit*>(fields_->Control("e_rate_u"));
    TakeOverField(*edit::FieldByName("e_rate_u"), *frequency);
    ShowAllData();
}

void TForm2::Recalculate() { sig::Recalculate(signal_, sig::FlickerTable().Snapshot(), {Kf()}); }

void TForm2::UpdateFrequencyBounds() { bounds_ = sig::DeriveFrequencyBounds(Kf()); }

void TForm2::AddProtocolLine(int type, const QString& text) {
    protocolList_->addItem(Q(protocol_.Add(static_cast<cmn::LogType>(type), U(text))));
    protocolList_->scrollToBottom();
    RedrawAll();
}

void TForm2::RedrawAll() {
    total_->setText(Q(protocol_.TotalText()));
    successful_->setText(Q(protocol_.SuccessfulText()));
    errors_->setText(Q(protocol_.ErrorsText()));
}

void TForm2::ClearProtocol() {
    protocol_.Clear();
    protocolList_->clear();
    RedrawAll();
}

void TForm2::SaveProtocol() {
    if (protocol_.Lines().empty()) return;
    const auto path = ChooseFile(this, SaveFileChoice("Сохранить протокол работы", {}, "Протокол(*txt)|*txt"));
    if (!path) return;
    try {
        protocol_.Save(*path);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
}

sig::real TForm2::Kf() const { return sig::FrequencyCorrection(correction_); }

// The size that shows the largest page without scrolling; the frame cuts it
// to what the screen leaves, and the pages scroll.
QSize TForm2::sizeHint() const {
    QSize pages;
    for (int i = 0; i < notebook_->count(); ++i)
        pages = pages.expandedTo(static_cast<QScrollArea*>(notebook_->widget(i))->widget()->sizeHint());
    const QMargins m = layout()->contentsMargins();
    return pages + QSize(m.left() + m.right(), m.top() + m.bottom() + tabs_->sizeHint().height());
}

std::string TForm2::ShownPage() const {
    return U(static_cast<QScrollArea*>(notebook_->currentWidget())->widget()->objectName());
}

QScrollArea* TForm2::PageArea(std::string_view page) const {
    for (int i = 0; i < notebook_->count(); ++i) {
        auto* area = static_cast<QScrollArea*>(notebook_->widget(i));
        if (U(area->widget()->objectName()) == page) return area;
    }
    return nullptr;
}

void TForm2::ShowPage(std::string_view page) {
    if (const edit::TPageRow* row = edit::PageByName(page)) ShowPage(row->Id);
}

void TForm2::ShowPage(edit::TPageId page) {
    using P = edit::TPageId;
    switch (page) {
        case P::Voltage: ShowAllData_u(); break;
        case P::Current: ShowAllData_i(); break;
        case P::OnePhase: ShowAllData_Power(); break;
        case P::ThreePhase: ShowAllData_Power_3(); break;
        case P::Harmonics: garmonics_->Select(); break;
        case P::Interharmonics: ShowAllData_InterGarm(); break;
        case P::Angles: angles_->Fill(); break;
        case P::Charts: charts_->Show_Chart_U_I(); break;
        case P::Dips: ShowAllData_Collapse(); break;
        case P::Fluctuations: ShowAllData_Koleb(); break;
        case P::Ieee1459: ShowAllData_Power_1459(); break;
        case P::Converter:
        case P::Protocol: break;
    }
}

void TForm2::ShowAllData() {
    ShowAllData_u();
    ShowAllData_i();
    ShowAllData_Power();
    ShowAllData_Power_3();
    ShowAllData_Power_1459();
    ShowAllData_Collapse();
    ShowAllData_Koleb();
    if (converterPage_) converterPage_->ShowAllData_low_iu();
}

void TForm2::ShowChart1(const files::TSignalDisplayState& display) {
    charts_->ShowChart1(edit::ChartStateFromFile(display));
    if (tabs_->count() > 0) SelectTab(0);
}

void TForm2::ShowAllData_u() {
    fields_->Show("page_u", signal_);
    voltagePage_->Show(signal_);
}

void TForm2::ShowAllData_i() {
    fields_->Show("page_i", signal_);
    currentPage_->Show(signal_);
}

void TForm2::ShowAllData_Power() {
    fields_->Show("page_u_i", signal_, onePhasePage_->Phase());
    onePhasePage_->Show(signal_);
}

void TForm2::ShowAllData_Power_3() {
    fields_->Show("page_u_i_3", signal_);
    threePhasePage_->Show(signal_);
}

void TForm2::ShowAllData_Power_1459() { fields_->Show("page_IEEE_1459", signal_); }

// A binding or reference kind without a list row (from a file) is reported;
// the fields still show the records.
void TForm2::ShowAllData_Collapse() {
    fields_->Show("page_in_out", signal_);
    try {
        dipsPage_->Show(signal_);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
}

void TForm2::ShowAllData_Koleb() { fields_->Show("page_vibr", signal_); }

void TForm2::ShowAllData_InterGarm() { intergarm_->Show(); }

void TForm2::ShowVoltageValues(const sig::TSignalParamsU& v) {
    charts_->ShowVoltageDiagram(v);
    ShowAllData_u();
    charts_->Show_Chart_u();
    charts_->Show_Little_Chart_U();
}

void TForm2::ShowCurrentValues(const sig::TSignalParamsI&) {
    ShowAllData_i();
    charts_->Show_Chart_i();
    charts_->Show_Little_Chart_I();
}

void TForm2::ShowCurrentPhasors(const std::array<sig::TPolar, 3>& currents) { charts_->ShowCurrentDiagram(currents); }

void TForm2::DrawVectorDiagram(const sig::TSignalParamsU& v, const sig::TSignalParamsI& c) {
    charts_->ShowPowerDiagram(v, c);
}

// A refused entry keeps its text and takes the focus back; the message box
// and the return of the focus must not take the entry over a second time.
bool TForm2::TakeOverField(const edit::TFieldRow& row, TFieldEdit& field) {
    const TReentryGuard pass(takingOver_);
    if (!pass) return false;
    const std::string page = ShownPage();
    edit::TEntryOutcome out;
    const sig::TKolebParamsHelpTable flicker = sig::FlickerTable().Snapshot();
    try {
        out = edit::TakeOver(row, U(field.text()),
                             {signal_, Kf(), bounds_, log_, this, page, &flicker, threePhasePage_->FullPowersShown(),
                              onePhasePage_->Phase()});
    } catch (const cmn::TalvoError& e) {
        out.Message = e.what();
    }
    if (!out.Accepted) {
        if (out.Message) MyShowMessage(*out.Message, cmn::MessageKind::Warning);
        field.setFocus(Qt::OtherFocusReason);
    } else if (!out.Redisplay.empty()) {
        ShowPage(out.Redisplay);
    }
    return out.Accepted;
}

void TForm2::EscapeField(const edit::TFieldRow& row, TFieldEdit& field) {
    ShowPage(row.Page);
    field.selectAll();
}

std::string TForm2::ConverterPort() const { return U(converterPort_->currentText()); }

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (auto* nominal = findChild<QWidget*>(QStringLiteral("cb_naminal_u"))) nominal->setFocus();
}

void TForm2::closeEvent(QCloseEvent* event) {
    if (work_->Holds(this)) {
        event->ignore();
        return;
    }
    try {
        files::TTalvoIni ini;
        ini.WriteConverterComPort(ConverterPort());
        ini.Save();
    } catch (const cmn::TalvoError&) {
        // The port is only a convenience for the next start; closing goes on.
    }
    Q_EMIT Closing(this);
    event->accept();
}

}  // namespace ui
