#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "SignalLib/SignalTalvo.h"

// The channel values a signal's tables should carry, evaluated directly from
// the caller's record: every term with its own sine, no shortcuts. The
// values are the unrounded (x + 1) × 32767 of each sample.
struct TReferenceTable {
    std::array<std::vector<long double>, 3> phases;
};

std::size_t ReferenceSamples(const TOutSignalParams& p);
TReferenceTable ReferenceMain(const TOutSignalParams& p, bool current);
TReferenceTable ReferenceDips(const TOutSignalParams& p, const TCollapsesOvervoltagesParams& d);

// The codes of one phase, as the calibrator decodes them from a table.
std::array<std::vector<std::uint16_t>, 3> DecodeTable(const std::uint8_t* table, std::size_t samples);

// Equal codes, or codes one apart where the reference lies within 1e-9 of
// a rounding tie; values beyond the code range must be clipped.
::testing::AssertionResult CodesMatch(const std::vector<long double>& reference,
                                      const std::vector<std::uint16_t>& codes);
