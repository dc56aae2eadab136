#pragma once

#include <QTimer>
#include <QTreeWidget>

#include "schedule/ScheduleProtocol.h"

namespace ui {

// The list of the protocol page: the time, the text and the mark of each
// line. A run only ever appends lines, so the time and mark columns widen to
// the line just added instead of measuring the whole list again for every
// line, and the lines that arrive together are laid out and followed once:
// during a run of short rows both would otherwise hold up the window for
// every line.
class TProtocolList : public QTreeWidget {
    Q_OBJECT
public:
    explicit TProtocolList(QWidget* parent = nullptr);
    // Appends the line of an entry; a separator is a line without texts.
    void Append(const sched::TProtocolEntry& entry);
    // Removes every line; the columns narrow to their captions.
    void Clear();
    // Brings the last line into sight once the lines arriving now are in.
    void FollowLast();

private:
    void Widen(const QTreeWidgetItem* item);

    QTimer follow_;
};

}  // namespace ui
