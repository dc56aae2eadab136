#include "ui/common/MessageDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

#include "editor/ShellRules.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

TMessageIcon IconOf(cmn::MessageKind kind) {
    switch (kind) {
        case cmn::MessageKind::Warning: return TMessageIcon::Warning;
        case cmn::MessageKind::Confirmation: return TMessageIcon::Question;
        case cmn::MessageKind::LoadSave:
        case cmn::MessageKind::Ok: break;
    }
    return TMessageIcon::Information;
}

QStyle::StandardPixmap PixmapOf(TMessageIcon icon) {
    switch (icon) {
        case TMessageIcon::Warning: return QStyle::SP_MessageBoxWarning;
        case TMessageIcon::Question: return QStyle::SP_MessageBoxQuestion;
        case TMessageIcon::Error: return QStyle::SP_MessageBoxCritical;
        case TMessageIcon::Information: break;
    }
    return QStyle::SP_MessageBoxInformation;
}

}  // namespace

TfmMsg::TfmMsg(const QString& text, cmn::MessageKind kind, cmn::Buttons buttons, QWidget* parent)
    : TfmMsg(text, IconOf(kind), buttons, parent) {}

TfmMsg::TfmMsg(const QString& text, TMessageIcon iconKind, cmn::Buttons buttons, QWidget* parent)
    : QDialog(parent),
      // A carriage return alone ends a line of a message as a line feed does.
      text_(new QLabel(QString(text).replace(QRegularExpression(QStringLiteral("\r(?!\n)")), QStringLiteral("\n")))),
      yes_(new QPushButton(QStringLiteral("Да"))),
      no_(new QPushButton(QStringLiteral("Нет"))) {
    setObjectName(QStringLiteral("fmMsg"));
    setWindowTitle(Q(edit::kApplicationTitle));
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("Image1"));
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(style()->standardIcon(PixmapOf(iconKind)).pixmap(side, side));
    text_->setObjectName(QStringLiteral("Label1"));
    text_->setAccessibleName(text);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignCenter);
    text_->setMinimumWidth(260);
    NameControl(yes_, "btnOk", yes_->text());
    NameControl(no_, "btnCancel", no_->text());
    yes_->setDefault(true);
    connect(yes_, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(no_, &QPushButton::clicked, this, [this] { done(mrCancel); });

    auto* body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addWidget(text_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(yes_);
    row->addWidget(no_);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Only once it has a parent: shown before, "Нет" would open as a window of its own.
    no_->setVisible(buttons == cmn::Buttons::YesNo);
}

int MyShowMessage(std::string_view text, cmn::MessageKind kind) {
    const auto buttons = kind == cmn::MessageKind::Confirmation ? cmn::Buttons::YesNo : cmn::Buttons::Ok;
    return AskUser(text, kind, buttons) ? mrOk : mrCancel;
}

// The window the question belongs to may go while it is open (the program
// ends): the dialog goes with it and the question counts as not answered.
bool AskUser(std::string_view text, cmn::MessageKind kind, cmn::Buttons buttons, QWidget* parent) {
    const QPointer<TfmMsg> dialog = new TfmMsg(Q(text), kind, buttons, parent ? parent : QApplication::activeWindow());
    const bool yes = dialog->exec() == mrOk;
    delete dialog.data();
    return yes;
}

void ShowPlainMessage(std::string_view text) { MyShowMessage(text, cmn::MessageKind::Ok); }

}  // namespace ui
