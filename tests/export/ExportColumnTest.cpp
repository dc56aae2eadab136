#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "ExportSupport.h"
#include "export/ExportColumn.h"
#include "signal/Helpers.h"

namespace {

using exporttest::RecomputedSignal;
using exporttest::TSignalShape;

std::unique_ptr<xls::TExportColumn> Fill(const sig::TSignalSet& s) {
    auto column = std::make_unique<xls::TExportColumn>();
    xls::FillExportColumn(s, *column);
    return column;
}

bool Empty(const xls::TExportColumn& c, int row) { return std::holds_alternative<std::monostate>(c[row]); }

double Real(const xls::TExportColumn& c, int row) {
    EXPECT_TRUE(std::holds_alternative<double>(c[row])) << "row " << row;
    return std::holds_alternative<double>(c[row]) ? std::get<double>(c[row]) : NAN;
}

std::set<int> EmptyRows(const xls::TExportColumn& c) {
    std::set<int> rows;
    for (int row = 0; row < xls::kExportRows; ++row)
        if (Empty(c, row)) rows.insert(row);
    return rows;
}

void InsertRange(std::set<int>& rows, int first, int last) {
    for (int row = first; row <= last; ++row) rows.insert(row);
}

// The first and last row of every block and of the harmonic runs inside them.
TEST(ExportColumn, EveryBlockStartsAndEndsInItsRow) {
    const auto s = RecomputedSignal();
    const auto c = Fill(*s);
    const sig::TSignalParamsU& v = s->Voltage;
    const sig::TSignalParamsI& i = s->Current;
    const sig::TPowerParams& f = s->FullPowers;
    const sig::TPowerParams& g = s->FundamentalPowers;
    const sig::TIeee1459Params& e = s->Ieee1459;
    const std::vector<std::pair<int, sig::real>> expected{{0, v.UA},
                                                          {2, v.UC},
                                                          {3, v.ULine[sig::lnAB]},
                                                          {8, v.URmsC},
                                                          {11, v.ULineRms[sig::lnCA]},
                                                          {12, v.SymFaza.Pos.Magnitude},
                                                          {13, v.SymLine.Pos.Magnitude},
                                                          {14, v.Freq},
                                                          {16, v.KUZero},
                                                          {17, v.KU[sig::fzA]},
                                                          {18, v.Garmonik.a.Koef[2]},
                                                          {66, v.Garmonik.a.Koef[50]},
                                                          {67, v.InterGarm[sig::fzA].Koef[1]},
                                                          {115, v.InterGarm[sig::fzA].Koef[49]},
                                                          {116, v.KU[sig::fzB]},
                                                          {314, v.KU[sig::fzAB]},
                                                          {315, v.Garmonik.ab.Koef[2]},
                                                          {610, v.InterGarm[sig::fzCA].Koef[49]},
                                                          {611, v.FazaAngleDiff[sig::lnAB]},
                                                          {612, v.Garmonik.a_b[2]},
                                                          {760, v.Garmonik.c_a[50]},
                                                          {761, i.IA},
                                                          {764, i.IN1},
                                                          {768, i.INRms},
                                                          {769, i.KI[sig::fzA]},
                                                          {770, i.Garmonik.a.Koef[2]},
                                                          {867, i.InterGarm[sig::fzA].Koef[49]},
                                                          {967, i.KI[sig::fzC]},
                                                          {1066, i.PhiUIA},
                                                          {1067, i.Garmonik.a.Angle[2]},
                                                          {1116, i.InterGarm[sig::fzA].Angle[1]},
                                                          {1264, i.PhiUIC},
                                                          {1362, i.InterGarm[sig::fzC].Angle[49]},
                                                          {1363, v.DeltaURms[sig::fzA]},
                                                          {1368, v.DeltaURms[sig::fzCA]},
                                                          {1369, v.DeltaUA},
                                                          {1374, v.DeltaULine[sig::lnCA]},
                                                          {1380, v.DeltaUPlus[sig::fzCA]},
                                                          {1386, v.DeltaUMinus[sig::fzCA]},
                                                          {1387, v.DeltaU1},
                                                          {1388, v.FreqDelta},
                                                          {1389, i.PhiUI0},
                                                          {1391, i.PhiUI2},
                                                          {1392, v.LineAngleDiff[sig::lnAB]},
                                                          {1395, i.KIZero},
                                                          {1396, i.KINeg},
                                                          {1397, v.SymFaza.Zero.Magnitude},
                                                          {1398, v.SymLine.Zero.Magnitude},
                                                          {1399, v.SymFaza.Neg.Magnitude},
                                                          {1400, v.SymLine.Neg.Magnitude},
                                                          {1401, v.URmsMean},
                                                          {1402, v.UMean},
                                                          {1403, i.I0},
                                                          {1405, i.I2},
                                                          {1406, i.IRmsMean},
                                                          {1407, i.IMean},
                                                          {1408, f.P[sig::fzA]},
                                                          {1411, f.PSum},
                                                          {1415, f.QSum},
                                                          {1419, f.SSum},
                                                          {1420, f.PSeq[sig::sqZero]},
                                                          {1421, f.PSeq[sig::sqPos]},
                                                          {1422, f.PSeq[sig::sqNeg]},
                                                          {1428, f.SSeq[sig::sqNeg]},
                                                          {1432, f.PFactor[sig::kSum]},
                                                          {1433, g.P[sig::fzA]},
                                                          {1434, g.PGarm[sig::fzA][2]},
                                                          {1482, g.PGarm[sig::fzA][50]},
                                                          {1483, g.P[sig::fzB]},
                                                          {1583, g.PSum},
                                                          {1632, g.PGarmSum[50]},
                                                          {1633, g.Q[sig::fzA]},
                                                          {1832, g.QGarmSum[50]},
                                                          {1833, g.S[sig::fzA]},
                                                          {2032, g.SGarmSum[50]},
                                                          {2033, v.UGarmVolts[sig::fzA][2]},
                                                          {2326, v.UGarmVolts[sig::fzCA][50]},
                                                          {2327, v.UInterVolts[sig::fzA][1]},
                                                          {2620, v.UInterVolts[sig::fzCA][49]},
                                                          {2621, i.IGarmAmps[sig::fzA][2]},
                                                          {2768, i.IInterAmps[sig::fzA][1]},
                                                          {2914, i.IInterAmps[sig::fzC][49]},
                                                          {2915, s->Collapses.Faza[sig::fzA].DepthPercent},
                                                          {2921, s->Collapses.Duration},
                                                          {2927, v.NominalFaza},
                                                          {2930, v.NominalLine},
                                                          {2938, s->Collapses.Line[sig::lnCA].UResidual},
                                                          {2983, s->Koleb.Pst[sig::fzA]},
                                                          {2994, s->Koleb.Pst[sig::fzCA]},
                                                          {2995, e.Se4},
                                                          {2999, e.K1},
                                                          {3000, e.DI[sig::fzA]},
                                                          {3017, e.DH[sig::fzC]},
                                                          {3018, e.DeI4},
                                                          {3026, e.PHSum},
                                                          {3032, e.LU3},
                                                          {3033, f.QFactor[sig::fzA]},
                                                          {3036, f.QFactor[sig::kSum]},
                                                          {3038, s->Energy.EnergyP},
                                                          {3039, s->Energy.EnergyQ},
                                                          {3052, s->Collapses.Faza[sig::fzA].ShownPercent},
                                                          {3057, s->Collapses.Line[sig::lnCA].ShownPercent},
                                                          {3058, 3 * f.PSeq[sig::sqZero]},
                                                          {3059, 3 * f.PSeq[sig::sqPos]},
                                                          {3066, 3 * f.SSeq[sig::sqNeg]}};
    for (const auto& [row, value] : expected) EXPECT_EQ(Real(*c, row), static_cast<double>(value)) << "row " << row;
    // The values are distinct enough that a block shifted by a row would show.
    EXPECT_NE(Real(*c, 18), Real(*c, 19));
    EXPECT_NE(Real(*c, 1421), Real(*c, 1422));
}

TEST(ExportColumn, IntegerRowsHoldIntegers) {
    const auto s = RecomputedSignal();
    const auto c = Fill(*s);
    EXPECT_EQ(std::get<std::int32_t>((*c)[3037]), 120);
    for (int row = 3040; row <= 3045; ++row) EXPECT_EQ(std::get<std::int32_t>((*c)[row]), 7);
    int integers = 0;
    for (const auto& cell : *c) integers += std::holds_alternative<std::int32_t>(cell);
    EXPECT_EQ(integers, 7);
}

// Only dips, every angle 30°: exactly the conditional rows that do not apply stay empty.
TEST(ExportColumn, DipsOnlyAndOneQuadrantLeaveTheOtherRowsEmpty) {
    const auto s = RecomputedSignal();
    const auto c = Fill(*s);
    std::set<int> expected;
    InsertRange(expected, 2939, 2962);                      // swell rows
    InsertRange(expected, 3046, 3051);                      // swell counts
    expected.insert({2964, 2970, 2972, 2974, 3068, 3070});  // the negative halves of the sign splits
    InsertRange(expected, 2966, 2968);                      // quadrants 2 ... 4 of the fundamental reactive power
    InsertRange(expected, 2976, 2978);
    InsertRange(expected, 2980, 2982);
    expected.insert({3071, 3072});
    EXPECT_EQ(EmptyRows(*c), expected);
    const sig::TPowerParams& g = s->FundamentalPowers;
    EXPECT_EQ(Real(*c, 2965), static_cast<double>(g.Q[0] + g.Q[1] + g.Q[2]));
    const sig::TPowerParams& f = s->FullPowers;
    EXPECT_EQ(Real(*c, 2963), static_cast<double>(f.P[0] + f.P[1] + f.P[2]));
    EXPECT_EQ(Real(*c, 2969), static_cast<double>(std::fabs(f.S[0] + f.S[1] + f.S[2])));
    EXPECT_EQ(Real(*c, 2979), static_cast<double>(f.Q[0] + f.Q[1] + f.Q[2]));
    const sig::real p1 = s->Voltage.SymFaza.Pos.Magnitude * s->Current.I1 * sig::CosDeg(s->Current.PhiUI1);
    EXPECT_NEAR(Real(*c, 2973), static_cast<double>(p1), 1e-9 * std::fabs(static_cast<double>(p1)));
    EXPECT_GT(Real(*c, 2975), 0);
}

TEST(ExportColumn, SwellAndSetReferenceMoveTheBlockToTheSwellRows) {
    const auto s = RecomputedSignal({30, true, sig::rvSet});
    const auto c = Fill(*s);
    EXPECT_TRUE(Empty(*c, 2916));    // B depth
    EXPECT_EQ(Real(*c, 2940), 1.2);  // B KPerU
    EXPECT_EQ(Real(*c, 2946), static_cast<double>(s->Collapses.Duration));
    EXPECT_EQ(Real(*c, 2952), static_cast<double>(s->Voltage.URmsB));
    EXPECT_EQ(Real(*c, 2927), static_cast<double>(s->Voltage.URmsA));
    EXPECT_EQ(Real(*c, 2958), static_cast<double>(s->Collapses.Faza[sig::fzB].UPer));
    EXPECT_TRUE(Empty(*c, 3041));
    EXPECT_EQ(std::get<std::int32_t>((*c)[3047]), 7);
    EXPECT_TRUE(Empty(*c, 3046));
    for (int slot = 0; slot < 6; ++slot) EXPECT_FALSE(Empty(*c, 3052 + slot));
    for (int line = sig::lnAB; line <= sig::lnCA; ++line) {
        const int referenceRow = s->Collapses.Line[line].Kind == sig::ckDip ? 2930 : 2954;
        EXPECT_EQ(Real(*c, referenceRow + line), static_cast<double>(s->Voltage.ULineRms[line]));
        EXPECT_TRUE(Empty(*c, (referenceRow == 2930 ? 2954 : 2930) + line));
    }
}

TEST(ExportColumn, NegativeActivePowerGoesToTheSecondRows) {
    const auto s = RecomputedSignal({170});
    const auto c = Fill(*s);
    const sig::TPowerParams& f = s->FullPowers;
    const sig::real p = f.P[0] + f.P[1] + f.P[2];
    ASSERT_LT(p, 0);
    EXPECT_TRUE(Empty(*c, 2963));
    EXPECT_EQ(Real(*c, 2964), static_cast<double>(-p));
    EXPECT_TRUE(Empty(*c, 2969));
    EXPECT_EQ(Real(*c, 2970), static_cast<double>(std::fabs(f.S[0] + f.S[1] + f.S[2])));
    EXPECT_TRUE(Empty(*c, 2973));
    EXPECT_GT(Real(*c, 2974), 0);
    EXPECT_TRUE(Empty(*c, 2965));
    EXPECT_FALSE(Empty(*c, 2966));  // 170° is in the second quadrant
}

TEST(ExportColumn, QuadrantsSplitPhasesByTheirAngle) {
    auto s = RecomputedSignal();
    s->Current.PhiUIA = 30;
    s->Current.PhiUIB = -100;
    s->Current.PhiUIC = 45;
    const auto c = Fill(*s);
    const sig::TPowerParams& g = s->FundamentalPowers;
    EXPECT_EQ(Real(*c, 2965), static_cast<double>(std::fabs(g.Q[sig::fzA] + g.Q[sig::fzC])));
    EXPECT_TRUE(Empty(*c, 2966));
    EXPECT_EQ(Real(*c, 2967), static_cast<double>(std::fabs(g.Q[sig::fzB])));
    EXPECT_TRUE(Empty(*c, 2968));
}

TEST(ExportColumn, QuadrantBoundaries) {
    EXPECT_EQ(xls::Quadrant(0), 1);
    EXPECT_EQ(xls::Quadrant(89.999L), 1);
    EXPECT_EQ(xls::Quadrant(90), 2);
    EXPECT_EQ(xls::Quadrant(180), 2);
    EXPECT_EQ(xls::Quadrant(-180), 3);
    EXPECT_EQ(xls::Quadrant(-90.001L), 3);
    EXPECT_EQ(xls::Quadrant(-90), 4);
    EXPECT_EQ(xls::Quadrant(-0.001L), 4);
    EXPECT_EQ(xls::Quadrant(270), 4);
    EXPECT_EQ(xls::Quadrant(-200), 2);
}

TEST(ExportColumn, RefillClearsRowsOfThePreviousSignal) {
    const auto c = Fill(*RecomputedSignal({170}));
    xls::FillExportColumn(*RecomputedSignal(), *c);
    EXPECT_TRUE(Empty(*c, 2964));
    EXPECT_FALSE(Empty(*c, 2963));
}

}  // namespace
