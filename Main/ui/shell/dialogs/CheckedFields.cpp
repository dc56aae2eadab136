#include "ui/shell/dialogs/CheckedFields.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "ui/common/MessageDialog.h"
#include "ui/common/Reentry.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

// Focus that goes to another window (our own message dialog among them) or
// to a popup does not leave the field.
bool LeavesField(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// Brings every page that holds the widget to the front of its tab widget.
void BringToFront(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr) tabs->setCurrentWidget(w);
    }
}

}  // namespace

TCheckedFields::TCheckedFields(std::vector<QLineEdit*> fields, cmn::MessageKind refusalKind, TEnter enter, TText text,
                               QObject* parent)
    : QObject(parent),
      fields_(std::move(fields)),
      kind_(refusalKind),
      enter_(std::move(enter)),
      text_(std::move(text)) {
    for (QLineEdit* field : fields_) field->installEventFilter(this);
}

bool TCheckedFields::CheckNow() {
    if (refused_) {
        const TRefusal refusal = *refused_;
        Refuse(refusal);
        return false;
    }
    const auto focused = IndexOf(fields_.empty() ? nullptr : fields_.front()->window()->focusWidget());
    if (!focused) return true;
    const auto refusal = Enter(*focused);
    if (refusal) Refuse(*refusal);
    return !refusal;
}

void TCheckedFields::ShowAll() {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (refused_ && refused_->Index == i) continue;
        // A field already showing its text keeps its cursor and selection.
        const QString text = Q(text_(i));
        if (fields_[i]->text() != text) fields_[i]->setText(text);
    }
}

bool TCheckedFields::eventFilter(QObject* watched, QEvent* event) {
    const auto index = IndexOf(watched);
    if (!index || refocusing_) return false;
    if (event->type() == QEvent::FocusOut && LeavesField(static_cast<QFocusEvent*>(event)->reason())) {
        if (const auto refusal = Enter(*index)) RefuseLater(*refusal);
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        if (const auto refusal = Enter(*index)) Refuse(*refusal);
        else if (OnEnterAccepted) OnEnterAccepted(*index);
        return true;
    }
    return false;
}

std::optional<TCheckedFields::TRefusal> TCheckedFields::Enter(std::size_t index) {
    const std::string_view refusal = enter_(index, U(fields_[index]->text()));
    if (!refusal.empty()) return TRefusal{index, refusal};
    ShowAll();
    return std::nullopt;
}

void TCheckedFields::Refuse(const TRefusal& refusal) {
    refused_.reset();
    MyShowMessage(refusal.Text, kind_);
    QLineEdit* field = fields_[refusal.Index];
    // Going back is no leaving of the field the user went on to.
    {
        const TReentryGuard refocusing(refocusing_);
        BringToFront(field);
        field->setFocus(Qt::OtherFocusReason);
    }
    field->selectAll();
}

// Only the first of several fields left before the message could appear is
// refused; the others are checked again when they are next left.
void TCheckedFields::RefuseLater(const TRefusal& refusal) {
    if (refused_) return;
    refused_ = refusal;
    QTimer::singleShot(0, this, [this] {
        // A dialog closed meanwhile refuses nothing.
        if (!refused_ || !fields_[refused_->Index]->window()->isVisible()) return Drop();
        const TRefusal refusal = *refused_;
        Refuse(refusal);
    });
}

std::optional<std::size_t> TCheckedFields::IndexOf(QObject* object) const {
    const auto found = std::find(fields_.begin(), fields_.end(), object);
    if (found == fields_.end()) return std::nullopt;
    return static_cast<std::size_t>(found - fields_.begin());
}

}  // namespace ui
