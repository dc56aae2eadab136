#include "link/PortAccess.h"

namespace lnk {
namespace {

void LogOpenStatus(TOpenStatus status, const std::string& name, cmn::IProtocolLog& log) {
    switch (status) {
        case TOpenStatus::Opened: log.Log(cmn::LogType::Info, "Порт " + name + " открыт"); return;
        case TOpenStatus::Busy: log.Log(cmn::LogType::Error, "Порт " + name + " занят"); return;
        case TOpenStatus::Absent: log.Log(cmn::LogType::Error, "Порт " + name + " не существует"); return;
    }
    log.Log(cmn::LogType::Error, "Неизвестный статус выполнения операции открытия COM-порта");
}

}  // namespace

std::unique_ptr<TMyComPort> OpenActionPort(const std::string& portName, std::uint32_t baudRate,
                                           cmn::IProtocolLog& log) {
    if (portName.empty()) {
        const std::string text = "Не выбран COM-порт!";
        if (log.Interactive()) log.Ask(text, cmn::MessageKind::Warning, cmn::Buttons::Ok);
        else log.Log(cmn::LogType::Error, text);
        return nullptr;
    }
    auto port = std::make_unique<TMyComPort>(portName, baudRate);
    LogOpenStatus(port->Status(), portName, log);
    // A refused permission reads as a busy port; the next line says what to do.
    if (const std::string hint = port->AccessHint(); !hint.empty()) log.Log(cmn::LogType::Error, hint);
    if (port->Status() != TOpenStatus::Opened) port.reset();
    return port;
}

bool ReleaseActionPort(std::unique_ptr<TMyComPort>& port, cmn::IProtocolLog& log) {
    if (!port) return true;
    const bool closed = port->Close();
    if (closed) log.Log(cmn::LogType::Info, "Порт " + port->Name() + " освобожден");
    else log.Log(cmn::LogType::Error, "Порт " + port->Name() + " не может быть освобожден");
    port.reset();
    return closed;
}

}  // namespace lnk
