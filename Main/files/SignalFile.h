#pragma once

#include <array>
#include <string>
#include <string_view>

#include "CommonUtils/ProtocolLog.h"
#include "files/IniFile.h"
#include "signal/Display.h"
#include "signal/Flicker.h"
#include "signal/SignalSet.h"

// Signal files: a test signal, its voltage part, its current part or the
// signal for the current-to-voltage converter, as INI files in Windows-1251.
namespace files {

// The number is also the filter index of the open and save dialogs.
enum SignalFileKind : int { sfAll = 1, sfVoltage = 2, sfCurrent = 3, sfConverter = 4 };

struct TSignalFileKindTexts {
    std::string_view Extension;  // with the dot; the save dialog's default extension is the rest
    std::string_view Marker;     // value of "Тип файла"
    std::string_view OpenTitle;
    std::string_view SaveTitle;
    std::string_view SavedMessage;
    std::string_view WrongKindMessage;
    std::string_view ReplaceQuestion;  // empty for the full signal, which replaces without asking
};

// Raises cmn::TalvoError for a number that is not a kind.
const TSignalFileKindTexts& SignalFileKindTexts(int kind);

inline constexpr std::string_view kSignalOpenFilter =
    "Параметры испытательного сигнала (*.usa)|*.usa|Параметры напряжения (*.usu)|*.usu|"
    "Параметры тока (*.usi)|*.usi|Напряжение с преобразователя (*.upr)|*.upr|Все файлы (*.*)|*.*";
inline constexpr std::string_view kSignalSaveFilter =
    "Параметры испытательного сигнала (*.usa)|*.usa|Параметры напряжения (*.usu)|*.usu|"
    "Параметры тока (*.usi)|*.usi|Напряжение с преобразователя(*.upr)|*.upr|Все файлы (*.*)|*.*";
inline constexpr std::string_view kSignalSaveFileName = "default";

// What the signal window shows: the upper limits of its charts and the
// check states of its display lists. Only the full signal file keeps it.
struct TSignalDisplayState {
    double VoltageBarMax = 10;
    double CurrentBarMax = 30;
    double PowerBarMax = 30;
    double VoltageAxisMax = 600;
    double CurrentAxisMax = 10;
    std::array<bool, 6> VoltagePhases{};   // by list item: Ua, Uab, Ub, Ubc, Uc, Uca
    std::array<bool, 3> CurrentPhases{};   // Ia, Ib, Ic
    std::array<bool, 5> PowerPhases{};     // Ku(n), Ki(n), Kp(n), Kq(n), Ks(n)
    std::array<bool, 9> WaveformPhases{};  // Ua, Ub, Uc, Uab, Ubc, Uca, Ia, Ib, Ic
};

// What a signal file holds besides the signal records.
struct TSignalFileExtras {
    std::string Description;  // may span several lines
    TSignalDisplayState Display;
    std::array<bool, 3> ConverterOn{true, true, true};  // channel switches of the converter page
};

// Writes the layout of `kind` into the store key by key, so that keys the
// kind does not write keep their values and sections. The converter file
// takes its harmonics and interharmonics from the current parameters, which
// is where the converter page keeps them and where the reader puts them.
void MadeListForSave(IniFile& ini, SignalFileKind kind, const sig::TSignalSet& signal, const TSignalFileExtras& extras);

// Updates (or creates) the file `path` atomically; raises cmn::TalvoError
// when it cannot be written, the old file then staying as it was.
void SaveSignalFile(const std::string& path, SignalFileKind kind, const sig::TSignalSet& signal,
                    const TSignalFileExtras& extras);

// The Windows-1251 bytes of a new signal file of `kind` for the signal.
std::string SignalFileContent(SignalFileKind kind, const sig::TSignalSet& signal, const TSignalFileExtras& extras);

// Where a signal file is read to, and what the reading needs besides the file.
struct TSignalLoadTarget {
    sig::TSignalSet& Signal;
    TSignalFileExtras& Extras;
    // Messages: asked through it when interactive, logged as notices otherwise.
    // The main window's converter load passes a log that keeps nothing.
    cmn::IProtocolLog& Log;
    const sig::TKolebParamsHelpTable& Flicker;
    sig::real FreqCorrection = 0;  // kf, %
    bool Console = false;
    sig::ISignalDisplay* Display = nullptr;
};

// Reads a signal file of `kind` into the target, checks its marker and
// nominals and recomputes what the kind's data feed. False when the marker
// does not match, a nominal is not supported or the replacement question is
// declined; the target then keeps what was stored before that check.
// Calculation errors raise cmn::TalvoError.
bool LoadSignalFile(SignalFileKind kind, const IniFile& ini, bool interactive, const TSignalLoadTarget& target);

// A description as one INI value and back: "\" is written "\\", a line feed
// "\n" and a carriage return "\r"; any other "\" reads as itself.
std::string EncodeDescription(std::string_view text);
std::string DecodeDescription(std::string_view value);

}  // namespace files
