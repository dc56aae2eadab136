#include "export/ExportColumn.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "signal/Helpers.h"

namespace xls {
namespace {

using sig::real;

constexpr int kVoltageBlock = 0;
constexpr int kCurrentBlock = 761;
constexpr int kDeviationBlock = 1363;
constexpr int kPowerBlock = 1408;
constexpr int kComponentBlock = 2033;
constexpr int kCollapseBlock = 2915;
constexpr int kDirectionBlock = 2963;
constexpr int kFlickerBlock = 2983;
constexpr int kUnwrittenRows = 3071;

// Writes consecutive rows from a starting row; Skip leaves a row empty.
class TRows {
public:
    TRows(TExportColumn& column, int row) : column_(column), row_(row) {}

    void Put(real x) { column_.at(row_++) = static_cast<double>(x); }
    void PutInt(std::int32_t x) { column_.at(row_++) = x; }
    void PutIf(bool condition, real x) { condition ? Put(x) : Skip(); }
    void PutIntIf(bool condition, std::int32_t x) { condition ? PutInt(x) : Skip(); }
    void Skip() { ++row_; }
    template <class Range>
    void PutAll(const Range& values) {
        for (const real x : values.Values) Put(x);
    }
    template <class Array>
    void PutEach(const Array& values) {
        for (const real x : values) Put(x);
    }
    // x into the first row of the pair when x >= 0, |x| into the second otherwise.
    void PutSignSplit(real x) {
        PutIf(x >= 0, x);
        PutIf(x < 0, std::fabs(x));
    }
    // Four rows of the quadrant sums; a zero sum leaves its row empty.
    void PutQuadrants(const std::array<real, 4>& sums) {
        for (const real sum : sums) PutIf(sum != 0, std::fabs(sum));
    }
    int Row() const { return row_; }

private:
    TExportColumn& column_;
    int row_;
};

std::array<real, 4> QuadrantSums(const sig::TPhaseReals& values, const sig::TSignalParamsI& i) {
    std::array<real, 4> sums{};
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) sums[Quadrant(sig::PhiUI(i, phase)) - 1] += values[phase];
    return sums;
}

real PhaseSum(const sig::TPhaseReals& values) { return values[0] + values[1] + values[2]; }

// A block's harmonics n = 2 ... 50 from the store array of orders 1 ... 50.
void PutHigherOrders(TRows& rows, const sig::THarmonicOrders& orders) {
    for (int n = 2; n <= sig::kHarmonics; ++n) rows.Put(orders[n]);
}

void FillVoltage(const sig::TSignalParamsU& v, TRows& rows) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) rows.Put(sig::U(v, phase));
    rows.PutEach(v.ULine);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) rows.Put(sig::URms(v, phase));
    rows.PutEach(v.ULineRms);
    rows.Put(v.SymFaza.Pos.Magnitude);
    rows.Put(v.SymLine.Pos.Magnitude);
    rows.Put(v.Freq);
    rows.Put(v.KUNeg);
    rows.Put(v.KUZero);
    for (int slot = sig::fzA; slot <= sig::fzCA; ++slot) {
        rows.Put(v.KU[slot]);
        PutHigherOrders(rows, v.Garmonik.Faza(slot).Koef);
        rows.PutAll(v.InterGarm[slot].Koef);
    }
    constexpr sig::TGarmonikPart diffs[3]{sig::TGarmonikPart::a_b, sig::TGarmonikPart::b_c, sig::TGarmonikPart::c_a};
    for (int line = sig::lnAB; line <= sig::lnCA; ++line) {
        rows.Put(v.FazaAngleDiff[line]);
        PutHigherOrders(rows, v.Garmonik.Diff(diffs[line]));
    }
}

void FillCurrent(const sig::TSignalParamsI& i, TRows& rows) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) rows.Put(sig::I(i, phase));
    rows.Put(i.IN1);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) rows.Put(sig::IRms(i, phase));
    rows.Put(i.INRms);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        rows.Put(i.KI[phase]);
        PutHigherOrders(rows, i.Garmonik.Faza(phase).Koef);
        rows.PutAll(i.InterGarm[phase].Koef);
    }
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        rows.Put(sig::PhiUI(i, phase));
        PutHigherOrders(rows, i.Garmonik.Faza(phase).Angle);
        rows.PutAll(i.InterGarm[phase].Angle);
    }
}

