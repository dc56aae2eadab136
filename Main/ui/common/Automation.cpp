#include "ui/common/Automation.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace ui {
namespace {

class TAutomationNames : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Polish || event->type() == QEvent::Show) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && !widget->objectName().isEmpty() && widget->accessibleDescription().isEmpty())
                widget->setAccessibleDescription(widget->objectName());
        }
        return false;
    }
};

}  // namespace

void InstallAutomationNames(QApplication& app) {
    if (qEnvironmentVariable("TALVO_AUTOMATION") == QStringLiteral("1"))
        app.installEventFilter(new TAutomationNames(&app));
}

}  // namespace ui
