#include "ui/common/FieldEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"

namespace ui {

namespace {

const QString kDegree = QStringLiteral("°");

// The keys that only move the focus on, or are modifiers pressed alone.
bool RefusedKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta: return false;
        default: return true;
    }
}

}  // namespace

TFieldEdit::TFieldEdit(bool angle, QWidget* parent) : QLineEdit(parent), angle_(angle) {}

void TFieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (angle_ && text().endsWith(kDegree)) setText(text().chopped(kDegree.size()));
    // A mouse press would place the cursor after this; select once it is done.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) selectAll();
    });
}

void TFieldEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (isModified() && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) Q_EMIT Leaving();
}

void TFieldEdit::SetKeyRefusal(const QString& message) {
    refusal_ = message;
    setReadOnly(!message.isEmpty());
}

void TFieldEdit::keyPressEvent(QKeyEvent* event) {
    if (!refusal_.isEmpty() && RefusedKey(*event)) {
        MyShowMessage(U(refusal_), cmn::MessageKind::Warning);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: Q_EMIT EnterPressed(); return;
        case Qt::Key_Escape: Q_EMIT EscapePressed(); return;
        default: QLineEdit::keyPressEvent(event);
    }
}

}  // namespace ui
