#include "signal/Flicker.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <utility>
#include <vector>

#include "CommonUtils/Format.h"
#include "CommonUtils/Numbers.h"
#include "signal/Helpers.h"
#include "signal/Nominals.h"

namespace sig {
namespace {

using TRows = std::vector<std::pair<real, real>>;

struct TBuiltInTable {
    TRows PerMinute;  // changes per minute -> relative change
    TRows Hertz;      // frequency -> tabulated value, stored times sqrt(2)
};

const TBuiltInTable kGost99{
    {{1, 2.72L}, {2, 2.21L}, {7, 1.46L}, {39, 0.905L}, {110, 0.725L}, {1620, 0.402L}},
    {{0.5L, 0.514L},  {1, 0.471L},    {1.5L, 0.432L}, {2, 0.401L},    {2.5L, 0.374L}, {3, 0.355L},     {3.5L, 0.345L},
     {4, 0.333L},     {4.5L, 0.316L}, {5, 0.293L},    {5.5L, 0.269L}, {6, 0.249L},    {6.5L, 0.231L},  {7, 0.217L},
     {7.5L, 0.207L},  {8, 0.201L},    {8.8L, 0.199L}, {9.5L, 0.2L},   {10, 0.205L},   {10.5L, 0.213L}, {11, 0.223L},
     {11.5L, 0.234L}, {12, 0.246L},   {13, 0.275L},   {14, 0.308L},   {15, 0.344L},   {16, 0.376L},    {17, 0.413L},
     {18, 0.452L},    {19, 0.498L},   {20, 0.546L},   {21, 0.586L},   {22, 0.604L},   {23, 0.68L},     {24, 0.743L}},
};

const TBuiltInTable kGost2012{
    {{2, 2.191L}, {7, 1.45L}, {39, 0.894L}, {110, 0.722L}, {1620, 0.407L}, {4000, 2.343L}},
    {{0.5L, 0.51L},  {1, 0.468L},     {1.5L, 0.429L}, {2, 0.399L},     {2.5L, 0.371L},      {3, 0.351L},
     {3.5L, 0.342L}, {4, 0.331L},     {4.5L, 0.313L}, {5, 0.291L},     {5.5L, 0.269L},      {6, 0.249L},
     {6.5L, 0.231L}, {7, 0.217L},     {7.5L, 0.206L}, {8, 0.2L},       {8.8L, 0.196L},      {9.5L, 0.199L},
     {10, 0.203L},   {10.5L, 0.212L}, {11, 0.222L},   {11.5L, 0.233L}, {12, 0.244L},        {13, 0.275L},
     {14, 0.306L},   {15, 0.338L},    {16, 0.376L},   {17, 0.42L},     {18, 0.457L},        {19, 0.498L},
     {20, 0.537L},   {21, 0.584L},    {21.5L, 0.6L},  {22, 0.611L},    {23, 0.678L},        {24, 0.753L},
     {25, 0.778L},   {25.5L, 0.768L}, {28, 0.962L},   {30.5L, 1.105L}, {33.33333L, 1.258L}, {37, 0.975L},
     {40, 2.327L}},
};

std::optional<TKolebParamsHelpTableRec> ParseRow(std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    const auto freq = cmn::ParseReal(line.substr(0, tab));
    const auto deltaU = cmn::ParseReal(line.substr(tab + 1));
    if (!freq || !deltaU) return std::nullopt;
    return TKolebParamsHelpTableRec{*freq, *deltaU};
}

std::string_view FailureReason(TFlickerLoadCode code) {
    switch (code) {
        case flUnreadable: return "Файл занят другой программой";
        case flBadFormat: return "Неверный формат файла";
        case flTooFewRows: return "Недостаточное количество записей";
        default: return {};
    }
}

void ReportFailure(TFlickerLoadCode code, cmn::IProtocolLog& log) {
    std::string text = cmn::Format("Ошибка при открытии файла \"%s\":", kFlickerFileName);
    text += "\r\n";
    text += FailureReason(code);
    text += ".\r\n\r\nДля расчета дозы фликера будут использованы значения по умолчанию.";
    if (log.Interactive()) log.Ask(text, cmn::MessageKind::Warning, cmn::Buttons::Ok);
    else log.Log(cmn::LogType::Notice, text);
}

}  // namespace

void TKolebParamsHelpTable::Clear() { rows_.clear(); }

void TKolebParamsHelpTable::AddRow(real freq, real deltaU) { rows_.push_back({freq, deltaU}); }

void TKolebParamsHelpTable::AddRowPerMinute(real changesPerMinute, real deltaU) {
    AddRow(changesPerMinute / 120, deltaU);
}

const TKolebParamsHelpTableRec& TKolebParamsHelpTable::Row(int index) const { return rows_.at(index); }

int TKolebParamsHelpTable::Count() const { return static_cast<int>(rows_.size()); }

void TKolebParamsHelpTable::Sort() {
    std::stable_sort(
        rows_.begin(), rows_.end(),
        [](const TKolebParamsHelpTableRec& a, const TKolebParamsHelpTableRec& b) { return a.Freq < b.Freq; });
}

real TKolebParamsHelpTable::FirstFreq() const { return rows_.empty() ? 0 : rows_.front().Freq; }

real TKolebParamsHelpTable::LastFreq() const { return rows_.empty() ? 0 : rows_.back().Freq; }

void TKolebParamsHelpTable::LoadDefaults(int standard) {
    Clear();
    if (standard != fsGost99 && standard != fsGost2012) return;
    const TBuiltInTable& table = standard == fsGost99 ? kGost99 : kGost2012;
    for (const auto& [changes, value] : table.PerMinute) AddRowPerMinute(changes, value);
    const real root2 = std::sqrt(2.0L);
    for (const auto& [freq, value] : table.Hertz) AddRow(freq, value * root2);
    Sort();
}

TFlickerLoadCode TKolebParamsHelpTable::LoadFromFile(const std::string& path) {
    Clear();
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return flMissing;
    if (std::filesystem::is_directory(status)) return flUnreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return flUnreadable;
    return LoadFromStream(in);
}

TFlickerLoadCode TKolebParamsHelpTable::LoadFromStream(std::istream& in) {
    Clear();
    std::string line;
    TFlickerLoadCode code = flLoaded;
    while (code == flLoaded && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;  // blank lines, such as one after the last row, carry nothing
        if (const auto row = ParseRow(line)) rows_.push_back(*row);
        else code = flBadFormat;
    }
    if (code == flLoaded && in.bad()) code = flUnreadable;
    if (code == flLoaded && rows_.size() < 2) code = flTooFewRows;
    if (code != flLoaded) Clear();
    else Sort();
    return code;
}

TFlickerLoadCode TKolebParamsHelpTable::Load(const std::optional<std::string>& path, int standard) {
    const TFlickerLoadCode code = path ? LoadFromFile(*path) : flLoaded;
    if (!path || code != flLoaded) LoadDefaults(standard);
    return code;
}

TKolebParamsHelpTable::TFound TKolebParamsHelpTable::FindRow(real x) const {
    if (rows_.empty() || !(x >= FirstFreq() && x <= LastFreq())) return {};
    const auto above =
        std::upper_bound(rows_.begin(), rows_.end(), x,
                         [](real value, const TKolebParamsHelpTableRec& row) { return value < row.Freq; });
    const int index = static_cast<int>(above - rows_.begin()) - 1;
    return {true, index, SameReal(rows_[index].Freq, x)};
}

std::optional<real> TKolebParamsHelpTable::ValueAt(real x) const {
    const TFound found = FindRow(x);
    if (!found.Found) return std::nullopt;
    const TKolebParamsHelpTableRec& low = rows_[found.Index];
    if (found.Exact || found.Index + 1 >= Count()) return low.DeltaU;
    const TKolebParamsHelpTableRec& high = rows_[found.Index + 1];
    return low.DeltaU + (x - low.Freq) * (high.DeltaU - low.DeltaU) / (high.Freq - low.Freq);
}

TFlickerLoadCode LoadFlickerTable(TKolebParamsHelpTable& table, const std::optional<std::string>& path, bool silent,
                                  int standard, cmn::IProtocolLog& log) {
    const TFlickerLoadCode code = table.Load(path, standard);
    if (!silent && code != flLoaded && code != flMissing) ReportFailure(code, log);
    return code;
}

TFlickerLoadCode TSharedFlickerTable::Load(const std::optional<std::string>& path, bool silent, int standard,
                                           cmn::IProtocolLog& log) {
    TKolebParamsHelpTable loaded;
    const TFlickerLoadCode code = LoadFlickerTable(loaded, path, silent, standard, log);
    const std::lock_guard guard(lock_);
    table_ = std::move(loaded);
    return code;
}

TKolebParamsHelpTable TSharedFlickerTable::Snapshot() const {
    const std::lock_guard guard(lock_);
    return table_;
}

TSharedFlickerTable& FlickerTable() {
    static TSharedFlickerTable table;
    return table;
}

}  // namespace sig
