#pragma once

#include <QString>
#include <string>
#include <string_view>

class QWidget;

// The core keeps texts as UTF-8; widgets take QString. Numbers never pass
// through QLocale: the core's formatting gives "." whatever the desktop's locale.
namespace ui {

inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string U(const QString& text) { return text.toStdString(); }

// "%2.3f" and the other formats of the core.
QString FormatReal(std::string_view pattern, long double value);

// Names a control for tests and automation and gives screen readers the caption the user reads.
void NameControl(QWidget* widget, const char* objectName, const QString& accessibleName = {});

}  // namespace ui