void FillDeviations(const sig::TSignalParamsU& v, const sig::TSignalParamsI& i, TRows& rows) {
    rows.PutEach(v.DeltaURms);
    rows.PutEach(std::array{v.DeltaUA, v.DeltaUB, v.DeltaUC});
    rows.PutEach(v.DeltaULine);
    rows.PutEach(v.DeltaUPlus);
    rows.PutEach(v.DeltaUMinus);
    rows.Put(v.DeltaU1);
    rows.Put(v.FreqDelta);
    rows.PutEach(std::array{i.PhiUI0, i.PhiUI1, i.PhiUI2});
    rows.PutEach(v.LineAngleDiff);
    rows.PutEach(std::array{i.KIZero, i.KINeg});
    rows.PutEach(std::array{v.SymFaza.Zero.Magnitude, v.SymLine.Zero.Magnitude});
    rows.PutEach(std::array{v.SymFaza.Neg.Magnitude, v.SymLine.Neg.Magnitude});
    rows.PutEach(std::array{v.URmsMean, v.UMean});
    rows.PutEach(std::array{i.I0, i.I1, i.I2});
    rows.PutEach(std::array{i.IRmsMean, i.IMean});
}

// Sequence powers are held as Pos, Neg, Zero and exported as Zero, Pos, Neg.
void PutSequences(TRows& rows, const std::array<real, 3>& seq, real factor) {
    for (const int s : {sig::sqZero, sig::sqPos, sig::sqNeg}) rows.Put(factor * seq[s]);
}

void PutHarmonicGroups(TRows& rows, const sig::TPhaseReals& fundamental, real sum,
                       const std::array<sig::THigherOrders, 3>& perPhase, const sig::THigherOrders& perSum) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        rows.Put(fundamental[phase]);
        rows.PutAll(perPhase[phase]);
    }
    rows.Put(sum);
    rows.PutAll(perSum);
}

void FillPowers(const sig::TPowerParams& f, const sig::TPowerParams& g, TRows& rows) {
    rows.PutEach(f.P);
    rows.Put(f.PSum);
    rows.PutEach(f.Q);
    rows.Put(f.QSum);
    rows.PutEach(f.S);
    rows.Put(f.SSum);
    PutSequences(rows, f.PSeq, 1);
    PutSequences(rows, f.QSeq, 1);
    PutSequences(rows, f.SSeq, 1);
    rows.PutEach(f.PFactor);
    PutHarmonicGroups(rows, g.P, g.PSum, g.PGarm, g.PGarmSum);
    PutHarmonicGroups(rows, g.Q, g.QSum, g.QGarm, g.QGarmSum);
    PutHarmonicGroups(rows, g.S, g.SSum, g.SGarm, g.SGarmSum);
}

void FillComponents(const sig::TSignalParamsU& v, const sig::TSignalParamsI& i, TRows& rows) {
    for (const auto& block : v.UGarmVolts) rows.PutAll(block);
    for (const auto& block : v.UInterVolts) rows.PutAll(block);
    for (const auto& block : i.IGarmAmps) rows.PutAll(block);
    for (const auto& block : i.IInterAmps) rows.PutAll(block);
}

// The six blocks A, B, C, AB, BC, CA of the dips and swells.
const sig::TCollapseFazaParams& CollapseBlock(const sig::TCollapsesParams& d, int slot) {
    return slot < sig::fzAB ? d.Faza[slot] : d.Line[slot - sig::fzAB];
}

real CollapseReference(const sig::TSignalParamsU& v, const sig::TCollapsesParams& d, int slot) {
    const bool phase = slot < sig::fzAB;
    if (d.RefKind == sig::rvSet) return phase ? sig::URms(v, slot) : v.ULineRms[slot - sig::fzAB];
    return phase ? v.NominalFaza : v.NominalLine;
}

// Six rows of one quantity, each written only for the blocks of the given kind.
template <class Value>
void PutForKind(TRows& rows, const sig::TCollapsesParams& d, std::uint8_t kind, Value value) {
    for (int slot = sig::fzA; slot <= sig::fzCA; ++slot)
        rows.PutIf(CollapseBlock(d, slot).Kind == kind, value(slot, CollapseBlock(d, slot)));
}

void FillCollapses(const sig::TSignalParamsU& v, const sig::TCollapsesParams& d, TRows& rows) {
    using TBlock = sig::TCollapseFazaParams;
    const auto duration = [&](int, const TBlock&) { return d.Duration; };
    const auto reference = [&](int slot, const TBlock&) { return CollapseReference(v, d, slot); };
    PutForKind(rows, d, sig::ckDip, [](int, const TBlock& b) { return b.DepthPercent; });
    PutForKind(rows, d, sig::ckDip, duration);
    PutForKind(rows, d, sig::ckDip, reference);
    PutForKind(rows, d, sig::ckDip, [](int, const TBlock& b) { return b.UResidual; });
    PutForKind(rows, d, sig::ckSwell, [](int, const TBlock& b) { return b.KPerU; });
    PutForKind(rows, d, sig::ckSwell, duration);
    PutForKind(rows, d, sig::ckSwell, reference);
    PutForKind(rows, d, sig::ckSwell, [](int, const TBlock& b) { return b.UPer; });
}

