#include "editor/NumberEntry.h"

#include <cmath>

#include "CommonUtils/Numbers.h"

namespace edit {

std::optional<sig::real> ParseEntry(std::string_view text, bool angle) {
    constexpr std::string_view kDegree = "°";
    if (angle) {
        const auto end = text.find_last_not_of(' ');
        text = end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
        if (text.ends_with(kDegree)) text.remove_suffix(kDegree.size());
    }
    const std::optional<sig::real> x = cmn::ParseReal(text);
    if (!x || !std::isfinite(static_cast<double>(*x))) return std::nullopt;
    return x;
}

}  // namespace edit
