#include "signal/Records.h"

namespace sig {
namespace {

template <class Record>
using Field = real Record::*;

constexpr Field<TSignalParamsU> kU[3]{&TSignalParamsU::UA, &TSignalParamsU::UB, &TSignalParamsU::UC};
constexpr Field<TSignalParamsU> kShift[3]{&TSignalParamsU::ShiftA, &TSignalParamsU::ShiftB, &TSignalParamsU::ShiftC};
constexpr Field<TSignalParamsU> kURms[3]{&TSignalParamsU::URmsA, &TSignalParamsU::URmsB, &TSignalParamsU::URmsC};
constexpr Field<TSignalParamsU> kDeltaU[3]{&TSignalParamsU::DeltaUA, &TSignalParamsU::DeltaUB, &TSignalParamsU::DeltaUC};
constexpr Field<TSignalParamsI> kI[3]{&TSignalParamsI::IA, &TSignalParamsI::IB, &TSignalParamsI::IC};
constexpr Field<TSignalParamsI> kPhiUI[3]{&TSignalParamsI::PhiUIA, &TSignalParamsI::PhiUIB, &TSignalParamsI::PhiUIC};
constexpr Field<TSignalParamsI> kAngleI[3]{&TSignalParamsI::AngleIA, &TSignalParamsI::AngleIB, &TSignalParamsI::AngleIC};
constexpr Field<TSignalParamsI> kIRms[3]{&TSignalParamsI::IRmsA, &TSignalParamsI::IRmsB, &TSignalParamsI::IRmsC};
constexpr Field<TSignalParamsI> kDeltaI[3]{&TSignalParamsI::DeltaIA, &TSignalParamsI::DeltaIB, &TSignalParamsI::DeltaIC};
constexpr bool TSignalSwitches::* kUOn[3]{&TSignalSwitches::UOnA, &TSignalSwitches::UOnB, &TSignalSwitches::UOnC};
constexpr bool TSignalSwitches::* kIOn[3]{&TSignalSwitches::IOnA, &TSignalSwitches::IOnB, &TSignalSwitches::IOnC};

}  // namespace

real& U(TSignalParamsU& v, int phase) { return v.*kU[phase]; }
real U(const TSignalParamsU& v, int phase) { return v.*kU[phase]; }
real& Shift(TSignalParamsU& v, int phase) { return v.*kShift[phase]; }
real Shift(const TSignalParamsU& v, int phase) { return v.*kShift[phase]; }
real& URms(TSignalParamsU& v, int phase) { return v.*kURms[phase]; }
real URms(const TSignalParamsU& v, int phase) { return v.*kURms[phase]; }
real& DeltaU(TSignalParamsU& v, int phase) { return v.*kDeltaU[phase]; }
real& I(TSignalParamsI& c, int phase) { return c.*kI[phase]; }
real I(const TSignalParamsI& c, int phase) { return c.*kI[phase]; }
real& PhiUI(TSignalParamsI& c, int phase) { return c.*kPhiUI[phase]; }
real PhiUI(const TSignalParamsI& c, int phase) { return c.*kPhiUI[phase]; }
real& AngleI(TSignalParamsI& c, int phase) { return c.*kAngleI[phase]; }
real AngleI(const TSignalParamsI& c, int phase) { return c.*kAngleI[phase]; }
real& IRms(TSignalParamsI& c, int phase) { return c.*kIRms[phase]; }
real IRms(const TSignalParamsI& c, int phase) { return c.*kIRms[phase]; }
real& DeltaI(TSignalParamsI& c, int phase) { return c.*kDeltaI[phase]; }
real DeltaI(const TSignalParamsI& c, int phase) { return c.*kDeltaI[phase]; }

bool UOn(const TSignalSwitches& s, int phase) { return s.*kUOn[phase]; }
bool IOn(const TSignalSwitches& s, int phase) { return s.*kIOn[phase]; }

}  // namespace sig
