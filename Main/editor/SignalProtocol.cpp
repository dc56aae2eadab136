#include "editor/SignalProtocol.h"

#include "files/ProtocolFile.h"

namespace edit {

const std::string& TSignalProtocol::Add(cmn::LogType type, const std::string& text) {
    if (type == cmn::LogType::Error) ++errors_;
    lines_.push_back(std::to_string(lines_.size() + 1) + ". " + text);
    return lines_.back();
}

void TSignalProtocol::Clear() {
    lines_.clear();
    errors_ = 0;
}

std::string TSignalProtocol::TotalText() const { return "Общее кол-во сообщений - " + std::to_string(lines_.size()); }

std::string TSignalProtocol::SuccessfulText() const {
    return "Кол-во успешных сообщений - " + std::to_string(static_cast<int>(lines_.size()) - errors_);
}

std::string TSignalProtocol::ErrorsText() const { return "Кол-во ошибок - " + std::to_string(errors_); }

std::string TSignalProtocol::Save(const std::string& fileName) const {
    return lines_.empty() ? std::string() : files::SaveProtocolText(fileName, lines_);
}

}  // namespace edit
