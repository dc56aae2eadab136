#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

// The records of one test signal: what the user composes and every quantity
// derived from it. Plain values; a calculation overwrites every derived field.
namespace sig {

// "real": 80-bit extended precision throughout.
using real = long double;
static_assert(std::numeric_limits<real>::digits == 64, "real must be the 80-bit extended type");

// An array indexed First ... Last, as the quantities are numbered (harmonic
// orders 1 ... 50 or 2 ... 50, interharmonic indices 1 ... 49).
template <int First, int Last>
struct TRealRange {
    static constexpr int first = First;
    static constexpr int last = Last;
    std::array<real, Last - First + 1> Values{};

    real& operator[](int i) {
        assert(i >= First && i <= Last);
        return Values[i - First];
    }
    const real& operator[](int i) const {
        assert(i >= First && i <= Last);
        return Values[i - First];
    }
};

using THarmonicOrders = TRealRange<1, 50>;  // slot 1 is never an input and stays 0
using THigherOrders = TRealRange<2, 50>;
using TInterOrders = TRealRange<1, 49>;  // index m is the order m + 0.5

constexpr int kHarmonics = 50;
constexpr int kInterHarmonics = 49;

// Indices of arrays over the phases A, B, C and of arrays over A ... CA.
enum TFaza : int { fzA = 0, fzB = 1, fzC = 2, fzAB = 3, fzBC = 4, fzCA = 5 };
// Indices of arrays over the lines AB, BC, CA.
enum TLine : int { lnAB = 0, lnBC = 1, lnCA = 2 };
// Indices of the sequence power arrays, in their order.
enum TSequence : int { sqPos = 0, sqNeg = 1, sqZero = 2 };
// The sum slot of PFactor and QFactor.
constexpr int kSum = 3;

// A line XY is X minus Y: AB = A - B, BC = B - C, CA = C - A.
constexpr int LineFirstPhase(int line) { return line; }
constexpr int LineSecondPhase(int line) { return (line + 1) % 3; }
// The slot of a line in an array over A ... CA.
constexpr int LineSlot(int line) { return fzAB + line; }

using TPhaseReals = std::array<real, 3>;
using TLineReals = std::array<real, 3>;
using TSixReals = std::array<real, 6>;

// ---------------------------------------------------------------- harmonic store

struct TGarmonikFaza {
    THarmonicOrders Koef;   // % of the fundamental
    THarmonicOrders Angle;  // degrees
};

// The parts of the store a selector names.
enum class TGarmonikPart : int {
    a,
    b,
    c,
    ab,
    bc,
    ca,  // blocks
    a_b,
    b_c,
    c_a,
    ab_bc,
    bc_ca,
    ca_ab,  // angle differences
};

// "faza_a" ... "faza_ca", "faza_a_b" ... "faza_ca_ab"; empty for any other text.
std::optional<TGarmonikPart> ParseGarmonikSelector(std::string_view selector);

// Harmonics of the three phases and the three lines with the angle
// differences between them. Values set through the setters pass through
// single precision; that narrowing is part of what the calibrator is given.
class TGarmonik {
public:
    TGarmonikFaza a, b, c, ab, bc, ca;
    THarmonicOrders a_b, b_c, c_a, ab_bc, bc_ca, ca_ab;

    // Orders outside 1 ... 50 and unknown selectors are ignored.
    void SetKoef(std::string_view selector, std::uint8_t n, float value);
    void SetAngle(std::string_view selector, std::uint8_t n, float value);
    // 0 for orders outside 1 ... 50 and unknown selectors. GetKoef also reads
    // the phase differences "faza_a_b", "faza_b_c", "faza_c_a".
    real GetKoef(std::string_view selector, std::uint8_t n) const;
    real GetAngle(std::string_view selector, std::uint8_t n) const;
    // Copies a block ("faza_a" ... "faza_ca"); other selectors copy nothing.
    void CopyFaza(std::string_view selector, TGarmonikFaza& destination) const;
    void Clear();
    // For a current store, whose angles are voltage-minus-current angles: the
    // phase differences of the currents from those of the voltage store.
    void DeriveAngleDiffs(const TGarmonik& voltage);

