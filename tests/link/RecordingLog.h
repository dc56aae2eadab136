#pragma once

#include <string>
#include <utility>
#include <vector>

#include "CommonUtils/ProtocolLog.h"

// A protocol-log target that keeps every line and every question, and
// answers every question with `answer`.
class RecordingLog : public cmn::IProtocolLog {
public:
    explicit RecordingLog(bool interactive = false, bool answer = true) : answer(answer), interactive_(interactive) {}
    void Log(cmn::LogType type, const std::string& text) override { lines.emplace_back(type, text); }
    bool Interactive() const override { return interactive_; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override {
        questions.push_back({text, kind, buttons});
        return answer;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& [type, text] : lines) texts.push_back(text);
        return texts;
    }

    struct Question {
        std::string text;
        cmn::MessageKind kind;
        cmn::Buttons buttons;
    };
    std::vector<std::pair<cmn::LogType, std::string>> lines;
    std::vector<Question> questions;
    bool answer;  // to every question

private:
    bool interactive_;
};
