#include "signal/Records.h"

#include "signal/Helpers.h"

#include <array>
#include <utility>

namespace sig {
namespace {

constexpr std::array<std::pair<std::string_view, TGarmonikPart>, 12> kSelectors{{
    {"faza_a", TGarmonikPart::a},
    {"faza_b", TGarmonikPart::b},
    {"faza_c", TGarmonikPart::c},
    {"faza_ab", TGarmonikPart::ab},
    {"faza_bc", TGarmonikPart::bc},
    {"faza_ca", TGarmonikPart::ca},
    {"faza_a_b", TGarmonikPart::a_b},
    {"faza_b_c", TGarmonikPart::b_c},
    {"faza_c_a", TGarmonikPart::c_a},
    {"faza_ab_bc", TGarmonikPart::ab_bc},
    {"faza_bc_ca", TGarmonikPart::bc_ca},
    {"faza_ca_ab", TGarmonikPart::ca_ab},
}};

bool IsBlock(TGarmonikPart part) { return part <= TGarmonikPart::ca; }
bool IsPhaseDiff(TGarmonikPart part) { return part >= TGarmonikPart::a_b && part <= TGarmonikPart::c_a; }
bool ValidOrder(int n) { return n >= 1 && n <= kHarmonics; }

}  // namespace

std::optional<TGarmonikPart> ParseGarmonikSelector(std::string_view selector) {
    for (const auto& [name, part] : kSelectors)
        if (name == selector) return part;
    return std::nullopt;
}

THarmonicOrders& TGarmonik::Diff(TGarmonikPart part) {
    return const_cast<THarmonicOrders&>(std::as_const(*this).Diff(part));
}

const THarmonicOrders& TGarmonik::Diff(TGarmonikPart part) const {
    const std::array<const THarmonicOrders*, 6> diffs{&a_b, &b_c, &c_a, &ab_bc, &bc_ca, &ca_ab};
    return *diffs.at(static_cast<int>(part) - static_cast<int>(TGarmonikPart::a_b));
}

void TGarmonik::SetKoef(TGarmonikPart part, int n, float value) {
    if (IsBlock(part) && ValidOrder(n)) Faza(static_cast<int>(part)).Koef[n] = value;
}

void TGarmonik::SetAngle(TGarmonikPart part, int n, float value) {
    if (!ValidOrder(n)) return;
    if (IsBlock(part)) Faza(static_cast<int>(part)).Angle[n] = value;
    else Diff(part)[n] = value;
}

void TGarmonik::SetKoef(std::string_view selector, std::uint8_t n, float value) {
    if (const auto part = ParseGarmonikSelector(selector)) SetKoef(*part, n, value);
}

void TGarmonik::SetAngle(std::string_view selector, std::uint8_t n, float value) {
    if (const auto part = ParseGarmonikSelector(selector)) SetAngle(*part, n, value);
}

real TGarmonik::GetKoef(std::string_view selector, std::uint8_t n) const {
    const auto part = ParseGarmonikSelector(selector);
    if (!part || !ValidOrder(n)) return 0;
    if (IsBlock(*part)) return Faza(static_cast<int>(*part)).Koef[n];
    return IsPhaseDiff(*part) ? Diff(*part)[n] : 0;
}

real TGarmonik::GetAngle(std::string_view selector, std::uint8_t n) const {
    const auto part = ParseGarmonikSelector(selector);
    if (!part || !ValidOrder(n)) return 0;
    return IsBlock(*part) ? Faza(static_cast<int>(*part)).Angle[n] : Diff(*part)[n];
}

void TGarmonik::CopyFaza(std::string_view selector, TGarmonikFaza& destination) const {
    const auto part = ParseGarmonikSelector(selector);
    if (part && IsBlock(*part)) destination = Faza(static_cast<int>(*part));
}

void TGarmonik::Clear() { *this = TGarmonik{}; }

void TGarmonik::DeriveAngleDiffs(const TGarmonik& voltage) {
    for (int n = 1; n <= kHarmonics; ++n) {
        a_b[n] = NormalizeAngle(voltage.a_b[n] - a.Angle[n] + b.Angle[n]);
        b_c[n] = NormalizeAngle(voltage.b_c[n] - b.Angle[n] + c.Angle[n]);
        c_a[n] = NormalizeAngle(voltage.c_a[n] - c.Angle[n] + a.Angle[n]);
    }
}

}  // namespace sig