    void SetKoef(TGarmonikPart part, int n, float value);
    void SetAngle(TGarmonikPart part, int n, float value);

    // Block of a phase or line by its slot fzA ... fzCA.
    TGarmonikFaza& Faza(int slot);
    const TGarmonikFaza& Faza(int slot) const;
    THarmonicOrders& Diff(TGarmonikPart part);
    const THarmonicOrders& Diff(TGarmonikPart part) const;
};

inline const TGarmonikFaza& TGarmonik::Faza(int slot) const {
    constexpr TGarmonikFaza TGarmonik::*blocks[6]{&TGarmonik::a,  &TGarmonik::b,  &TGarmonik::c,
                                                  &TGarmonik::ab, &TGarmonik::bc, &TGarmonik::ca};
    assert(slot >= fzA && slot <= fzCA);
    return this->*blocks[slot];
}

inline TGarmonikFaza& TGarmonik::Faza(int slot) {
    return const_cast<TGarmonikFaza&>(static_cast<const TGarmonik&>(*this).Faza(slot));
}

// ---------------------------------------------------------------- component records

struct TInterGarmonik {
    TInterOrders Koef;   // % of the fundamental
    TInterOrders Angle;  // degrees
};

struct TPolar {
    real Magnitude = 0;
    real Angle = 0;
};

struct TSymComponents {
    TPolar Pos, Zero, Neg;
};

// ---------------------------------------------------------------- voltage and current

// Each record holds its harmonic store as a member: the store lives and dies
// with the record, and a copy of the record carries a store of its own, so no
// copy can release or change a store it was copied from.
struct TSignalParamsU {
    TGarmonik Garmonik;
    std::array<TInterGarmonik, 6> InterGarm{};
    real Nominal = 0;
    real NominalFaza = 0;
    real NominalLine = 0;
    TSymComponents SymFaza, SymLine;
    real Freq = 0;
    real FreqDelta = 0;
    real FreqNominal = 0;
    real UA = 0, UB = 0, UC = 0;
    real UMean = 0;
    std::array<THigherOrders, 6> UGarmVolts{};
    std::array<TInterOrders, 6> UInterVolts{};
    real URmsA = 0, URmsB = 0, URmsC = 0;
    real URmsMean = 0;
    real DeltaUA = 0, DeltaUB = 0, DeltaUC = 0;
    real ShiftA = 0, ShiftB = 0, ShiftC = 0;
    TLineReals LineAngle{};
    TLineReals FazaAngleDiff{};
    TLineReals LineAngleDiff{};
    TLineReals ULine{};
    TLineReals ULineRms{};
    TLineReals DeltaULine{};
    real KUNeg = 0;
    real KUZero = 0;
    TSixReals KU{};
    TSixReals DeltaURms{};
    TSixReals DeltaUPlus{};
    TSixReals DeltaUMinus{};
    real DeltaU1 = 0;
};

struct TSignalParamsI {
    TGarmonik Garmonik;  // line blocks stay zero
    std::array<TInterGarmonik, 3> InterGarm{};
    real Nominal = 0;
    real I1 = 0, PhiUI1 = 0;
    real I0 = 0, PhiUI0 = 0;
    real I2 = 0, PhiUI2 = 0;
    real KIZero = 0, KINeg = 0;
    real IN1 = 0;
    real INRms = 0;
    real IA = 0, IB = 0, IC = 0;
    real IMean = 0;
    std::array<THigherOrders, 3> IGarmAmps{};
    std::array<TInterOrders, 3> IInterAmps{};
    real IRmsA = 0, IRmsB = 0, IRmsC = 0;
    real IRmsMean = 0;
    real DeltaIA = 0, DeltaIB = 0, DeltaIC = 0;
    real PhiUIA = 0, PhiUIB = 0, PhiUIC = 0;  // voltage minus current, degrees
    real AngleIA = 0, AngleIB = 0, AngleIC = 0;
    TLineReals IAngleDiff{};
    TPhaseReals KI{};
};

// Per-phase access to the fields named UA/UB/UC and so on.
namespace detail {
template <class Record>
using TField = real Record::*;
inline constexpr TField<TSignalParamsU> kU[3]{&TSignalParamsU::UA, &TSignalParamsU::UB, &TSignalParamsU::UC};
inline constexpr TField<TSignalParamsU> kShift[3]{&TSignalParamsU::ShiftA, &TSignalParamsU::ShiftB,
                                                  &TSignalParamsU::ShiftC};
inline constexpr TField<TSignalParamsU> kURms[3]{&TSignalParamsU::URmsA, &TSignalParamsU::URmsB,
                                                 &TSignalParamsU::URmsC};
inline constexpr TField<TSignalParamsU> kDeltaU[3]{&TSignalParamsU::DeltaUA, &TSignalParamsU::DeltaUB,
                                                   &TSignalParamsU::DeltaUC};
inline constexpr TField<TSignalParamsI> kI[3]{&TSignalParamsI::IA, &TSignalParamsI::IB, &TSignalParamsI::IC};
inline constexpr TField<TSignalParamsI> kPhiUI[3]{&TSignalParamsI::PhiUIA, &TSignalParamsI::PhiUIB,
                                                  &TSignalParamsI::PhiUIC};
inline constexpr TField<TSignalParamsI> kAngleI[3]{&TSignalParamsI::AngleIA, &TSignalParamsI::AngleIB,
                                                   &TSignalParamsI::AngleIC};
inline constexpr TField<TSignalParamsI> kIRms[3]{&TSignalParamsI::IRmsA, &TSignalParamsI::IRmsB,
                                                 &TSignalParamsI::IRmsC};
inline constexpr TField<TSignalParamsI> kDeltaI[3]{&TSignalParamsI::DeltaIA, &TSignalParamsI::DeltaIB,
                                                   &TSignalParamsI::DeltaIC};
}  // namespace detail

inline real& U(TSignalParamsU& v, int phase) { return v.*detail::kU[phase]; }
inline real U(const TSignalParamsU& v, int phase) { return v.*detail::kU[phase]; }
inline real& Shift(TSignalParamsU& v, int phase) { return v.*detail::kShift[phase]; }
inline real Shift(const TSignalParamsU& v, int phase) { return v.*detail::kShift[phase]; }
inline real& URms(TSignalParamsU& v, int phase) { return v.*detail::kURms[phase]; }
inline real URms(const TSignalParamsU& v, int phase) { return v.*detail::kURms[phase]; }
inline real& DeltaU(TSignalParamsU& v, int phase) { return v.*detail::kDeltaU[phase]; }
inline real DeltaU(const TSignalParamsU& v, int phase) { return v.*detail::kDeltaU[phase]; }
inline real& I(TSignalParamsI& c, int phase) { return c.*detail::kI[phase]; }
inline real I(const TSignalParamsI& c, int phase) { return c.*detail::kI[phase]; }
inline real& PhiUI(TSignalParamsI& c, int phase) { return c.*detail::kPhiUI[phase]; }
inline real PhiUI(const TSignalParamsI& c, int phase) { return c.*detail::kPhiUI[phase]; }
inline real& AngleI(TSignalParamsI& c, int phase) { return c.*detail::kAngleI[phase]; }
inline real AngleI(const TSignalParamsI& c, int phase) { return c.*detail::kAngleI[phase]; }
inline real& IRms(TSignalParamsI& c, int phase) { return c.*detail::kIRms[phase]; }
inline real IRms(const TSignalParamsI& c, int phase) { return c.*detail::kIRms[phase]; }
inline real& DeltaI(TSignalParamsI& c, int phase) { return c.*detail::kDeltaI[phase]; }
inline real DeltaI(const TSignalParamsI& c, int phase) { return c.*detail::kDeltaI[phase]; }

// ---------------------------------------------------------------- powers

// The powers of the fundamental or of the whole signal.
struct TPowerSummary {
    TPhaseReals CosPhi{};
    TPhaseReals P{};
    TPhaseReals Q{};
    TPhaseReals S{};
    real PSum = 0, QSum = 0, SSum = 0;
    std::array<real, 3> PSeq{};  // sqPos, sqNeg, sqZero
    std::array<real, 3> QSeq{};
    std::array<real, 3> SSeq{};
    std::array<real, 4> PFactor{};  // A, B, C, kSum
    std::array<real, 4> QFactor{};
};

// The per-harmonic arrays are filled in the fundamental powers only; copying
// one power record's summary into another leaves them alone.
struct TPowerParams : TPowerSummary {
    std::array<THigherOrders, 3> PGarm{}, QGarm{}, SGarm{};
    THigherOrders PGarmSum, QGarmSum, SGarmSum;
};

struct TIeee1459Params {
    real Se4 = 0, Se3 = 0;
    real KE4 = 0, KE3 = 0;
    real K1 = 0;
    TPhaseReals DI{}, DU{}, SH{}, SN{}, PH{}, DH{};
    real DeI4 = 0, DeI3 = 0;
    real DeU4 = 0, DeU3 = 0;
    real SeH4 = 0, SeH3 = 0;
    real SeN4 = 0, SeN3 = 0;
    real PHSum = 0;
    real DeH4 = 0, DeH3 = 0;
    real HP4 = 0, HP3 = 0;
    real LU4 = 0, LU3 = 0;
};

// ---------------------------------------------------------------- dips, fluctuations, switches

enum CollapseKind : std::uint8_t { ckDip = 1, ckSwell = 2 };
enum CollapseBinding : std::uint8_t { cbNone = 0, cbHalfPeriod = 1, cbPeriod = 2 };
enum RefVoltageKind : std::uint8_t { rvNominal = 0, rvSet = 1 };

struct TCollapseFazaParams {
    std::uint8_t Kind = ckDip;
    real KPerU = 1;
    real DepthPercent = 0;
    real UPer = 0;
    real UResidual = 0;
    real ShownPercent = 0;
};

struct TCollapsesParams {
    real Duration = 0;  // s
    std::int32_t Count = 0;
    real Period = 0;              // s
    std::int32_t StartPhase = 0;  // degrees
    std::uint8_t Binding = cbPeriod;
    std::uint8_t RefKind = rvNominal;
    std::array<TCollapseFazaParams, 3> Faza{};
    std::array<TCollapseFazaParams, 3> Line{};
};

struct TKolebParams {
    real Freq = 1;  // Hz
    real ChangesPerMin = 0;
    real Period = 0;
    real HalfPeriod = 0;
    TPhaseReals Swing{};     // %
    TLineReals SwingLine{};  // %
    real PeriodCode = 0;
    TSixReals Pst{};
};

struct TSignalSwitches {
    bool IncludeInterGarm = false;
    bool UOnA = true, UOnB = true, UOnC = true;
    bool IOnA = true, IOnB = true, IOnC = true;
    std::uint8_t HarmCountI = 50, HarmCountU = 50;
    std::uint8_t InterCountI = 50, InterCountU = 50;
};

inline bool UOn(const TSignalSwitches& s, int phase) {
    constexpr bool TSignalSwitches::*on[3]{&TSignalSwitches::UOnA, &TSignalSwitches::UOnB, &TSignalSwitches::UOnC};
    return s.*on[phase];
}
inline bool IOn(const TSignalSwitches& s, int phase) {
    constexpr bool TSignalSwitches::*on[3]{&TSignalSwitches::IOnA, &TSignalSwitches::IOnB, &TSignalSwitches::IOnC};
    return s.*on[phase];
}

struct TEnergyParams {
    std::int32_t TestSeconds = 0;
    real EnergyP = 0;  // Wh
    real EnergyQ = 0;  // varh
};

}  // namespace sig
