#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "CommonUtils/ProtocolLog.h"

namespace talvo_test {

// A protocol-log target that keeps every line and every question, and
// answers every question with `answer`. A worker thread and the test may
// both log; the members are read once the writers are done.
class RecordingLog : public cmn::IProtocolLog {
public:
    explicit RecordingLog(bool interactive = false, bool answer = true) : answer(answer), interactive_(interactive) {}

    void Log(cmn::LogType type, const std::string& text) override {
        std::lock_guard lock(mutex_);
        lines.emplace_back(type, text);
    }
    bool Interactive() const override { return interactive_; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override {
        std::lock_guard lock(mutex_);
        questions.push_back({text, kind, buttons});
        return answer;
    }

    // The texts in order, a separator shown as "--".
    std::vector<std::string> Texts() const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> texts;
        for (const auto& [type, text] : lines) texts.push_back(type == cmn::LogType::Separator ? "--" : text);
        return texts;
    }
    // The type of the first line with `text`; Separator when there is none.
    cmn::LogType TypeOf(const std::string& text) const {
        std::lock_guard lock(mutex_);
        for (const auto& [type, t] : lines)
            if (t == text) return type;
        return cmn::LogType::Separator;
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
    mutable std::mutex mutex_;
    bool interactive_;
};

}  // namespace talvo_test
