#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CommonUtils/ProtocolLog.h"

class QLineEdit;

namespace ui {

// Number fields whose entry is checked when the user leaves one: an
// accepted entry is stored and every field shown anew at once; a refused
// one is shown in the message dialog, and the field gets the focus back
// with its text and its page brought to front. The message comes after the
// event that moved the focus, never inside it. Buttons that must work
// whatever a field holds ("Отменить", "Восстановить") take no focus from a
// click, so they leave no field.
class TCheckedFields : public QObject {
    Q_OBJECT
public:
    // Takes field `index`'s text: the refusal, or empty when it was stored.
    using TEnter = std::function<std::string_view(std::size_t index, const std::string& text)>;
    // The text field `index` shows.
    using TText = std::function<std::string(std::size_t index)>;

    TCheckedFields(std::vector<QLineEdit*> fields, cmn::MessageKind refusalKind, TEnter enter, TText text,
                   QObject* parent);

    // Before the dialog is accepted: shows a refusal not shown yet, or checks
    // the field that has the focus. False when an entry was refused.
    bool CheckNow();
    // Forgets a refusal not shown yet.
    void Drop() { refused_.reset(); }
    // Every field shows its value, except one whose entry waits to be refused.
    void ShowAll();
    // Enter in a field checks it and, when accepted, calls this with its index.
    std::function<void(std::size_t)> OnEnterAccepted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TRefusal {
        std::size_t Index;
        std::string_view Text;
    };
    std::optional<TRefusal> Enter(std::size_t index);
    void Refuse(const TRefusal& refusal);
    void RefuseLater(const TRefusal& refusal);
    std::optional<std::size_t> IndexOf(QObject* object) const;

    std::vector<QLineEdit*> fields_;
    cmn::MessageKind kind_;
    TEnter enter_;
    TText text_;
    std::optional<TRefusal> refused_;
    bool refocusing_ = false;
};

}  // namespace ui
