#include "editor/HarmonicGrid.h"
#include "editor/EntryMessages.h"

#include <cmath>

#include "CommonUtils/Numbers.h"
#include "signal/Helpers.h"

namespace edit {
namespace {

using sig::real;

constexpr std::string_view kDegree = "°";
constexpr std::string_view kCoefError =
    "Ошибка при вводе значения.(Возможно выход за пределы диапазона). Повторите ввод!";
constexpr std::string_view kReadOnly = "Значение только для чтения!";
constexpr std::string_view kFirstCellError = "В ячейке [1,1] ошибочное значения. Повторите ввод!";

// clang-format off
constexpr std::string_view kHeaders[kGridColumns]{
    "n",
    "K~Ua(n)~, %", "@f~Ua(n)~", "K~Ia(n)~, %", "@f~UIa(n)~",
    "K~Uв(n)~, %", "@f~Uв(n)~", "K~Iв(n)~, %", "@f~UIв(n)~",
    "K~Uс(n)~, %", "@f~Uс(n)~", "K~Iс(n)~, %", "@f~UIс(n)~",
    "K~Uав(n)~, %", "@f~Uав(n)~", "K~Uвс(n)~, %", "@f~Uвс(n)~", "K~Uса(n)~, %", "@f~Uса(n)~",
};
constexpr std::string_view kAngleHeaders[kAngleGridColumns]{
    "n", "@fU~A-B~", "@fU~B-C~", "@fU~C-A~", "@fU~AB-BC~", "@fU~BC-CA~", "@fU~CA-AB~",
    "@fI~A-B~", "@fI~B-C~", "@fI~C-A~",
};
// clang-format on

// Columns 1 ... 12 go UA, IA, UB, IB, UC, IC; columns 13 ... 18 the lines.
struct TColumn {
    bool Current;
    int Slot;  // sig::fzA ... sig::fzCA
    bool Angle;
};
TColumn Column(int column) {
    const int pair = (column - 1) / 2;
    const bool angle = column % 2 == 0;
    if (column >= 13) return {false, sig::fzAB + (column - 13) / 2, angle};
    return {pair % 2 == 1, pair / 2, angle};
}

std::string F3(real x) { return cmn::FormatFixed(x, 3, 2); }

std::optional<real> Finite(std::string_view text) {
    const std::optional<real> x = cmn::ParseReal(text);
    if (!x || !std::isfinite(static_cast<double>(*x))) return std::nullopt;
    return x;
}

}  // namespace

std::string_view GridHeader(int column) { return kHeaders[column]; }

bool GridReadOnly(int column) { return column == 0 || column >= 13; }

std::string GridCellText(const sig::TSignalSet& s, int row, int column) {
    const int n = row + 1;
    if (column == 0) return std::to_string(n);
    const TColumn c = Column(column);
    const sig::TGarmonikFaza& block = (c.Current ? s.Current.Garmonik : s.Voltage.Garmonik).Faza(c.Slot);
    return c.Angle ? F3(block.Angle[n]) + std::string(kDegree) : F3(block.Koef[n]);
}

std::string GridEditingText(std::string_view cellText) {
    if (cellText.ends_with(kDegree)) cellText.remove_suffix(kDegree.size());
    return std::string(cellText);
}

TGridLeave LeaveGridCell(sig::TSignalSet& s, int row, int column, std::string_view text, std::string_view remembered) {
    // The in-place editor shows an angle without its degree sign.
    if (GridEditingText(text) == GridEditingText(remembered)) return {};
    if (GridReadOnly(column)) return {std::string(kReadOnly), std::string(remembered), true};
    const TColumn c = Column(column);
    sig::TGarmonik& store = c.Current ? s.Current.Garmonik : s.Voltage.Garmonik;
    const auto part = static_cast<sig::TGarmonikPart>(c.Slot);
    const int n = row + 1;
    if (!c.Angle) {
        const std::optional<real> x = Finite(text);
        // The cursor may go on; the cell keeps what was typed so it can be corrected.
        if (!x || *x < 0 || *x > 100) return {std::string(kCoefError), std::nullopt, false};
        store.SetKoef(part, n, static_cast<float>(*x));
        return {std::nullopt, F3(*x), false};
    }
    const std::optional<real> x = Finite(GridEditingText(text));
    if (!x) return {std::string(kParseError), std::nullopt, true};
    const real angle = sig::NormalizeAngle(*x);
    store.SetAngle(part, n, static_cast<float>(angle));
    return {std::nullopt, F3(angle) + std::string(kDegree), false};
}

TGridCell GridNextCell(int row, int column) {
    if (row < kGridRows - 1) return {row + 1, column};
    if (column < kGridColumns - 1) return {1, column + 1};
    return {row, column};
}

std::optional<std::string> CheckFirstCell(std::string_view text) {
    if (Finite(text)) return std::nullopt;
    return std::string(kFirstCellError);
}

std::string_view AngleGridHeader(int column) { return kAngleHeaders[column]; }

std::string AngleGridText(const sig::TSignalSet& s, int row, int column) {
    const int n = row + 1;
    if (column == 0) return std::to_string(n);
    constexpr sig::TGarmonikPart parts[6]{sig::TGarmonikPart::a_b,   sig::TGarmonikPart::b_c,
                                          sig::TGarmonikPart::c_a,   sig::TGarmonikPart::ab_bc,
                                          sig::TGarmonikPart::bc_ca, sig::TGarmonikPart::ca_ab};
    const real x =
        column <= 6 ? s.Voltage.Garmonik.Diff(parts[column - 1])[n] : s.Current.Garmonik.Diff(parts[column - 7])[n];
    return F3(x) + std::string(kDegree);
}

}  // namespace edit
