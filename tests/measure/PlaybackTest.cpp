// The bytes of hand-made frames and tables read back as the calibrator
// reads them, and the output it plays from them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "CommonUtils/TalvoError.h"
#include "measure/engine/Playback.h"
#include "measure/engine/SentBytes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint16_t w) {
    b.push_back(static_cast<std::uint8_t>(w & 0xFF));
    b.push_back(static_cast<std::uint8_t>(w >> 8));
}

Bytes Frame(std::uint16_t code, std::uint16_t first = 0, std::uint16_t second = 0) {
    Bytes b{0x55, 0x55, 0x55, 0x55};
    Put(b, code);
    Put(b, first);
    Put(b, second);
    b.insert(b.end(), 4, 0);
    return b;
}

// One sample as the wire format describes it: for bit 15 down to 0 a nibble
// [1, C, B, A], nibbles filling word 0 from its high nibble, then words 1 … 3.
Bytes Sample(std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    std::uint16_t words[4]{};
    for (int bit = 15; bit >= 0; --bit) {
        const int position = 15 - bit;
        const int nibble = 8 | (((c >> bit) & 1) << 2) | (((b >> bit) & 1) << 1) | ((a >> bit) & 1);
        words[position / 4] |= static_cast<std::uint16_t>(nibble << (12 - 4 * (position % 4)));
    }
    Bytes out;
    for (std::uint16_t w : words) Put(out, w);
    return out;
}

struct TCodes {
    std::vector<std::uint16_t> a, b, c;
};

Bytes Table(std::uint16_t code, const TCodes& t) {
    Bytes b = Frame(code, static_cast<std::uint16_t>(t.a.size() * 4), 15296);
    for (std::size_t i = 0; i < t.a.size(); ++i) {
        const Bytes s = Sample(t.a[i], t.b[i], t.c[i]);
        b.insert(b.end(), s.begin(), s.end());
    }
    return b;
}

Bytes Timing(std::uint16_t count, std::uint32_t start, std::uint32_t length, std::uint32_t pause) {
    Bytes b = Frame(13, count, 15296);
    for (std::uint32_t v : {start, length, pause}) {
        Put(b, static_cast<std::uint16_t>(v & 0xFFFF));
        Put(b, static_cast<std::uint16_t>(v >> 16));
    }
    return b;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TCodes Constant(std::size_t n, std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    return {std::vector<std::uint16_t>(n, a), std::vector<std::uint16_t>(n, b), std::vector<std::uint16_t>(n, c)};
}

msr::TPlayback Play(const Bytes& bytes, int modification = 0, std::array<double, 13> correction = {}) {
    return msr::TPlayback(msr::SplitSentBytes(bytes), {modification, correction});
}

// ---------------------------------------------------------------- reading the bytes

TEST(SentBytes, FramesAndBlocksAreSplitAsTheirCodesAnnounce) {
    const Bytes range{0x55, 0x55, 0x55, 0x55, 0x0A, 0x00, 0x03, 0x00, 0, 0, 0, 0, 0, 0};
    const Bytes table = Table(1, Constant(3, 32767, 32767, 32767));
    const auto commands = msr::SplitSentBytes(Join({range, table, Timing(5, 1, 2, 3), Frame(7, 12, 15296)}));
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].Code, 10);
    EXPECT_EQ(commands[0].First, 3);
    EXPECT_TRUE(commands[0].Block.empty());
    EXPECT_EQ(commands[1].Code, 1);
    EXPECT_EQ(commands[1].First, 12);
    EXPECT_EQ(commands[1].Second, 15296);
    EXPECT_EQ(commands[1].Block.size(), 24u);
    EXPECT_EQ(commands[2].Block.size(), 12u);
    EXPECT_EQ(commands[3].Code, 7);
}

TEST(SentBytes, BrokenStreamsAreRefused) {
    Bytes badSync = Frame(14);
    badSync[2] = 0x54;
    EXPECT_THROW(msr::SplitSentBytes(badSync), cmn::TalvoError);
    Bytes shortTable = Table(1, Constant(2, 1, 2, 3));
    shortTable.pop_back();
    EXPECT_THROW(msr::SplitSentBytes(shortTable), cmn::TalvoError);
    const Bytes whole = Frame(15);
    const Bytes cut(whole.begin(), whole.begin() + 9);
    EXPECT_THROW(msr::SplitSentBytes(cut), cmn::TalvoError);
}

