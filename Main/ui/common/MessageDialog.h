#pragma once

#include <QDialog>
#include <string_view>

#include "CommonUtils/ProtocolLog.h"

class QLabel;
class QPushButton;

namespace ui {

// The icons a message box shows; a message kind has one of the first three.
enum class TMessageIcon { Information, Warning, Question, Error };

// The program's message box: the kind's icon, the centred word-wrapped
// text, "Да" always and "Нет" only for a question.
class TfmMsg : public QDialog {
    Q_OBJECT
public:
    TfmMsg(const QString& text, cmn::MessageKind kind, cmn::Buttons buttons, QWidget* parent = nullptr);
    // A box with an icon of its own, as the converter's error messages have.
    TfmMsg(const QString& text, TMessageIcon icon, cmn::Buttons buttons, QWidget* parent = nullptr);

private:
    QLabel* text_;
    QPushButton* yes_;
    QPushButton* no_;
};

inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// Shows the dialog modally over the active window: mrOk for "Да",
// mrCancel for "Нет" or closing.
int MyShowMessage(std::string_view text, cmn::MessageKind kind);
// The same with the buttons chosen apart from the icon, as the core's
// questions need ("Да" and "Нет" under a warning icon); true for "Да".
bool AskUser(std::string_view text, cmn::MessageKind kind, cmn::Buttons buttons, QWidget* parent = nullptr);
// A plain message box of the same look, with "Да" only.
void ShowPlainMessage(std::string_view text);

}  // namespace ui
