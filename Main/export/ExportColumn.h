#pragma once

#include <array>
#include <cstdint>
#include <variant>

#include "signal/SignalSet.h"

// The column of one signal's computed values in the fixed row order that
// workbook templates refer to.
namespace xls {

constexpr int kExportRows = 3073;
// Row index 0 of the column lands in this row of the sheet; the rows above
// are the template's headings.
constexpr int kFirstSheetRow = 3;

// An empty cell, a real (the extended value rounded to double) or an integer.
using TExportCell = std::variant<std::monostate, double, std::int32_t>;
using TExportColumn = std::array<TExportCell, kExportRows>;

// Clears the column and writes every row from the records; reads them only.
void FillExportColumn(const sig::TSignalParamsU& v, const sig::TSignalParamsI& i, const sig::TPowerParams& full,
                      const sig::TPowerParams& fundamental, const sig::TCollapsesParams& d, const sig::TKolebParams& k,
                      const sig::TIeee1459Params& e, const sig::TEnergyParams& w, TExportColumn& column);

// The same from a signal's complete records (full and fundamental powers).
void FillExportColumn(const sig::TSignalSet& s, TExportColumn& column);

// The quadrant 1 ... 4 of an angle in degrees: [0, 90), [90, 180], [-180, -90), [-90, 0).
// An angle outside -180 ... 180 is folded into that range first.
int Quadrant(sig::real angle);

}  // namespace xls
