#include "ui/signal/HarmonicPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/HarmonicGrid.h"
#include "ui/charts/BarChartPanel.h"
#include "ui/charts/VectorChart.h"
#include "ui/charts/WaveChart.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/IndexTextPainter.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"
#include "ui/signal/HarmonicEditor.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

using Setup = THarmonicEditor::TSetup;
using edit::HarmEditor;
using edit::SetAllButton;

// clang-format off
const Setup kVoltage{HarmEditor::Voltage, false, "ComboBox1", "SpinEdit1", "Edit15", "Edit16", "ListBox1",
                    "sb_write_all_garm_u", "sb_write_all_ugol_u", SetAllButton::GarmU, SetAllButton::UgolU};
const Setup kLine{HarmEditor::Voltage, true, "ComboBox2", "SpinEdit4", nullptr, nullptr, "ListBox2"};
const Setup kCurrent{HarmEditor::Current, false, "ComboBox5", "SpinEdit2", "Edit32", "Edit33", "ListBox4",
                    "sb_write_all_garm_i", "sb_write_all_ugol_i", SetAllButton::GarmI, SetAllButton::UgolI};
const Setup kInterVoltage{HarmEditor::InterVoltage, false, "ComboIntergarmPhaseUf", "spedtIntergarmUf",
                         "EditIntergarmKuf", "EditIntergarmFiUf", "ListBoxIntergarmUf", "SpBtnIntergarmCopyKuf",
                         "SpBtnIntergarmCopyFiuf", SetAllButton::InterKuf, SetAllButton::InterFiUf};
const Setup kInterLine{HarmEditor::InterVoltage, true, "ComboIntergarmPhaseUmf", "spedtIntergarmUmf", nullptr, nullptr,
                      "ListBoxIntergarmUmf"};
const Setup kInterCurrent{HarmEditor::InterCurrent, false, "ComboIntergarmPhaseI", "spedtIntergarmI", "EditIntergarmKi",
                         "EditIntergarmFiUI", "ListBoxIntergarmI", "SpBtnIntergarmCopyKi", "SpBtnIntergarmCopyFiUI",
                         SetAllButton::InterKi, SetAllButton::InterFiUI};
// clang-format on

QGroupBox* Titled(const QString& title, QWidget* content) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(content);
    return box;
}

// The header of a grid: bold size 11 indexed text, 2 pixels above the middle.
class TIndexHeaderView : public QHeaderView {
public:
    TIndexHeaderView(std::string_view (*text)(int), QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent), text_(text) {
        QFont bold = font();
        bold.setBold(true);
        bold.setPointSize(11);
        setFont(bold);
        setSectionsClickable(false);
        setDefaultAlignment(Qt::AlignCenter);
    }
    QSize sizeHint() const override {
        QSize size = QHeaderView::sizeHint();
        size.setHeight(MeasureIndexText(font(), "K~Uав(n)~, %").height() + 10);
        return size;
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        painter->save();
        painter->setBrush(palette().button());
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->setFont(font());
        DrawIndexText(*painter, rect.adjusted(1, -1, -1, -3), text_(logicalIndex), true);
        painter->restore();
    }

private:
    std::string_view (*text_)(int);
};

// The in-place editor of the harmonic grid: the cell without its degree
// sign; the grid decides what leaving it does.
class TGridDelegate : public QStyledItemDelegate {
public:
    explicit TGridDelegate(THarmonicGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QLineEdit*>(editor)->setText(Q(edit::GridEditingText(U(index.data().toString()))));
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        grid_.Commit(index.row(), index.column(), static_cast<QLineEdit*>(editor)->text());
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
                Q_EMIT commitData(editor);
                Q_EMIT closeEditor(editor, NoHint);
                grid_.MoveNext();
                return true;
            }
            if (key == Qt::Key_Escape) {
                Q_EMIT closeEditor(editor, RevertModelCache);
                grid_.Revert();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    THarmonicGrid& grid_;
};

}  // namespace

// ---------------------------------------------------------------- harmonic views of page_u and page_i

