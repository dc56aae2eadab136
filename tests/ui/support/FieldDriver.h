#pragma once

#include <QString>

class QWidget;

namespace ui {
class TForm2;
}

namespace uitest {

// The text a field or result label of the signal window shows.
QString Shown(ui::TForm2& form, const char* name);
// The text the records give that field; `phase` is the single-phase page's.
QString Expected(ui::TForm2& form, const char* name, int phase = 0);
// The focused control, waiting for it after a message box closed.
QWidget* Focus();
// Replaces the focused field's text by typing.
void TypeOver(const QString& text);
void Press(int key);

}  // namespace uitest
