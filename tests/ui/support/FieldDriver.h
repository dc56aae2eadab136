#pragma once

#include <QString>

#include "FieldKeys.h"

namespace ui {
class TForm2;
}

namespace uitest {

// The text a field or result label of the signal window shows.
QString Shown(ui::TForm2& form, const char* name);
// The text the records give that field; `phase` is the single-phase page's.
QString Expected(ui::TForm2& form, const char* name, int phase = 0);

}  // namespace uitest
