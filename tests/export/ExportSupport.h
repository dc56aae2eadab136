#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <string>

#include "signal/SignalSet.h"

namespace exporttest {

struct TSignalShape {
    sig::real Phi = 30;     // voltage minus current angle of every phase
    bool SwellOnB = false;  // phase B swells, the others dip
    std::uint8_t RefKind = sig::rvNominal;
};

// A three-phase signal with harmonics, interharmonics, dips or swells,
// fluctuations and a meter test time, recomputed by the signal calculations.
std::unique_ptr<sig::TSignalSet> RecomputedSignal(const TSignalShape& shape = {});

// The workbook as python3-openpyxl reads it (tests/export/read_workbook.py).
nlohmann::json ReadWorkbook(const std::string& path);

// The workbook variants of tests/export/make_fixtures.py, written into `folder`.
void MakeFixtures(const std::string& folder);

std::string ExampleTemplate();

}  // namespace exporttest
