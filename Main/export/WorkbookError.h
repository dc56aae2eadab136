#pragma once

#include <stdexcept>

namespace xls {

// A package that cannot be read or written as a workbook: a damaged archive,
// a missing or malformed part. The text is the technical reason.
class TWorkbookUnreadable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace xls
