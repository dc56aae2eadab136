#pragma once

#include <QString>
#include <Qt>

class QWidget;

namespace uitest {

// The text a named value control of `window` shows, field or result label.
QString ShownText(const QWidget& window, const char* name);

// The widget with the keyboard focus; after a message box the window gets
// it back a moment later, so this waits up to two seconds for one.
QWidget* WaitForFocus();
// Replaces the text of the focused field as a user would: select all, type.
void TypeOver(const QString& text);
// One key to the focused widget.
void Press(Qt::Key key);

}  // namespace uitest
