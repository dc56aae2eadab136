#include "link/Exchange.h"

#include <array>

namespace lnk {
namespace {

using cmn::CalCommand;
using cmn::LogType;

const char* BlockDescription(CalCommand code) {
    switch (code) {
        case CalCommand::VoltageTable: return "Напряжение";
        case CalCommand::CurrentTable: return "Ток";
        default: return "Провалы и перенапряжения";
    }
}

bool ReadAndCheck(TMyComPort& port, TConfirmationKind kind, std::uint16_t code, cmn::IProtocolLog& log) {
    std::array<std::uint8_t, cmn::kConfirmationSize> bytes{};
    const bool complete = port.Read(bytes.data(), bytes.size());
    return CheckConfirmation(kind, complete ? std::span<const std::uint8_t>(bytes) : std::span<const std::uint8_t>(),
                             code, log);
}

bool WriteFrame(TMyComPort& port, cmn::IProtocolLog& log, CalCommand code, std::uint16_t first, std::uint16_t second) {
    const cmn::Frame frame = cmn::BuildFrame(code, first, second);
    const std::string name = CommandName(code);
    if (!port.Write(frame.data(), frame.size())) {
        log.Log(LogType::Error, "Ошибка при передаче команды \"" + name + "\"");
        return false;
    }
    log.Log(LogType::Info, "Команда \"" + name + "\" передана");
    return true;
}

bool WriteBlock(TMyComPort& port, cmn::IProtocolLog& log, CalCommand code, std::span<const std::uint8_t> block) {
    const std::string description = BlockDescription(code);
    if (!port.Write(block.data(), block.size())) {
        log.Log(LogType::Error, "Ошибка при передаче сигнала \"" + description + "\"");
        return false;
    }
    log.Log(LogType::Info, "Описание сигнала \"" + description + "\" передано");
    return true;
}

}  // namespace

std::string CommandName(CalCommand code) {
    const std::string generation = "Генерация выходного сигнала";
    switch (code) {
        case CalCommand::VoltageTable: return "Установка значений выходного напряжения";
        case CalCommand::CurrentTable: return "Установка значений выходного тока";
        case CalCommand::StartVoltage: return generation + " напряжения";
        case CalCommand::StartCurrent: return generation + " тока";
        case CalCommand::StartBoth: return generation + " напряжения и тока";
        case CalCommand::Range: return "Установка номинального напряжения и тока";
        case CalCommand::TimerDivisor: return "Установка коэффициента деления таймера";
        case CalCommand::Dips: return "Установка параметров провалов и перенапряжений";
        case CalCommand::ResetDips: return "Сброс провалов и перенапряжений";
        case CalCommand::ResetOutputs: return "Сброс выходных сигналов";
    }
    return "Команда " + std::to_string(static_cast<unsigned>(code));
}

bool CheckConfirmation(TConfirmationKind kind, std::span<const std::uint8_t> received, std::uint16_t code,
                       cmn::IProtocolLog& log) {
    const bool receipt = kind == TConfirmationKind::Receipt;
    const std::string prefix =
        receipt ? "Прием подтверждения о получении команды" : "Прием подтверждения о выполнении команды";
    const cmn::Confirmation c = cmn::ParseConfirmation(received);
    const std::uint16_t expected = receipt ? code : static_cast<std::uint16_t>(code | 0x80u);
    if (c.length != cmn::kConfirmationSize) {
        log.Log(LogType::Error, prefix + ": нет ответа от калибратора");
        return false;
    }
    if (!c.syncOk) {
        log.Log(LogType::Error, prefix + ": неверные байты синхронизации");
        return false;
    }
    if (c.word != expected) {
        log.Log(LogType::Error, prefix + ": неверный код команды");
        return false;
    }
    log.Log(LogType::Info,
            std::string("Принято подтверждение") + (receipt ? " о получении команды" : " о выполнении команды"));
    return true;
}

bool SendCommand(TMyComPort& port, cmn::IProtocolLog& log, CalCommand code, std::uint16_t first, std::uint16_t second,
                 std::span<const std::uint8_t> block) {
    const auto word = static_cast<std::uint16_t>(code);
    if (!WriteFrame(port, log, code, first, second)) return false;
    if (!ReadAndCheck(port, TConfirmationKind::Receipt, word, log)) return false;
    if (!block.empty() && !WriteBlock(port, log, code, block)) return false;
    if (code == CalCommand::Dips) return true;
    return ReadAndCheck(port, TConfirmationKind::Execution, word, log);
}

}  // namespace lnk
