#pragma once

#include <span>

#include "editor/SignalFields.h"

// The field table is kept in groups, one per set of pages, each beside the
// rules of its own families; FieldRows() joins them in this order.
namespace edit::groups {

std::span<const TFieldRow> Fundamentals();  // page_u, page_i
std::span<const TFieldRow> Powers();        // page_u_i, page_u_i_3, page_IEEE_1459
std::span<const TFieldRow> Collapses();     // page_in_out
std::span<const TFieldRow> Fluctuations();  // page_vibr
std::span<const TFieldRow> Converter();     // page_iu

// The accept rules of the families of those pages, after the text was read as a number.
TEntryOutcome TakeCollapse(const TFieldRow& row, sig::real x, const TEntryContext& context);
TEntryOutcome TakeKoleb(const TFieldRow& row, sig::real x, const TEntryContext& context);

}  // namespace edit::groups
