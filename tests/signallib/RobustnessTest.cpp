// Records no caller should send: the answer is always one of the library's
// codes, and the full parameters never carry a value that is not a number.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>

#include "SignalTalvoLibrary.h"

namespace {

using namespace talvo_test;

std::set<int> DocumentedCodes() {
    std::set<int> codes = {0, 56, 61, 62, 63, 64, 81, 82, 83, 84, 85, 86, 87, 91, 92, 93, 200};
    for (int c = 71; c <= 76; ++c) codes.insert(c);
    for (int c = 151; c <= 156; ++c) codes.insert(c);
    for (int base : {201, 251, 301, 351, 401, 451})
        for (int n = 2; n <= 40; ++n) codes.insert(base + n);
    return codes;
}

bool AllFloatsFinite(const TFullSignalParams& full) {
    // Every 4-byte slot but the three range and flag words holds a float.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&full);
    for (std::size_t offset = 0; offset < sizeof full; offset += 4) {
        if (offset == 12 || offset == 2076 || offset == 6080 || offset == 6084 || offset == 6100 || offset == 6104 ||
            offset == 6112 || offset == 6120)
            continue;
        float f;
        std::memcpy(&f, bytes + offset, 4);
        if (!std::isfinite(f)) return false;
    }
    return true;
}

// CheckSignalData and GetOutSignalData agree on validation, and a valid
// record gives either full parameters of numbers or a computation code.
void ExpectSoundAnswers(const TOutSignalParams& p) {
    static const std::set<int> documented = DocumentedCodes();
    const std::int16_t check = Library().CheckSignalData(p);
    ASSERT_TRUE(documented.count(check)) << check;
    std::int16_t code = 0;
    const TFullSignalParams full = FullParams(p, code);
    ASSERT_TRUE(documented.count(code)) << code;
    if (check != 0) {
        ASSERT_EQ(code, check);
        return;
    }
    ASSERT_TRUE(code == 0 || (code >= 151 && code <= 156)) << code;
    if (code == 0) {
        ASSERT_TRUE(AllFloatsFinite(full));
    }
}

void SetFloatAt(TOutSignalParams& p, std::size_t offset, float value) {
    std::memcpy(reinterpret_cast<unsigned char*>(&p) + offset, &value, 4);
}

bool IsFloatSlot(std::size_t offset) {
    const std::size_t inPhase = (offset >= 992 ? offset - 992 : offset - 4) % 328;
    return offset != 0 && offset != 988 && offset < 1984 && inPhase != 4;
}

TEST(Robustness, NonNumbersInEveryFloat) {
    const float values[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(),
                            -std::numeric_limits<float>::max(),      std::numeric_limits<float>::denorm_min()};
    for (std::size_t offset = 0; offset < 1984; offset += 4) {
        if (!IsFloatSlot(offset)) continue;
        for (float v : values) {
            TOutSignalParams p = BalancedParams();
            SetFloatAt(p, offset, v);
            ExpectSoundAnswers(p);
            if (HasFatalFailure()) FAIL() << "offset " << offset << " value " << v;
        }
    }
}

TEST(Robustness, NonNumbersInTheDips) {
    for (std::size_t offset : {4u, 8u, 12u, 24u, 32u, 40u})
        for (float v : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
            TCollapsesOvervoltagesParams dips = OneDip();
            std::memcpy(reinterpret_cast<unsigned char*>(&dips) + offset, &v, 4);
            TOutSignalParams p = BalancedParams();
            p.Collapses = &dips;
            ExpectSoundAnswers(p);
            if (HasFatalFailure()) FAIL() << "offset " << offset;
        }
}

// Random bytes, with valid ranges and angle now and then so that the later
// steps are reached too.
TEST(Robustness, RandomRecords) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int run = 0; run < 3000; ++run) {
        TOutSignalParams p;
        auto* bytes = reinterpret_cast<unsigned char*>(&p);
        for (std::size_t i = 0; i < 1984; ++i) bytes[i] = static_cast<unsigned char>(byte(random));
        TCollapsesOvervoltagesParams dips;
        auto* dipBytes = reinterpret_cast<unsigned char*>(&dips);
        for (std::size_t i = 0; i < sizeof dips; ++i) dipBytes[i] = static_cast<unsigned char>(byte(random));
        p.Collapses = run % 3 == 0 ? &dips : nullptr;
        if (run % 2 == 0) {
            p.VoltageRange = 1 + run % 4 / 2;
            p.CurrentRange = 3 + run % 8 / 4;
            p.Voltage[0].Angle = 0;
        }
        ExpectSoundAnswers(p);
        if (HasFatalFailure()) FAIL() << "run " << run;
    }
}

}  // namespace
