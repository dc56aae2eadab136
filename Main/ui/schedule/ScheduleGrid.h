#pragma once

#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>

#include "editor/ScheduleWindowRules.h"

namespace ui {

// The schedule grid: one line a row, the editors the rules allow opened by a
// double click, and a row dropped onto another reported for the exchange.
class TScheduleGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TScheduleGrid(QWidget* parent = nullptr);
Q_SIGNALS:
    void RowDropped(int source, int target);

protected:
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// The cell editors of the grid. The editor a cell gets and the value it
// starts from come from the window's list; an edit ends in `commit`.
class TScheduleCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using TEditorOf = std::function<edit::TCellEditor(int column)>;
    using TCommit = std::function<void(int row, int column, const QVariant& value)>;
    TScheduleCellDelegate(const edit::TScheduleList& list, TEditorOf editorOf, TCommit commit, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    const edit::TScheduleList& list_;
    TEditorOf editorOf_;
    TCommit commit_;
};

}  // namespace ui
