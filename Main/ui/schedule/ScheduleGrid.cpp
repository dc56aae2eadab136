#include "ui/schedule/ScheduleGrid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QSpinBox>
#include <QTimeEdit>

#include "ui/common/Texts.h"

namespace ui {
namespace {

// The format the grid's own drags carry.
const QString kRowsFormat = QStringLiteral("application/x-qabstractitemmodeldatalist");

bool IsEnd(int column) { return column >= static_cast<int>(edit::TScheduleColumn::EndDate); }

}  // namespace

TScheduleGrid::TScheduleGrid(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(edit::kScheduleColumnCount);
    QStringList titles;
    for (std::string_view title : edit::kScheduleColumnTitles) titles << Q(title);
    setHorizontalHeaderLabels(titles);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(22);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked);
    // Copying drags leave the rows in place; the drop exchanges them instead.
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(true);
    setIconSize(QSize(16, 16));
}

void TScheduleGrid::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasFormat(kRowsFormat)) event->acceptProposedAction();
    else event->ignore();
}

void TScheduleGrid::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(kRowsFormat)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const int target = rowAt(event->position().toPoint().y());
    const int source = currentRow();
    if (source >= 0 && target >= 0 && source != target) Q_EMIT RowDropped(source, target);
}

TScheduleCellDelegate::TScheduleCellDelegate(const edit::TScheduleList& list, TEditorOf editorOf, TCommit commit,
                                             QObject* parent)
    : QStyledItemDelegate(parent), list_(list), editorOf_(std::move(editorOf)), commit_(std::move(commit)) {}

QWidget* TScheduleCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                             const QModelIndex& index) const {
    switch (editorOf_(index.column())) {
        case edit::TCellEditor::TypeList: {
            auto* types = new QComboBox(parent);
            for (int t = 0; t < sched::kCommandTypeCount; ++t)
                types->addItem(Q(sched::CommandTypeName(static_cast<sched::TCommandType>(t))));
            types->setObjectName(QStringLiteral("cbType"));
            return types;
        }
        case edit::TCellEditor::Duration: {
            auto* seconds = new QSpinBox(parent);
            seconds->setRange(0, edit::kMaxDuration);
            seconds->setObjectName(QStringLiteral("seDuration"));
            return seconds;
        }
        case edit::TCellEditor::Date: {
            auto* date = new QDateEdit(parent);
            date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
            date->setCalendarPopup(true);
            date->setObjectName(QStringLiteral("dtpDate"));
            return date;
        }
        case edit::TCellEditor::Time: {
            auto* time = new QTimeEdit(parent);
            time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
            time->setObjectName(QStringLiteral("dtpTime"));
            return time;
        }
        case edit::TCellEditor::None: break;
    }
    return nullptr;
}

void TScheduleCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (index.row() >= static_cast<int>(list_.Rows().size())) return;
    const sched::TSignalDataForGrid& row = list_.Rows()[static_cast<std::size_t>(index.row())];
    const sched::TCivilTime t = sched::DecodeDateTime(IsEnd(index.column()) ? row.End : row.Start);
    if (auto* types = qobject_cast<QComboBox*>(editor)) types->setCurrentIndex(static_cast<int>(row.Type));
    else if (auto* seconds = qobject_cast<QSpinBox*>(editor)) seconds->setValue(row.Duration);
    else if (auto* date = qobject_cast<QDateEdit*>(editor)) date->setDate(QDate(t.Year, t.Month, t.Day));
    else if (auto* time = qobject_cast<QTimeEdit*>(editor)) time->setTime(QTime(t.Hour, t.Minute, t.Second));
}

void TScheduleCellDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    QVariant value;
    if (auto* types = qobject_cast<QComboBox*>(editor)) value = types->currentIndex();
    else if (auto* seconds = qobject_cast<QSpinBox*>(editor)) {
        seconds->interpretText();
        value = seconds->value();
    } else if (auto* date = qobject_cast<QDateEdit*>(editor)) value = date->date();
    else if (auto* time = qobject_cast<QTimeEdit*>(editor)) value = time->time();
    if (value.isValid()) commit_(index.row(), index.column(), value);
}

}  // namespace ui
