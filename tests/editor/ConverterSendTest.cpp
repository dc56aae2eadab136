// The test signal sent in converter mode, against the converter simulator:
// whether the signal goes out, what the calculation gives the window, and
// when the gain is written.
#include <gtest/gtest.h>

#include "ConverterSimulator.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "editor/ConverterSend.h"
#include "editor/SignalDefaults.h"
#include "signal/Frequency.h"

namespace {

using talvo_test::ConverterSimulator;

struct TSend {
    talvo_test::RecordingLog log{false, false};
    sig::TSignalSet signal = edit::DefaultSignal({0, sig::DeriveFrequencyBounds(0), log});
    std::vector<edit::TConverterMessage> messages;
    int sends = 0;
    edit::TConverterSendResult result;

    bool Run(const std::string& port, bool sendSucceeds) {
        edit::TConverterState state;
        return edit::SendWithConverter(
            state, port, signal, [this](const edit::TConverterMessage& m) { messages.push_back(m); },
            [this, sendSucceeds] {
                ++sends;
                return sendSucceeds;
            },
            result);
    }
};

TEST(ConverterSend, AConverterThatDoesNotAnswerLetsTheSignalGoUnchanged) {
    talvo_test::TempSettings settings;
    TSend s;
    const sig::TSignalParamsI before = s.signal.Current;
    EXPECT_TRUE(s.Run("COM42", true));
    EXPECT_EQ(s.sends, 1);
    EXPECT_FALSE(s.result.Calculated);
    EXPECT_EQ(s.result.Current.IA, before.IA);
    EXPECT_FALSE(s.messages.empty()) << "the failed connection is reported";
}

TEST(ConverterSend, AnAnsweringConverterIsReadCalculatedAndGivenItsGainAfterTheSend) {
    talvo_test::TempSettings settings;
    for (const bool sendSucceeds : {true, false}) {
        ConverterSimulator sim({}, sendSucceeds ? "COM7" : "COM8");
        TSend s;
        EXPECT_EQ(s.Run(sim.Name(), sendSucceeds), sendSucceeds);
        EXPECT_EQ(s.sends, 1);
        EXPECT_TRUE(s.result.Calculated);
        EXPECT_EQ(s.result.Error, 0);
        EXPECT_TRUE(s.result.State.CalibrationTablesLoaded());
        // Test, reset, module and gain, three tables; then the gain write after a good send only.
        const std::size_t requests = sim.WaitEntries("request", 7, std::chrono::milliseconds(500)).size();
        EXPECT_EQ(requests, sendSucceeds ? 7u : 6u) << "the gain is written only after the signal went out";
    }
}

TEST(ConverterSend, AConverterThatCannotBeResetStopsTheSignal) {
    talvo_test::TempSettings settings;
    ConverterSimulator sim({"--exception", "4", "--fault-request", "2"});
    TSend s;
    EXPECT_FALSE(s.Run(sim.Name(), true));
    EXPECT_EQ(s.sends, 0);
    EXPECT_FALSE(s.result.Calculated);
}

}  // namespace
