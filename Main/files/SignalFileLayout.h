#pragma once

#include <array>
#include <string>

// Section and key names of the signal files, shared by the writer and the
// reader. Phase letters are the Cyrillic А, В, С except where noted.
namespace files::layout {

using TPhaseNames = std::array<std::string, 3>;

inline const std::string kIdSection = "Уникальный идентификатор";
inline const std::string kKindKey = "Тип файла";
inline const std::string kDescriptionSection = "Описание сигнала";
inline const std::string kDescriptionKey = "Описание";

inline const std::string kVoltage = "Напряжение";
inline const std::string kCurrent = "Ток";
// The channel keys end in Latin letters.
inline const TPhaseNames kVoltageOnKeys = {"Вкл. Ua", "Вкл. Ub", "Вкл. Uc"};
inline const TPhaseNames kCurrentOnKeys = {"Вкл. Ia", "Вкл. Ib", "Вкл. Ic"};
inline const std::string kNominal = "Наминал";
inline const std::string kNominalFaza = "Фазный номинал";
inline const std::string kNominalLine = "Междуфазный номинал";
inline const TPhaseNames kPhaseKeys = {"Фаза А", "Фаза В", "Фаза С"};
inline const TPhaseNames kShiftKeys = {"Сдвиг фазы А", "Сдвиг фазы В", "Сдвиг фазы С"};
inline const std::string kFreqNominal = "Номинал частоты";
inline const std::string kFreq = "Частота";
inline const std::string kHarmCount = "Гармоник для расчета";
inline const std::string kInterCount = "Интергармоник для расчета";

// The sections of the harmonics and interharmonics of voltage or current.
struct TSpectrumSections {
    TPhaseNames HarmKoef, HarmAngle, InterKoef, InterAngle;
};

// Phases B and C of the harmonic amplitude sections are Latin letters.
inline const TSpectrumSections kVoltageSpectrum = {
    {"Гармоники напряжения по фазе А", "Гармоники напряжения по фазе B", "Гармоники напряжения по фазе C"},
    {"Угол сдвига гармоник напряжения по фазе А", "Угол сдвига гармоник напряжения по фазе В",
     "Угол сдвига гармоник напряжения по фазе С"},
    {"Интергармоники напряжения по фазе А", "Интергармоники напряжения по фазе В",
     "Интергармоники напряжения по фазе С"},
    {"Угол сдвига интергармоник напряжения по фазе А", "Угол сдвига интергармоник напряжения по фазе В",
     "Угол сдвига интергармоник напряжения по фазе С"}};
inline const TSpectrumSections kCurrentSpectrum = {
    {"Гармоники тока по фазе А", "Гармоники тока по фазе B", "Гармоники тока по фазе C"},
    {"Угол сдвига гармоник тока по фазе А", "Угол сдвига гармоник тока по фазе В",
     "Угол сдвига гармоник тока по фазе С"},
    {"Интергармоники тока по фазе А", "Интергармоники тока по фазе В", "Интергармоники тока по фазе С"},
    {"Угол сдвига интергармоник тока по фазе А", "Угол сдвига интергармоник тока по фазе В",
     "Угол сдвига интергармоник тока по фазе С"}};

inline const std::string kInterSection = "Интергармоники";
inline const std::string kInterIncludeKey = "Включить интергармоники в сигнал";

inline const std::string kCollapses = "Провалы и перенапряжения";
inline const std::string kDurationKey = "Длительность";
inline const std::string kCountKey = "Количество";
inline const std::string kPeriodKey = "Период";
inline const std::string kStartPhaseKey = "Начальная фаза";
inline const std::string kBindingKey = "Привязка";
inline const std::string kRefKindKey = "Опорное напряжение";
inline const TPhaseNames kCollapseFazaSections = {
    "Провалы и перенапряжения по фазе А", "Провалы и перенапряжения по фазе В", "Провалы и перенапряжения по фазе С"};
inline const std::string kCollapseKindKey = "Тип";
inline const std::string kSwellKey = "Перенапряжение";
inline const std::string kDipKey = "Провал";

inline const std::string kKoleb = "Колебания напряжения";
inline const std::string kKolebFreqKey = "Частота";
inline const TPhaseNames kKolebFazaSections = {"Колебания напряжения по фазе А", "Колебания напряжения по фазе В",
                                               "Колебания напряжения по фазе С"};
inline const std::string kSwingKey = "Размах";

inline const std::string kScale = "Масштаб";
inline const std::string kVoltageBarKey = "Напряжение";
inline const std::string kCurrentBarKey = "Ток";
inline const std::string kPowerBarKey = "Мощность";
inline const std::string kVoltageAxisKey = "Напряжение на графике";
inline const std::string kCurrentAxisKey = "Ток на графике";
inline const std::string kVoltageList = "Отображаемые фазы напряжения";
inline const std::string kCurrentList = "Отображаемые фазы тока";
inline const std::string kPowerList = "Отображаемые фазы мощности";
inline const std::string kWaveformList = "Отображаемые фазы графиков тока и напряжения";

// Harmonic, interharmonic and list keys: "2-я", "49-я".
inline std::string NumberKey(int n) { return std::to_string(n) + "-я"; }

}  // namespace files::layout