THarmonicViews* AddHarmonicColumn(QBoxLayout& page, TForm2& form, bool current) {
    TWindowCharts& charts = form.Charts();
    auto* views = current ? new THarmonicViews(form, true, charts.CurrentVectors(), charts.CurrentWaves())
                          : new THarmonicViews(form, false, charts.VoltageVectors(), charts.VoltageWaves());
    auto* column = new QVBoxLayout;
    column->addWidget(views, 1);
    column->addWidget(&charts.Bars(current ? edit::BarChart::Current : edit::BarChart::Voltage), 1);
    page.addLayout(column, 1);
    return views;
}

THarmonicViews::THarmonicViews(TForm2& form, bool current, QWidget& vectors, QWidget& waves, QWidget* parent)
    : QWidget(parent) {
    auto* editors = new QWidget;
    auto* row = new QHBoxLayout(editors);
    row->setContentsMargins(0, 0, 0, 0);
    if (current) {
        editors_.push_back(new THarmonicEditor(form, kCurrent));
        row->addWidget(Titled(QStringLiteral("Гармоники тока"), editors_[0]));
        connect(editors_[0], &THarmonicEditor::Stored, this, [&form] { form.ShowAllData_i(); });
    } else {
        editors_.push_back(new THarmonicEditor(form, kVoltage));
        editors_.push_back(new THarmonicEditor(form, kLine));
        row->addWidget(Titled(QStringLiteral("Фазные напряжения"), editors_[0]));
        row->addWidget(Titled(QStringLiteral("Междуфазные напряжения"), editors_[1]));
        connect(editors_[0], &THarmonicEditor::Stored, this, [&form] { form.ShowAllData_u(); });
    }
    const char* suffix = current ? "_i" : "";
    auto* notebook = new QStackedWidget;
    notebook->setObjectName(current ? QStringLiteral("Notebook3") : QStringLiteral("Notebook2"));
    const QStringList views{QStringLiteral("page_garm"), QStringLiteral("page_graf"), QStringLiteral("page_sin")};
    const QStringList captions{QStringLiteral("Гармоники"), QStringLiteral("Векторная диаграмма"),
                               QStringLiteral("Форма сигнала")};
    auto* buttons = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < views.size(); ++i) {
        QWidget* view = i == 0 ? editors : Wrapped(i == 1 ? vectors : waves);
        view->setObjectName(views[i] + QString::fromLatin1(suffix));
        notebook->addWidget(view);
        auto* button = new QToolButton;
        button->setText(captions[i]);
        button->setCheckable(true);
        button->setChecked(i == 0);
        NameControl(button, (std::string("sb_view_") + U(views[i]).substr(5) + (current ? "_i" : "_u")).c_str(),
                    captions[i]);
        group->addButton(button, i);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    connect(group, &QButtonGroup::idClicked, notebook, &QStackedWidget::setCurrentIndex);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(notebook, 1);
}

void THarmonicViews::Show() {
    for (THarmonicEditor* editor : editors_) editor->Show();
}

// ---------------------------------------------------------------- grids

TIndexGrid::TIndexGrid(const char* name, int columns, std::string_view (*header)(int), QWidget* parent)
    : QTableWidget(edit::kGridRows - 1, columns, parent) {
    NameControl(this, name);
    setHorizontalHeader(new TIndexHeaderView(header, this));
    QFont cells = font();
    cells.setPointSize(12);
    setFont(cells);
    const QFontMetrics metrics(cells);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    horizontalHeader()->setDefaultSectionSize(metrics.horizontalAdvance(QStringLiteral("-170.000°")) + 12);
    setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("50")) + 12);
    setSelectionMode(QAbstractItemView::SingleSelection);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columns; ++c) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == 0) cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, cell);
        }
    QSizePolicy policy = sizePolicy();
    policy.setVerticalStretch(1);
    setSizePolicy(policy);
}

THarmonicGrid::THarmonicGrid(TForm2& form, QWidget* parent)
    : TIndexGrid("StringGrid1", edit::kGridColumns, edit::GridHeader, parent), form_(form) {
    setItemDelegate(new TGridDelegate(*this));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(false);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (QTableWidgetItem* cell = item(row, column)) remembered_ = cell->text();
    });
    Fill();
}

void THarmonicGrid::Fill() {
    const sig::TSignalSet& s = form_.Signal();
    const QSignalBlocker block(this);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) item(r, c)->setText(Q(edit::GridCellText(s, r + 1, c)));
}

