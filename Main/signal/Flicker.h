#pragma once

#include <istream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "CommonUtils/ProtocolLog.h"
#include "signal/Records.h"

// Voltage fluctuations and the flicker dose they produce, judged against a
// table of the relative voltage change that gives a dose of 1 per frequency.
namespace sig {

struct TKolebParamsHelpTableRec {
    real Freq = 0;    // Hz
    real DeltaU = 0;  // %
};

// Results of loading a flicker table file.
enum TFlickerLoadCode : int {
    flLoaded = 0,
    flMissing = 1,
    flUnreadable = 2,
    flBadFormat = 3,
    flTooFewRows = 4,
};

constexpr const char* kFlickerFileName = "fliker.dat";

class TKolebParamsHelpTable {
public:
    void Clear();
    void AddRow(real freq, real deltaU);
    void AddRowPerMinute(real changesPerMinute, real deltaU);
    const TKolebParamsHelpTableRec& Row(int index) const;
    int Count() const;
    void Sort();
    real FirstFreq() const;
    real LastFreq() const;

    // The built-in table of a flicker standard; any other value leaves it empty.
    void LoadDefaults(int standard);
    // Lines of "frequency TAB change" with "." decimals, at least two rows.
    // Any code but flLoaded leaves the table empty.
    TFlickerLoadCode LoadFromFile(const std::string& path);
    TFlickerLoadCode LoadFromStream(std::istream& in);
    // The file when a path is given, else (or when it fails) the built-in table.
    TFlickerLoadCode Load(const std::optional<std::string>& path, int standard);

    struct TFound {
        bool Found = false;
        int Index = 0;  // the last row at or below x
        bool Exact = false;
    };
    TFound FindRow(real x) const;
    // The change at x, interpolated linearly between rows; empty outside the table.
    std::optional<real> ValueAt(real x) const;

private:
    std::vector<TKolebParamsHelpTableRec> rows_;
};

// Loads a table as the signal window and the console do: a failed file is
// reported (unless silent; a missing file never is) and the standard's
// built-in table is used. Returns the file's code.
TFlickerLoadCode LoadFlickerTable(TKolebParamsHelpTable& table, const std::optional<std::string>& path, bool silent,
                                  int standard, cmn::IProtocolLog& log);

// The program-wide table the windows, the console and the schedule share.
// Loading replaces it under a lock; calculations work on a snapshot.
class TSharedFlickerTable {
public:
    TFlickerLoadCode Load(const std::optional<std::string>& path, bool silent, int standard, cmn::IProtocolLog& log);
    TKolebParamsHelpTable Snapshot() const;

private:
    mutable std::mutex lock_;
    TKolebParamsHelpTable table_;
};

TSharedFlickerTable& FlickerTable();

// Timing values, the swing of the line voltages and the flicker doses.
// A frequency that is not above 0 raises TalvoError and changes nothing.
void CalcKolebParams(const TSignalParamsU& v, TKolebParams& k, bool onA, bool onB, bool onC,
                     const TKolebParamsHelpTable& table);

}  // namespace sig
