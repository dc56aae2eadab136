#include "editor/DialogRules.h"
#include "editor/EntryMessages.h"

#include <algorithm>

#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "signal/Helpers.h"
#include "signal/Nominals.h"

namespace edit {
namespace {

constexpr sig::real kCorrectionLimit = 100;

bool ShownAs(sig::real value, std::string_view text) { return text == DialogNumberText(value); }

}  // namespace

std::string DialogNumberText(sig::real value) { return cmn::FormatFixed(value, 3, 2); }

std::optional<std::size_t> NextCorrectionField(std::size_t index) {
    if (index + 1 >= sig::kCorrectionCount) return std::nullopt;
    return index + 1;
}

std::string_view TCorrectionForm::Enter(std::size_t index, std::string_view text) {
    sig::real& stored = record_.at(index);
    if (ShownAs(stored, text)) return {};
    const auto value = cmn::ParseReal(text);
    if (!value) return kParseError;
    if (*value < -kCorrectionLimit || *value > kCorrectionLimit) return kCorrectionRangeError;
    stored = *value;
    return {};
}

std::string_view EnterNominal(sig::real& value, std::string_view text) {
    if (ShownAs(value, text)) return {};
    const auto entered = cmn::ParseReal(text);
    if (!entered) return kNominalEntryError;
    // The deviations divide by the nominal rounded to five decimals.
    if (sig::RoundDec5(*entered) == 0) return kNominalZeroError;
    value = *entered;
    return {};
}

std::size_t NominalFrequencyIndex(sig::real frequency) {
    const auto* begin = std::begin(sig::kNominalFrequencies);
    const auto* end = std::end(sig::kNominalFrequencies);
    const auto* found = std::find(begin, end, frequency);
    if (found == end) throw cmn::TalvoError(std::string(kFrequencyNotNominal));
    return static_cast<std::size_t>(found - begin);
}

std::string GroupDigest(std::string_view digest) {
    std::string grouped;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        if (i > 0 && i % 4 == 0) grouped += ' ';
        const char c = digest[i];
        grouped += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return grouped;
}

void TCountdown::Set(int seconds) {
    given_ = seconds;
    left_ = std::max(seconds, 0);
}

bool TCountdown::Tick() {
    if (left_ > 0) --left_;
    return RanOut();
}

}  // namespace edit
