#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "CommonUtils/ProtocolLog.h"
#include "link/ActionContext.h"
#include "ui/common/DeviceWork.h"

// The core reports through small interfaces, from whichever thread runs an
// action. These adapters live on the window thread: reports become queued
// signals, and a question is shown on the window thread while the asking
// thread waits for the answer.
namespace ui {

// Status (0x1500) and voltage indicator (0x1600) reports to the main window.
class TStatusRelay : public QObject, public lnk::IStatusSink {
    Q_OBJECT
public:
    using QObject::QObject;
    void Post(std::uint32_t message, int code) override;
Q_SIGNALS:
    void Posted(quint32 message, int code);
};

// The protocol log of a window: lines are queued to the window; questions
// are answered with the message dialog on the window thread, and cancelled
// once the log has gone.
class TWindowProtocolLog : public QObject, public cmn::IProtocolLog {
    Q_OBJECT
public:
    // Questions open over `parent` when it is a widget.
    explicit TWindowProtocolLog(QObject* parent = nullptr);
    ~TWindowProtocolLog() override;
    void Log(cmn::LogType type, const std::string& text) override;
    bool Interactive() const override { return true; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override;
Q_SIGNALS:
    void Logged(int type, const QString& text);

private:
    std::shared_ptr<TWindowAnswers> answers_ = std::make_shared<TWindowAnswers>();
};

}  // namespace ui
