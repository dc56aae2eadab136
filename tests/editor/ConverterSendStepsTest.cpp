// The converter steps of a send in converter mode against the converter
// simulator: what must have succeeded before the next step talks to the
// converter.
#include <gtest/gtest.h>

#include "ConverterSimulator.h"
#include "TempFolder.h"
#include "editor/ConverterSession.h"

namespace {

using edit::FinishConverterSend;
using edit::PrepareConverterSend;
using talvo_test::ConverterSimulator;

std::size_t Requests(const ConverterSimulator& sim) { return sim.Entries("request").size(); }

TEST(ConverterSendSteps, AFailedResetReadsNothingAndWritesNoGain) {
    talvo_test::TempSettings settings;
    edit::TConverterState state;
    // The connection test answers, the reset (second request) is refused.
    ConverterSimulator sim({"--exception", "4", "--fault-request", "2"});
    edit::TConverterSession session(state, sim.Name());
    const edit::TSendPreparation prep = PrepareConverterSend(session);
    EXPECT_TRUE(prep.ConverterAnswered);
    EXPECT_FALSE(prep.ResetDone);
    EXPECT_FALSE(prep.DataReady);
    EXPECT_FALSE(prep.MaySend()) << "a converter that answers but cannot be reset stops the send";
    EXPECT_EQ(Requests(sim), 2u) << "no read after a failed reset";
    EXPECT_FALSE(state.CalibrationTablesLoaded());
    EXPECT_FALSE(FinishConverterSend(session, prep, true));
    EXPECT_EQ(Requests(sim), 2u) << "no gain write after a failed reset";
}

TEST(ConverterSendSteps, TablesReadBeforeAreNotReadAgain) {
    talvo_test::TempSettings settings;
    edit::TConverterState state;
    ConverterSimulator sim;
    edit::TConverterSession session(state, sim.Name());
    const edit::TSendPreparation first = PrepareConverterSend(session);
    ASSERT_TRUE(first.DataReady && first.MaySend());
    ASSERT_TRUE(state.CalibrationTablesLoaded());
    const std::size_t before = Requests(sim);
    const edit::TSendPreparation second = PrepareConverterSend(session);
    EXPECT_TRUE(second.ResetDone && second.DataReady && second.MaySend());
    EXPECT_EQ(Requests(sim), before + 2) << "the test and the reset only";
    EXPECT_FALSE(FinishConverterSend(session, second, false)) << "nothing is written when the send failed";
    EXPECT_EQ(Requests(sim), before + 2);
    state.CalculatedGainIndex = 12;  // what the calculation chose
    EXPECT_TRUE(FinishConverterSend(session, second, true));
    EXPECT_GT(sim.WaitEntries("request", before + 3).size(), before + 2) << "the gain is written";
}

}  // namespace