void THarmonicGrid::Select() {
    Fill();
    if (const auto message = edit::CheckFirstCell(U(item(0, 1)->text()))) {
        MyShowMessage(*message, cmn::MessageKind::Warning);
        return;
    }
    setCurrentCell(0, 1);
    remembered_ = item(0, 1)->text();
}

void THarmonicGrid::Commit(int row, int column, const QString& text) {
    const edit::TGridLeave out = edit::LeaveGridCell(form_.Signal(), row + 1, column, U(text), U(remembered_));
    QTableWidgetItem* cell = item(row, column);
    if (out.CellText) cell->setText(Q(*out.CellText));
    else if (out.Message) cell->setText(text);  // kept to be corrected
    if (out.CellText && !out.Message) remembered_ = cell->text();
    stay_ = out.CursorStays;
    if (!out.Message) return;
    const std::string message = *out.Message;
    const QString remembered = remembered_;
    const bool stay = out.CursorStays;
    // The message and the return of the cursor come after the editor has closed.
    QTimer::singleShot(0, this, [this, message, remembered, stay, row, column] {
        MyShowMessage(message, cmn::MessageKind::Warning);
        if (!stay) return;
        setCurrentCell(row, column);
        remembered_ = remembered;
        setFocus();
    });
}

void THarmonicGrid::Revert() {
    if (QTableWidgetItem* cell = currentItem()) cell->setText(remembered_);
}

void THarmonicGrid::MoveNext() {
    if (stay_) {
        stay_ = false;
        return;
    }
    const edit::TGridCell next = edit::GridNextCell(currentRow() + 1, currentColumn());
    setCurrentCell(next.Row - 1, next.Column);
}

void THarmonicGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab: MoveNext(); return;
        case Qt::Key_Escape: Revert(); return;
        default: QTableWidget::keyPressEvent(event);
    }
}

TAngleGrid::TAngleGrid(TForm2& form, QWidget* parent)
    : TIndexGrid("StringGrid2", edit::kAngleGridColumns, edit::AngleGridHeader, parent), form_(form) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TAngleGrid::Fill() {
    const sig::TSignalSet& s = form_.Signal();
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) item(r, c)->setText(Q(edit::AngleGridText(s, r + 1, c)));
}

// ---------------------------------------------------------------- interharmonics page

TIntergarmPage::TIntergarmPage(TForm2& form, QWidget* parent)
    : QWidget(parent),
      form_(form),
      voltage_(new THarmonicEditor(form, kInterVoltage)),
      line_(new THarmonicEditor(form, kInterLine)),
      current_(new THarmonicEditor(form, kInterCurrent)),
      include_(new QCheckBox(QStringLiteral("Включить интергармоники в сигнал"))) {
    NameControl(include_, "ChBoxHasIntergarms", include_->text());
    connect(include_, &QCheckBox::clicked, this, [this](bool on) { form_.Signal().Switches.IncludeInterGarm = on; });
    // The line voltages follow the phases they are computed from.
    connect(voltage_, &THarmonicEditor::Stored, line_, &THarmonicEditor::Show);
    auto* warning =
        new QLabel(QStringLiteral("Внимание!!! Использование интергармонических составляющих приводит к ухудшению "
                                  "метрологических характеристик формируемого сигнала"));
    warning->setObjectName(QStringLiteral("LabelIntergarmWarning"));
    warning->setWordWrap(true);
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    warning->setPalette(red);
    auto* editors = new QHBoxLayout;
    editors->addWidget(Titled(QStringLiteral("Фазные напряжения"), voltage_));
    editors->addWidget(Titled(QStringLiteral("Междуфазные напряжения"), line_));
    editors->addWidget(Titled(QStringLiteral("Фазные токи"), current_));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(include_);
    layout->addWidget(warning);
    layout->addLayout(editors, 1);
    QSizePolicy policy = sizePolicy();
    policy.setVerticalStretch(1);
    setSizePolicy(policy);
}

void TIntergarmPage::Show() {
    include_->setChecked(form_.Signal().Switches.IncludeInterGarm);
    for (THarmonicEditor* editor : {voltage_, line_, current_}) editor->Show();
}

}  // namespace ui
