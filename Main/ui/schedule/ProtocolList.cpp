#include "ui/schedule/ProtocolList.h"

#include <QHeaderView>
#include <algorithm>

#include "ui/common/Texts.h"

namespace ui {
namespace {

constexpr int kTime = 0, kText = 1, kMark = 2;

}  // namespace

TProtocolList::TProtocolList(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setHeaderLabels({QStringLiteral("Время"), QStringLiteral("Описание действия"), QStringLiteral("-")});
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(kTime, QHeaderView::Fixed);
    header()->setSectionResizeMode(kText, QHeaderView::Stretch);
    header()->setSectionResizeMode(kMark, QHeaderView::Fixed);
    follow_.setSingleShot(true);
    follow_.setInterval(0);
    connect(&follow_, &QTimer::timeout, this, [this] {
        if (topLevelItemCount() > 0) scrollToItem(topLevelItem(topLevelItemCount() - 1));
    });
    Clear();
}

void TProtocolList::Append(const sched::TProtocolEntry& entry) {
    auto* item = new QTreeWidgetItem(this);
    if (!entry.Separator) {
        item->setText(kTime, Q(sched::DateTimeToText(entry.Time)));
        item->setText(kText, Q(entry.Text));
        item->setText(kMark, Q(entry.Mark));
    }
    Widen(item);
}

void TProtocolList::Clear() {
    clear();
    for (int column : {kTime, kMark}) header()->resizeSection(column, header()->sectionSizeHint(column));
}

void TProtocolList::FollowLast() {
    if (!follow_.isActive()) follow_.start();
}

// The width a column sized to its contents would take for this line: what
// the item's delegate asks for, no less than the caption needs.
void TProtocolList::Widen(const QTreeWidgetItem* item) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (int column : {kTime, kMark}) {
        const QModelIndex index = indexFromItem(item, column);
        const int wanted =
            std::max(itemDelegateForIndex(index)->sizeHint(option, index).width(), header()->sectionSizeHint(column));
        if (wanted > header()->sectionSize(column)) header()->resizeSection(column, wanted);
    }
}

}  // namespace ui
