#pragma once

#include <QListWidget>
#include <cstdint>
#include <span>
#include <vector>

#include "editor/ChartRules.h"

namespace ui {

// A display list: check items drawn with their indexed text and a mark in
// the colour of the series each switches. Checking an item switches its
// series; the list reports the item's series and its new state.
class TCheckList : public QListWidget {
    Q_OBJECT
public:
    // `colours` by series number; `columns` side by side, filled column by column.
    TCheckList(const char* name, std::span<const edit::TListItem> items, std::vector<std::uint32_t> colours,
               edit::TMarkPlace mark, int columns = 1, QWidget* parent = nullptr);

    int Count() const { return count(); }
    bool Checked(int index) const;
    // Sets an item as a click would: its series follows.
    void SetChecked(int index, bool on);
    int Series(int index) const { return items_[index].Series; }
    QSize sizeHint() const override;

Q_SIGNALS:
    void Switched(int series, bool on);

private:
    void Changed(QListWidgetItem* item);

    std::vector<edit::TListItem> items_;
    int columns_;
};

}  // namespace ui
