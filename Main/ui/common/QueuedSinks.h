#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "CommonUtils/ProtocolLog.h"
#include "link/ActionContext.h"

// The core reports through small interfaces, from whichever thread runs an
// action. These adapters live on the window thread: reports become queued
// signals, and a question or the countdown is shown on the window thread
// while the asking thread waits for the answer.
namespace ui {

// Runs `work` on the thread of `context` and waits for it; runs it at once
// when called on that thread.
void RunOnThreadOf(QObject* context, const std::function<void()>& work);

// Status (0x1500) and voltage indicator (0x1600) reports to the main window.
class TStatusRelay : public QObject, public lnk::IStatusSink {
    Q_OBJECT
public:
    using QObject::QObject;
    void Post(std::uint32_t message, int code) override;
Q_SIGNALS:
    void Posted(quint32 message, int code);
};

// The protocol log of a signal window: lines are queued to the window;
// questions are answered with the message dialog on the window thread.
class TWindowProtocolLog : public QObject, public cmn::IProtocolLog {
    Q_OBJECT
public:
    using QObject::QObject;
    void Log(cmn::LogType type, const std::string& text) override;
    bool Interactive() const override { return true; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override;
Q_SIGNALS:
    void Logged(int type, const QString& text);
};

// The meter verification countdown shown as a dialog on the window thread.
class TWindowCountdown : public QObject, public lnk::IEnergyCountdown {
    Q_OBJECT
public:
    // `show` runs on the window thread: true when the time ran out.
    TWindowCountdown(std::function<bool(int)> show, QObject* parent = nullptr)
        : QObject(parent), show_(std::move(show)) {}
    bool Run(int seconds) override;

private:
    std::function<bool(int)> show_;
};

}  // namespace ui
