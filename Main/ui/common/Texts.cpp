#include "ui/common/Texts.h"

#include <QWidget>

#include "CommonUtils/Format.h"

namespace ui {

QString FormatReal(std::string_view pattern, long double value) { return Q(cmn::Format(pattern, value)); }

void NameControl(QWidget* widget, const char* objectName, const QString& accessibleName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    if (!accessibleName.isEmpty()) widget->setAccessibleName(accessibleName);
}

}  // namespace ui
