#include "ui/charts/CheckList.h"

#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>

#include "ui/charts/ChartStyle.h"
#include "ui/common/IndexTextPainter.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

constexpr int kItemHeight = 20;

// The check box, the indexed text (not centred) and the colour mark.
class TCheckItemDelegate : public QStyledItemDelegate {
public:
    TCheckItemDelegate(const std::vector<edit::TListItem>& items, std::vector<std::uint32_t> colours,
                       edit::TMarkPlace mark, QObject* parent)
        : QStyledItemDelegate(parent), items_(items), colours_(std::move(colours)), mark_(mark) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect r = option.rect;
        QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        painter->fillRect(r, option.palette.base());
        QStyleOptionButton box;
        box.rect = QRect(r.left() + 2, r.top() + (r.height() - 13) / 2, 13, 13);
        box.state = QStyle::State_Enabled |
                    (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, option.widget);

        const edit::TListItem& item = items_[index.row()];
        const QRect mark(QPoint(r.right() - mark_.FromRight + 6, r.top() + mark_.Inset),
                         QPoint(r.right() - mark_.Inset, r.bottom() - mark_.Inset));
        const QRect text(QPoint(r.left() + 17, r.top()), QPoint(mark.left() - 2, r.bottom()));
        painter->save();
        painter->setBrush(option.palette.base());
        painter->setPen(option.palette.text().color());
        DrawIndexText(*painter, text, item.Text, false);
        painter->restore();
        painter->fillRect(mark, ChartColour(colours_[item.Series]));
        painter->setPen(Qt::black);
        painter->drawRect(mark);
        if (option.state & QStyle::State_HasFocus) painter->drawLine(r.bottomLeft(), r.bottomRight());
    }

    // The list toggles an item on any click; the check box must not toggle it a second time.
    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&) override {
        return false;
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize text = MeasureIndexText(option.font, items_[index.row()].Text);
        return {17 + text.width() + mark_.FromRight, kItemHeight};
    }

private:
    const std::vector<edit::TListItem>& items_;
    std::vector<std::uint32_t> colours_;
    edit::TMarkPlace mark_;
};

}  // namespace

TCheckList::TCheckList(const char* name, std::span<const edit::TListItem> items, std::vector<std::uint32_t> colours,
                       edit::TMarkPlace mark, int columns, QWidget* parent)
    : QListWidget(parent), items_(items.begin(), items.end()), columns_(columns) {
    NameControl(this, name);
    setItemDelegate(new TCheckItemDelegate(items_, std::move(colours), mark, this));
    for (const edit::TListItem& entry : items_) {
        auto* item = new QListWidgetItem(Q(entry.Text).remove(QLatin1Char('~')).trimmed(), this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (columns_ > 1) {
        setFlow(QListView::TopToBottom);
        setWrapping(true);
        setResizeMode(QListView::Adjust);
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
    connect(this, &QListWidget::itemChanged, this, &TCheckList::Changed);
    // A click anywhere on the item toggles it, as on the check box.
    connect(this, &QListWidget::itemClicked, this, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
}

bool TCheckList::Checked(int index) const { return item(index)->checkState() == Qt::Checked; }

void TCheckList::SetChecked(int index, bool on) {
    QListWidgetItem* entry = item(index);
    if (Checked(index) == on) Q_EMIT Switched(items_[index].Series, on);
    else entry->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void TCheckList::Changed(QListWidgetItem* entry) {
    const int index = row(entry);
    Q_EMIT Switched(items_[index].Series, entry->checkState() == Qt::Checked);
}

QSize TCheckList::sizeHint() const {
    const int rows = (count() + columns_ - 1) / columns_;
    const int width = sizeHintForColumn(0);
    return {width * columns_ + 2 * frameWidth() + 4, rows * kItemHeight + 2 * frameWidth() + 2};
}

}  // namespace ui