TEST(SentBytes, SamplesDecodeBitByBit) {
    // Three zero codes: every nibble 1000 but the first, 1111.
    const Bytes zero{0xFF, 0x8F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    auto codes = msr::DecodeTable(zero);
    EXPECT_EQ(codes.Phase[0][0], 32767);
    EXPECT_EQ(codes.Phase[1][0], 32767);
    EXPECT_EQ(codes.Phase[2][0], 32767);
    // A = FFFF, B = 0000, C = 8001: nibbles D, 9 … 9, D.
    const Bytes mixed{0x99, 0xD9, 0x99, 0x99, 0x99, 0x99, 0x9D, 0x99};
    codes = msr::DecodeTable(mixed);
    EXPECT_EQ(codes.Phase[0][0], 0xFFFF);
    EXPECT_EQ(codes.Phase[1][0], 0x0000);
    EXPECT_EQ(codes.Phase[2][0], 0x8001);
    Bytes noMarker = mixed;
    noMarker[3] = 0x19;
    EXPECT_THROW(msr::DecodeTable(noMarker), cmn::TalvoError);
    EXPECT_THROW(msr::DecodeTable(Bytes(7, 0xFF)), cmn::TalvoError);
}

TEST(SentBytes, TimingFieldsAreLowHalfFirst) {
    const Bytes block{0x10, 0x00, 0x00, 0x00, 0x34, 0x12, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
    const auto t = msr::DecodeTiming(block);
    EXPECT_EQ(t.Start, 16);
    EXPECT_EQ(t.Length, 0x11234);
    EXPECT_EQ(t.Pause, 0);
}

// ---------------------------------------------------------------- the played output

const double kS0 = 0.6938603561695532;

Bytes Prepared(std::uint16_t divisor, std::uint16_t range) {
    return Join({Frame(14), Frame(15), Frame(12, divisor), Frame(10, range)});
}

TEST(Playback, CodesBecomeVoltsAndAmperesOfTheRangeAndClockOfTheDivisor) {
    const TCodes v{{32767, 42767, 22767}, {32767, 32767, 32767}, {65535, 0, 32767}};
    const TCodes i{{33767, 32767, 32767}, {32767, 32767, 32767}, {32767, 32767, 31767}};
    const auto p = Play(Join({Prepared(194, 3), Table(1, v), Table(2, i), Frame(7, 12, 15296), Frame(14)}));
    EXPECT_NEAR(p.Rate(), 33333334.0 / 195, 1e-9);
    EXPECT_EQ(p.TableLength(), 3u);
    const double volt = std::sqrt(2.0) * 220 / (kS0 * 32767);
    const double amp = std::sqrt(2.0) * 5 / (2.0 / 3.0 * 32767);
    EXPECT_NEAR(p.Value(msr::chUA, 1), 10000 * volt, 1e-9);
    EXPECT_NEAR(p.Value(msr::chUA, 2), -10000 * volt, 1e-9);
    EXPECT_NEAR(p.Value(msr::chUC, 0), 32768 * volt, 1e-9);
    EXPECT_NEAR(p.Value(msr::chUC, 1), -32767 * volt, 1e-9);
    EXPECT_NEAR(p.Value(msr::chIA, 0), 1000 * amp, 1e-12);
    EXPECT_NEAR(p.Value(msr::chIC, 2), -1000 * amp, 1e-12);
    // The table repeats: tick 4 plays sample 1.
    EXPECT_DOUBLE_EQ(p.Value(msr::chUA, 4), p.Value(msr::chUA, 1));
}

TEST(Playback, LowRangesAndTheCorrectionChangeTheScale) {
    std::array<double, 13> correction{};
    correction[4] = 2.0;   // 57.7 V phase B
    correction[6] = -1.0;  // 1 A phase A
    correction[12] = 0.5;  // clock
    const TCodes v = Constant(4, 32767, 33767, 32767);
    const TCodes i = Constant(4, 33767, 32767, 32767);
    const auto p =
        Play(Join({Prepared(218, 0), Table(1, v), Table(2, i), Frame(7, 16, 15296), Frame(14)}), 0, correction);
    EXPECT_NEAR(p.Rate(), 33333334.0 / 219 / 1.005, 1e-9);
    EXPECT_NEAR(p.Value(msr::chUB, 0), 1000 * std::sqrt(2.0) * (100 / std::sqrt(3.0)) / (kS0 * 1.02 * 32767), 1e-9);
    EXPECT_NEAR(p.Value(msr::chIA, 0), 1000 * std::sqrt(2.0) * 1 / (2.0 / 3.0 * 0.99 * 32767), 1e-12);
}

TEST(Playback, SecondModificationPlaysThroughItsOutputStage) {
    // A table of 400 samples with a pure component at bin 40 of 10000 codes.
    const std::size_t n = 400;
    TCodes v = Constant(n, 32767, 32767, 32767);
    for (std::size_t k = 0; k < n; ++k)
        v.a[k] = static_cast<std::uint16_t>(
            std::lround(32767 + 10000 * std::sin(2 * std::numbers::pi * 40 * static_cast<double>(k) / n)));
    const auto p = Play(Join({Prepared(194, 1), Table(1, v), Table(2, Constant(n, 32767, 32767, 32767)),
                              Frame(7, 1600, 15296), Frame(14)}),
                        1);
    const double f = p.Rate() * 40 / n;
    const double w = 2 * std::numbers::pi * f;
    const double gain = 1 / (std::sqrt(1 + std::pow(w * 1.0714e-5, 2)) * std::sqrt(1 + std::pow(w * 2.8e-6, 2)));
    double re = 0, im = 0;
    for (std::size_t k = 0; k < n; ++k) {
        re += p.Value(msr::chUA, static_cast<std::int64_t>(k)) * std::sin(2 * std::numbers::pi * 40 * k / n);
        im += p.Value(msr::chUA, static_cast<std::int64_t>(k)) * std::cos(2 * std::numbers::pi * 40 * k / n);
    }
    const double amplitude = std::hypot(re, im) * 2 / n;
    const double step = std::sqrt(2.0) * 220 / (0.44 * 32767);
    EXPECT_NEAR(amplitude, 10000 * step * gain, 0.5 * step);
    EXPECT_LT(gain, 0.99);  // the stage is felt at this frequency
}

TEST(Playback, DipsPlayTheAlternativeTableForTheirCountAndPeriod) {
    const TCodes normal = Constant(5, 40000, 40000, 40000);
    const TCodes dip = Constant(5, 35000, 40000, 40000);
    // Start after 3 ticks; each field one tick less than it lasts: 5 ticks of dip, 6 of pause.
    const auto p = Play(Join({Prepared(194, 3), Table(1, normal), Table(2, normal), Frame(7, 20, 15296), Frame(14),
                              Table(1, dip), Timing(2, 3, 4, 5)}));
    std::vector<int> sources;
    for (int t = 0; t < 26; ++t) sources.push_back(p.SourceAt(t));
    const std::vector<int> expected{0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(sources, expected);
    EXPECT_GT(p.Value(msr::chUA, 2), p.Value(msr::chUA, 3));
    EXPECT_DOUBLE_EQ(p.Value(msr::chUB, 3), p.Value(msr::chUB, 2));
}

TEST(Playback, FluctuationsAlternateTheTwoLevelTables) {
    const TCodes signal = Constant(4, 40000, 40000, 40000);
    const TCodes raised = Constant(4, 41000, 41000, 41000);
    const TCodes lowered = Constant(4, 39000, 39000, 39000);
    const auto p = Play(Join({Prepared(194, 3), Table(1, signal), Table(2, signal), Frame(7, 16, 15296), Frame(14),
                              Table(1, raised), Frame(5, 16, 15296), Table(1, lowered), Timing(32767, 0, 9, 9)}));
    const double step = std::sqrt(2.0) * 220 / (kS0 * 32767);
    // Events of 10 ticks at the lowered level, pauses of 10 at the raised one.
    for (int t : {0, 9, 20, 29}) EXPECT_NEAR(p.Value(msr::chUA, t), 6233 * step, 1e-9) << t;
    for (int t : {10, 19, 30}) EXPECT_NEAR(p.Value(msr::chUA, t), 8233 * step, 1e-9) << t;
    // The signal's own table is no longer played.
    EXPECT_EQ(p.Table(0, msr::chUA)[0], 8233 * step);
}

TEST(Playback, TablesOfDifferentLengthsAreRefused) {
    // The calibrator steps every table with one counter.
    EXPECT_THROW(Play(Join({Prepared(194, 3), Table(1, Constant(4, 1, 1, 1)), Table(2, Constant(5, 1, 1, 1)),
                            Frame(7, 16, 15296)})),
                 cmn::TalvoError);
    EXPECT_THROW(Play(Join({Prepared(194, 3), Table(1, Constant(4, 1, 1, 1)), Table(2, Constant(4, 1, 1, 1)),
                            Frame(7, 16, 15296), Table(1, Constant(3, 1, 1, 1)), Timing(1, 0, 0, 0)})),
                 cmn::TalvoError);
}

TEST(Playback, AnActionThatStartsNothingIsRefused) {
    EXPECT_THROW(Play(Join({Prepared(194, 3), Table(1, Constant(3, 1, 1, 1))})), cmn::TalvoError);
    EXPECT_THROW(Play(Join({Frame(10, 3), Table(1, Constant(3, 1, 1, 1)), Frame(7, 12, 15296)})), cmn::TalvoError);
}

}  // namespace
