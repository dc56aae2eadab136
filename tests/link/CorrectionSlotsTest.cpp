#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "CommonUtils/CalibratorWire.h"
#include "TableSignals.h"
#include "link/SampleTables.h"

// The correction record holds 220 V A, B, C; 57.7 V A, B, C; 1 A A, B, C;
// 5 A A, B, C; frequency. Each phase's table codes are scaled by the one
// slot of its range and phase and by no other.
namespace {

struct TRangeCase {
    const char* Name;
    bool Current;
    sig::real Nominal;
    int FirstSlot;
};

const TRangeCase kRanges[] = {
    {"220 V", false, 220, 0},
    {"57.7 V", false, tabletest::kLowRange, 3},
    {"1 A", true, 1, 6},
    {"5 A", true, 5, 9},
};

sig::TSignalSet AtNominal(const TRangeCase& r) {
    sig::TSignalSet s = tabletest::Balanced(4);
    if (r.Current) {
        s.Current.Nominal = r.Nominal;
        s.Current.IA = s.Current.IB = s.Current.IC = r.Nominal;
    } else {
        s.Voltage.Nominal = s.Voltage.NominalFaza = r.Nominal;
        s.Voltage.UA = s.Voltage.UB = s.Voltage.UC = r.Nominal;
    }
    return s;
}

// Per phase, each sample's swing from the zero code 32767.
std::vector<std::array<int, 3>> Swings(const sig::TSignalSet& s, const TRangeCase& r, const sig::TCorrectionRecord& k) {
    const lnk::TTableSettings t{sig::dmTalvo, k};
    const lnk::TSampleTable table = r.Current ? lnk::BuildCurrentTable(s, t) : lnk::BuildVoltageTable(s, t);
    std::vector<std::array<int, 3>> swings;
    for (std::size_t i = 0; i < table.Bytes.size(); i += cmn::kSampleSize) {
        const cmn::SampleCodes c = cmn::UnpackSample(&table.Bytes[i]);
        swings.push_back({c.a - 32767, c.b - 32767, c.c - 32767});
    }
    return swings;
}

TEST(CorrectionSlots, EachRangeAndPhaseTakesItsOwnSlot) {
    for (const TRangeCase& r : kRanges) {
        const sig::TSignalSet s = AtNominal(r);
        const auto plain = Swings(s, r, {});
        for (int slot = 0; slot < 12; ++slot) {
            SCOPED_TRACE(testing::Message() << r.Name << ", +10 % in slot " << slot);
            sig::TCorrectionRecord k{};
            k[slot] = 10;
            const auto corrected = Swings(s, r, k);
            ASSERT_EQ(corrected.size(), plain.size());
            for (std::size_t i = 0; i < plain.size(); ++i) {
                for (int p = 0; p < 3; ++p) {
                    const bool own = slot == r.FirstSlot + p;
                    const double expected = own ? 1.1 * plain[i][p] : plain[i][p];
                    EXPECT_LE(std::abs(corrected[i][p] - expected), 1.0) << "sample " << i << " phase " << p;
                }
            }
        }
    }
}

}  // namespace
