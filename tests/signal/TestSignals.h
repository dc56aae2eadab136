#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CommonUtils/ProtocolLog.h"
#include "signal/SignalSet.h"

namespace sigtest {

// A log target that keeps what it was given and answers questions as told.
class TRecordingLog : public cmn::IProtocolLog {
public:
    explicit TRecordingLog(bool interactive = false, bool answer = true) : interactive_(interactive), answer_(answer) {}

    struct TLine {
        cmn::LogType Type;
        std::string Text;
    };
    struct TQuestion {
        std::string Text;
        cmn::MessageKind Kind;
        cmn::Buttons Buttons;
    };

    void Log(cmn::LogType type, const std::string& text) override { Lines.push_back({type, text}); }
    bool Interactive() const override { return interactive_; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override {
        Questions.push_back({text, kind, buttons});
        return answer_;
    }

    std::vector<TLine> Lines;
    std::vector<TQuestion> Questions;

private:
    bool interactive_;
    bool answer_;
};

// A balanced set: phase voltages u at 0, -120, 120 degrees, currents i
// lagging by phi, nominals 57.735 V (line 100 V) and 5 A.
std::unique_ptr<sig::TSignalSet> BalancedSignal(sig::real u = 57.735L, sig::real i = 5, sig::real phi = 0);

// Sets on every phase of voltage and current all harmonics 2 ... 50 and all
// interharmonics 1 ... 49 with varied coefficients and angles.
void AddRichSpectrum(sig::TSignalSet& s);

}  // namespace sigtest
