#pragma once

#include <string>

#include "measure/Verify.h"

// The check's table as text: one line per quantity for the console, and the
// report files (CSV for spreadsheets, JSON for test benches).
namespace msr {

// What the report says about the check besides its rows.
struct TReportHeader {
    std::string Signal;        // the signal file
    std::string Action;        // "Испытательный сигнал", …
    std::string Modification;  // the calibrator modification's name
    std::string Time;          // when the check ran
};

// "UA действующее, В: задано 220, измерено 220.0031, разность 0.0031,
// допуск ±0.0216 (граница квантования таблицы) — в допуске".
std::string RowLine(const TCompareRow& row);
std::string ReportCsv(const TVerifyReport& report, const TReportHeader& header);
std::string ReportJson(const TVerifyReport& report, const TReportHeader& header);

// The action's name for captions.
std::string ActionName(TVerifyAction action);

}  // namespace msr
