#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "signal/Correction.h"

// What the shell's small dialogs decide, without widgets: the checks of
// their fields, the focus order of the correction fields, the choice of
// the nominal frequency, the digest as shown, the meter verification
// countdown and the splash's progress.
namespace edit {

// Every number these dialogs show: "%2.3f".
std::string DialogNumberText(sig::real value);

// ---------------------------------------------------------------- calibrator preferences

inline constexpr std::string_view kCorrectionRangeError = "Выход за границы диапазона (-100..+100 %)! Повторите ввод!";

// A range of the correction: its caption ("2U" is the 220 V range) and the
// record's index of its phase A; B and C follow.
struct TCorrectionRange {
    std::string_view Label;
    std::size_t FirstIndex;
};
// The preferences show the ranges in the record's order, the splash by voltage level.
inline constexpr std::array<TCorrectionRange, 4> kPreferencesRanges{{{"2U", 0}, {"1U", 3}, {"1I", 6}, {"2I", 9}}};
inline constexpr std::array<TCorrectionRange, 4> kSplashRanges{{{"1U", 3}, {"2U", 0}, {"1I", 6}, {"2I", 9}}};
inline constexpr std::size_t kFrequencyCorrection = 12;

// Enter in a correction field moves on in the record's order (down each range,
// then the frequency); from the frequency field to "Принять" (nothing here).
std::optional<std::size_t> NextCorrectionField(std::size_t index);

// The working copy of the correction that the preferences edit. A field's
// entry is checked when the user leaves it; refusals are warnings and keep
// the old value.
class TCorrectionForm {
public:
    explicit TCorrectionForm(const sig::TCorrectionRecord& opening) : opening_(opening), record_(opening) {}

    std::string Text(std::size_t index) const { return DialogNumberText(record_.at(index)); }
    // Empty when accepted. A text left as shown keeps the exact value: the
    // shown text has only three decimals and must not round what is stored.
    std::string_view Enter(std::size_t index, std::string_view text);
    // Back to the values the dialog was opened with.
    void Restore() { record_ = opening_; }
    const sig::TCorrectionRecord& Record() const { return record_; }

private:
    sig::TCorrectionRecord opening_;
    sig::TCorrectionRecord record_;
};

// ---------------------------------------------------------------- nominal values

inline constexpr std::string_view kNominalEntryError = "Ошибка при вводе значения. Повторите ввод!";
// A zero nominal would make every deviation of the signal fail to compute.
inline constexpr std::string_view kNominalZeroError = "Значение номинала должно быть отличным от нуля";
inline constexpr std::string_view kFrequencyNotNominal = "Значение частоты не входит в список номиналов";

struct TSignalNominals {
    sig::real Phase = 0;      // phase voltage, V
    sig::real Line = 0;       // line voltage, V
    sig::real Frequency = 0;  // Hz, one of the nominal frequencies
};

// Takes a nominal voltage field's text into `value`: empty when accepted;
// refusals are plain messages. A text left as shown keeps the exact value.
std::string_view EnterNominal(sig::real& value, std::string_view text);

// The entry of the nominal frequency list equal to `frequency`; raises
// cmn::TalvoError kFrequencyNotNominal when there is none.
std::size_t NominalFrequencyIndex(sig::real frequency);

// ---------------------------------------------------------------- software identification

// Upper-cased and split into groups of four characters by single blanks;
// nothing follows the last group, so the text ends with a digit.
std::string GroupDigest(std::string_view digest);

// ---------------------------------------------------------------- meter verification

// Counts the given seconds down, one per timer tick.
class TCountdown {
public:
    // A count of zero or less has run out before the first tick.
    void Set(int seconds);
    int Given() const { return given_; }
    int Left() const { return left_; }
    bool RanOut() const { return left_ == 0; }
    // One tick: true when the time has run out with it.
    bool Tick();

private:
    int given_ = 0;
    int left_ = 0;
};

// ---------------------------------------------------------------- splash

inline constexpr int kSplashTickMs = 50;
// The progress advances by one each tick; the splash closes once it passes 98.
inline constexpr bool SplashDone(int position) { return position > 98; }

}  // namespace edit
