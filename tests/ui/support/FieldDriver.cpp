#include "FieldDriver.h"

#include "editor/SignalFields.h"
#include "ui/signal/SignalWindow.h"

namespace uitest {

QString Shown(ui::TForm2& form, const char* name) { return ShownText(form, name); }

QString Expected(ui::TForm2& form, const char* name, int phase) {
    return QString::fromStdString(edit::FieldText(*edit::FieldByName(name), form.Signal(), phase));
}

}  // namespace uitest