void FillDirections(const sig::TSignalParamsU& v, const sig::TSignalParamsI& i, const sig::TPowerParams& f,
                    const sig::TPowerParams& g, TRows& rows) {
    const real p = PhaseSum(f.P);
    rows.PutSignSplit(p);
    rows.PutQuadrants(QuadrantSums(g.Q, i));
    const real s = std::fabs(PhaseSum(f.S));
    rows.PutIf(p >= 0, s);
    rows.PutIf(p < 0, s);
    rows.PutSignSplit(PhaseSum(g.P));
    const sig::TPhasor unit = sig::UnitPhasor(i.PhiUI1);
    const real apparent = v.SymFaza.Pos.Magnitude * i.I1;
    rows.PutSignSplit(apparent * unit.x);
    // Only the row of the angle's quadrant is written, whatever the value.
    const int quadrant = Quadrant(i.PhiUI1);
    for (int q = 1; q <= 4; ++q) rows.PutIf(q == quadrant, std::fabs(apparent * unit.y));
    rows.PutQuadrants(QuadrantSums(f.Q, i));
}

void PutIeee1459(TRows& rows, const sig::TIeee1459Params& e) {
    rows.PutEach(std::array{e.Se4, e.Se3, e.KE4, e.KE3, e.K1});
    for (const auto& phases : {e.DI, e.DU, e.SH, e.SN, e.PH, e.DH}) rows.PutEach(phases);
    rows.PutEach(std::array{e.DeI4, e.DeI3, e.DeU4, e.DeU3, e.SeH4, e.SeH3, e.SeN4, e.SeN3, e.PHSum, e.DeH4, e.DeH3,
                            e.HP4, e.HP3, e.LU4, e.LU3});
}

void FillFlickerAndTotals(const sig::TPowerParams& f, const sig::TPowerParams& g, const sig::TCollapsesParams& d,
                          const sig::TKolebParams& k, const sig::TIeee1459Params& e, const sig::TEnergyParams& w,
                          TRows& rows) {
    rows.PutEach(k.Pst);
    rows.PutEach(k.Pst);
    PutIeee1459(rows, e);
    rows.PutEach(f.QFactor);
    rows.PutInt(w.TestSeconds);
    rows.PutEach(std::array{w.EnergyP, w.EnergyQ});
    for (const std::uint8_t kind : {sig::ckDip, sig::ckSwell})
        for (int slot = sig::fzA; slot <= sig::fzCA; ++slot)
            rows.PutIntIf(CollapseBlock(d, slot).Kind == kind, d.Count);
    for (int slot = sig::fzA; slot <= sig::fzCA; ++slot) rows.Put(CollapseBlock(d, slot).ShownPercent);
    PutSequences(rows, f.PSeq, 3);
    PutSequences(rows, f.QSeq, 3);
    PutSequences(rows, f.SSeq, 3);
    rows.PutSignSplit(PhaseSum(f.Q));
    rows.PutSignSplit(PhaseSum(g.Q));
}

// Each block starts at its fixed row; a block that wrote a different number
// of rows would shift every row after it, which templates cannot survive.
void CheckBlockEnd(const TRows& rows, int expected) {
    if (rows.Row() != expected) throw std::logic_error("export column block ends at row " + std::to_string(rows.Row()));
}

}  // namespace

int Quadrant(real angle) {
    if (angle < -180 || angle > 180) angle = sig::NormalizeAngle(angle);
    if (angle >= 0) return angle < 90 ? 1 : 2;
    return angle < -90 ? 3 : 4;
}

void FillExportColumn(const sig::TSignalParamsU& v, const sig::TSignalParamsI& i, const sig::TPowerParams& full,
                      const sig::TPowerParams& fundamental, const sig::TCollapsesParams& d, const sig::TKolebParams& k,
                      const sig::TIeee1459Params& e, const sig::TEnergyParams& w, TExportColumn& column) {
    column.fill(std::monostate{});
    TRows rows(column, kVoltageBlock);
    FillVoltage(v, rows);
    CheckBlockEnd(rows, kCurrentBlock);
    FillCurrent(i, rows);
    CheckBlockEnd(rows, kDeviationBlock);
    FillDeviations(v, i, rows);
    CheckBlockEnd(rows, kPowerBlock);
    FillPowers(full, fundamental, rows);
    CheckBlockEnd(rows, kComponentBlock);
    FillComponents(v, i, rows);
    CheckBlockEnd(rows, kCollapseBlock);
    FillCollapses(v, d, rows);
    CheckBlockEnd(rows, kDirectionBlock);
    FillDirections(v, i, full, fundamental, rows);
    CheckBlockEnd(rows, kFlickerBlock);
    FillFlickerAndTotals(full, fundamental, d, k, e, w, rows);
    CheckBlockEnd(rows, kUnwrittenRows);
}

void FillExportColumn(const sig::TSignalSet& s, TExportColumn& column) {
    FillExportColumn(s.Voltage, s.Current, s.FullPowers, s.FundamentalPowers, s.Collapses, s.Koleb, s.Ieee1459,
                     s.Energy, column);
}

}  // namespace xls
