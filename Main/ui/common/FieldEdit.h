#pragma once

#include <QLineEdit>

namespace ui {

// A value field of the signal window. Its entry is taken over when it loses
// the focus to another control of the window (not to a message box or a
// menu) after the user typed into it: passing through a field must not
// store its rounded display text back. Enter and Esc are left to the page. An angle field drops its
// degree sign while it is edited.
class TFieldEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFieldEdit(bool angle, QWidget* parent = nullptr);
    bool Angle() const { return angle_; }
    // While a refusal is set the field is read only: every key but the
    // focus moves shows it (a "Warning") and changes nothing.
    void SetKeyRefusal(const QString& message);

Q_SIGNALS:
    void Leaving();
    void EnterPressed();
    void EscapePressed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool angle_;
    QString refusal_;
};

}  // namespace ui
