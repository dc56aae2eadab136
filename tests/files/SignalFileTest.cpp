#include <gtest/gtest.h>

#include <sys/stat.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "CommonUtils/CodePage.h"
#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "FileBytes.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "files/SignalFile.h"
#include "signal/Frequency.h"
#include "signal/Nominals.h"

namespace {

namespace fs = std::filesystem;
using namespace files;
using sig::real;
using talvo_test::Fixture;
using talvo_test::ReadBytes;
using talvo_test::RecordingLog;
using talvo_test::TempFolder;

// The four calculation counts: voltage harmonics and interharmonics, then current.
std::array<int, 4> Counts(const sig::TSignalSwitches& sw) {
    return {sw.HarmCountU, sw.InterCountU, sw.HarmCountI, sw.InterCountI};
}

// The frequency a request gives on the calibrator's grid without correction.
real Realised(real f) { return sig::RealiseFrequency(sig::kNoTimerIndex, f, 0)->Frequency; }

// Distinct values in every input field; reals are doubles, spectrum values floats.
sig::TSignalSet SampleSignal() {
    sig::TSignalSet s;
    sig::TSignalParamsU& v = s.Voltage;
    v.Nominal = 57.735, v.NominalFaza = 57.7, v.NominalLine = 100.0;
    v.UA = 57.1, v.UB = 58.25, v.UC = 1e-7;
    v.ShiftA = 0.5, v.ShiftB = -119.25, v.ShiftC = 120.125;
    v.FreqNominal = 50;
    RecordingLog quiet;
    sig::SetSignalFrequency(50.3L, 0, s.Grid, sig::DeriveFrequencyBounds(0), false, false, quiet, v);
    sig::TSignalParamsI& c = s.Current;
    c.Nominal = 5, c.IA = 4.5, c.IB = 5, c.IC = 0.25;
    c.PhiUIA = 30, c.PhiUIB = -45.5, c.PhiUIC = 0;
    for (int p = sig::fzA; p <= sig::fzC; ++p) {
        const auto part = static_cast<sig::TGarmonikPart>(p);
        for (int n = 2; n <= sig::kHarmonics; ++n) {
            v.Garmonik.SetKoef(part, n, 0.37f * n + 0.011f * p);
            v.Garmonik.SetAngle(part, n, -170.5f + 3.3f * n + p);
            c.Garmonik.SetKoef(part, n, 0.21f * n + 0.5f * p);
            c.Garmonik.SetAngle(part, n, 100.25f - 2.1f * n - p);
        }
        for (int m = 1; m <= sig::kInterHarmonics; ++m) {
            v.InterGarm[p].Koef[m] = 0.013f * m + 0.2f * p, v.InterGarm[p].Angle[m] = 1.5f * m - 60 * p;
            c.InterGarm[p].Koef[m] = 0.017f * m + 0.1f * p, c.InterGarm[p].Angle[m] = -2.5f * m + 10 * p;
        }
    }
    sig::TSignalParamsU& k = s.Converter;
    k.Nominal = 12.5, k.NominalFaza = 12.5, k.NominalLine = 12.5;
    k.UA = 100, k.UB = 2000.5, k.UC = 12000, k.ShiftA = 1, k.ShiftB = -120, k.ShiftC = 119.5;
    s.Collapses.Duration = 0.2, s.Collapses.Count = 7, s.Collapses.Period = 1.5, s.Collapses.StartPhase = -45;
    s.Collapses.Binding = sig::cbHalfPeriod, s.Collapses.RefKind = sig::rvSet;
    s.Collapses.Faza[1] = {sig::ckSwell, 1.2, 0};
    s.Collapses.Faza[2] = {sig::ckDip, 0, 35.5};
    s.Koleb.Freq = 8.8, s.Koleb.Swing = {1.1, 2.2, 0};
    s.Switches = {true, true, false, true, true, true, false, 45, 40, 20, 30};
    return s;
}

TSignalFileExtras SampleExtras() {
    TSignalFileExtras e;
    e.Description = "Поверка\r\nвторая строка \\ с чертой";
    e.Display = {120.5, 7.6, 1500, 400, 8, {true, false, true}, {false, true}, {true}, {false, false, true}};
    e.ConverterOn = {true, false, true};
    return e;
}

void ExpectSameHarmonics(const sig::TGarmonik& a, const sig::TGarmonik& b) {
    for (int p = sig::fzA; p <= sig::fzC; ++p)
        for (int n = 2; n <= sig::kHarmonics; ++n) {
            EXPECT_EQ(a.Faza(p).Koef[n], b.Faza(p).Koef[n]) << p << " " << n;
            EXPECT_EQ(a.Faza(p).Angle[n], b.Faza(p).Angle[n]) << p << " " << n;
        }
}

template <std::size_t N, std::size_t M>
void ExpectSameInter(const std::array<sig::TInterGarmonik, N>& a, const std::array<sig::TInterGarmonik, M>& b) {
    for (int p = sig::fzA; p <= sig::fzC; ++p)
        for (int m = 1; m <= sig::kInterHarmonics; ++m) {
            EXPECT_EQ(a[p].Koef[m], b[p].Koef[m]) << p << " " << m;
            EXPECT_EQ(a[p].Angle[m], b[p].Angle[m]) << p << " " << m;
        }
}

void ExpectSamePhases(const sig::TSignalParamsU& a, const sig::TSignalParamsU& b) {
    for (int p = sig::fzA; p <= sig::fzC; ++p) {
        EXPECT_EQ(sig::U(a, p), sig::U(b, p));
        EXPECT_EQ(sig::Shift(a, p), sig::Shift(b, p));
    }
}

void ExpectSameVoltage(const sig::TSignalSet& a, const sig::TSignalSet& b) {
    EXPECT_EQ(a.Voltage.Nominal, b.Voltage.Nominal);
    EXPECT_EQ(a.Voltage.NominalFaza, b.Voltage.NominalFaza);
    EXPECT_EQ(a.Voltage.NominalLine, b.Voltage.NominalLine);
    ExpectSamePhases(a.Voltage, b.Voltage);
    EXPECT_EQ(a.Voltage.FreqNominal, b.Voltage.FreqNominal);
    EXPECT_EQ(a.Voltage.Freq, b.Voltage.Freq);
    ExpectSameHarmonics(a.Voltage.Garmonik, b.Voltage.Garmonik);
    ExpectSameInter(a.Voltage.InterGarm, b.Voltage.InterGarm);
    EXPECT_EQ(a.Switches.IncludeInterGarm, b.Switches.IncludeInterGarm);
    EXPECT_EQ(std::make_tuple(a.Switches.UOnA, a.Switches.UOnB, a.Switches.UOnC, a.Switches.HarmCountU,
                              a.Switches.InterCountU),
              std::make_tuple(b.Switches.UOnA, b.Switches.UOnB, b.Switches.UOnC, b.Switches.HarmCountU,
                              b.Switches.InterCountU));
}

void ExpectSameCurrent(const sig::TSignalSet& a, const sig::TSignalSet& b) {
    EXPECT_EQ(a.Current.Nominal, b.Current.Nominal);
    for (int p = sig::fzA; p <= sig::fzC; ++p) {
        EXPECT_EQ(sig::I(a.Current, p), sig::I(b.Current, p));
        EXPECT_EQ(sig::PhiUI(a.Current, p), sig::PhiUI(b.Current, p));
    }
    ExpectSameHarmonics(a.Current.Garmonik, b.Current.Garmonik);
    ExpectSameInter(a.Current.InterGarm, b.Current.InterGarm);
    EXPECT_EQ(std::make_tuple(a.Switches.IOnA, a.Switches.IOnB, a.Switches.IOnC, a.Switches.HarmCountI,
                              a.Switches.InterCountI),
              std::make_tuple(b.Switches.IOnA, b.Switches.IOnB, b.Switches.IOnC, b.Switches.HarmCountI,
                              b.Switches.InterCountI));
}

class SignalFiles : public ::testing::Test {
protected:
    SignalFiles() { flicker.LoadDefaults(sig::fsGost2012); }

    bool Load(SignalFileKind kind, const std::string& cp1251, bool interactive = false) {
        return LoadSignalFile(kind, IniFile::FromBytes(cp1251), interactive, {loaded, loadedExtras, log, flicker});
    }
    bool LoadText(SignalFileKind kind, const std::string& utf8) { return Load(kind, cmn::Utf8ToCp1251(utf8)); }

    sig::TKolebParamsHelpTable flicker;
    RecordingLog log;
    sig::TSignalSet loaded;
    TSignalFileExtras loadedExtras;
    TempFolder dir;
};

std::string MinimalFull(const std::string& voltageNominal, const std::string& currentNominal,
                        const std::string& voltageLines = {}) {
    return "[Уникальный идентификатор]\nТип файла=Все параметры\n[Напряжение]\nНаминал=" + voltageNominal +
           "\nФаза А=230\n" + voltageLines + "[Ток]\nНаминал=" + currentNominal + "\nФаза А=3\n";
}

TEST_F(SignalFiles, FullFileRoundTripsEveryFieldAndRecomputes) {
    const sig::TSignalSet s = SampleSignal();
    SaveSignalFile(dir / "a.usa", sfAll, s, SampleExtras());
    const std::string bytes = ReadBytes(dir / "a.usa");
    EXPECT_EQ(bytes, SignalFileContent(sfAll, s, SampleExtras()));
    ASSERT_TRUE(LoadSignalFile(sfAll, IniFile(dir / "a.usa"), false, {loaded, loadedExtras, log, flicker}));
    EXPECT_TRUE(log.lines.empty());
    ExpectSameVoltage(s, loaded);
    ExpectSameCurrent(s, loaded);
    const sig::TCollapsesParams& d = loaded.Collapses;
    EXPECT_EQ(std::make_tuple(d.Duration, d.Count, d.Period, d.StartPhase, d.Binding, d.RefKind),
              std::make_tuple(real(0.2), 7, real(1.5), -45, std::uint8_t{1}, std::uint8_t{1}));
    for (int p = sig::fzA; p <= sig::fzC; ++p) {
        EXPECT_EQ(d.Faza[p].Kind, s.Collapses.Faza[p].Kind);
        EXPECT_EQ(d.Faza[p].KPerU, s.Collapses.Faza[p].KPerU);
        EXPECT_EQ(d.Faza[p].DepthPercent, s.Collapses.Faza[p].DepthPercent);
    }
    EXPECT_EQ(loaded.Koleb.Freq, s.Koleb.Freq);
    EXPECT_EQ(loaded.Koleb.Swing, s.Koleb.Swing);
    EXPECT_EQ(loadedExtras.Description, SampleExtras().Description);
    const TSignalDisplayState& g = loadedExtras.Display;
    EXPECT_EQ(std::make_tuple(g.VoltageBarMax, g.CurrentBarMax, g.PowerBarMax, g.VoltageAxisMax, g.CurrentAxisMax),
              std::make_tuple(120.0, 8.0, 1500.0, 400.0, 8.0));
    EXPECT_EQ(g.VoltagePhases, SampleExtras().Display.VoltagePhases);
    EXPECT_EQ(g.WaveformPhases, SampleExtras().Display.WaveformPhases);
    // Voltage, fluctuation and current quantities were derived from what was read.
    EXPECT_GT(loaded.Voltage.ULine[sig::lnAB], 0);
    EXPECT_GT(loaded.Koleb.ChangesPerMin, 0);
    EXPECT_NEAR(loaded.Current.AngleIA, -29.5, 1e-12);
}

TEST_F(SignalFiles, PartialKindsRoundTripTheirOwnFields) {
    const sig::TSignalSet s = SampleSignal();
    ASSERT_TRUE(Load(sfVoltage, SignalFileContent(sfVoltage, s, {})));
    ExpectSameVoltage(s, loaded);
    EXPECT_EQ(loaded.Current.IA, 0);

    loaded = {};
    loaded.Voltage.Nominal = loaded.Voltage.NominalFaza = loaded.Voltage.NominalLine = 220;
    ASSERT_TRUE(Load(sfCurrent, SignalFileContent(sfCurrent, s, {})));
    ExpectSameCurrent(s, loaded);
    EXPECT_EQ(loaded.Voltage.Freq, s.Voltage.Freq);
    EXPECT_EQ(loaded.Switches.IncludeInterGarm, s.Switches.IncludeInterGarm);

    loaded = {};
    ASSERT_TRUE(Load(sfConverter, SignalFileContent(sfConverter, s, SampleExtras())));
    EXPECT_EQ(loaded.Converter.Nominal, s.Converter.Nominal);
    ExpectSamePhases(s.Converter, loaded.Converter);
    EXPECT_EQ(loaded.Converter.Freq, s.Voltage.Freq);
    EXPECT_EQ(loadedExtras.ConverterOn, SampleExtras().ConverterOn);
    ExpectSameHarmonics(s.Current.Garmonik, loaded.Current.Garmonik);
    ExpectSameInter(s.Current.InterGarm, loaded.Current.InterGarm);
    for (int p = sig::fzA; p <= sig::fzC; ++p) EXPECT_EQ(sig::PhiUI(loaded.Current, p), sig::PhiUI(s.Current, p));
    EXPECT_EQ(Counts(loaded.Switches)[0], Counts(s.Switches)[0]);
    EXPECT_EQ(Counts(loaded.Switches)[1], Counts(s.Switches)[1]);
}

TEST_F(SignalFiles, HandWrittenFullFileReadsExactly) {
    ASSERT_TRUE(Load(sfAll, Fixture("full.usa")));
    const sig::TSignalParamsU& v = loaded.Voltage;
    EXPECT_EQ(std::make_tuple(v.Nominal, v.NominalFaza, v.NominalLine),
              std::make_tuple(real(57.735), real(57.735), real(100)));
    EXPECT_EQ(std::make_tuple(v.UA, v.UB, v.UC, v.ShiftB),
              std::make_tuple(real(57.735), real(60), real(55), real(-120)));
    EXPECT_FALSE(loaded.Switches.UOnB);
    EXPECT_TRUE(loaded.Switches.UOnC);  // missing
    EXPECT_EQ(Counts(loaded.Switches), (std::array<int, 4>{40, 30, 50, 50}));
    EXPECT_EQ(v.Freq, Realised(50));
    EXPECT_EQ(v.Garmonik.a.Koef[5], 10);
    EXPECT_EQ(v.Garmonik.a.Angle[5], -45);
    EXPECT_EQ(v.Garmonik.b.Koef[3], 2.25);
    EXPECT_EQ(v.Garmonik.c.Koef[50], 0.125);
    EXPECT_EQ(v.InterGarm[sig::fzB].Koef[49], 0.25);
    EXPECT_EQ(v.InterGarm[sig::fzB].Angle[49], 90);
    const sig::TSignalParamsI& c = loaded.Current;
    EXPECT_EQ(std::make_tuple(c.Nominal, c.IA, c.IB, c.PhiUIA, c.PhiUIC),
              std::make_tuple(real(5), real(5), real(4.5), real(30), real(-60)));
    EXPECT_FALSE(loaded.Switches.IOnC);
    EXPECT_EQ(c.Garmonik.b.Koef[7], 3);
    EXPECT_EQ(c.Garmonik.c.Angle[7], 15);
    EXPECT_EQ(c.InterGarm[sig::fzA].Koef[10], 1);
    const sig::TCollapsesParams& d = loaded.Collapses;
    EXPECT_EQ(std::make_tuple(d.Duration, d.Count, d.Period, d.StartPhase, d.Binding, d.RefKind),
              std::make_tuple(real(0.5), 3, real(2), 90, std::uint8_t{1}, std::uint8_t{1}));
    EXPECT_EQ(std::make_tuple(d.Faza[0].DepthPercent, d.Faza[1].Kind, d.Faza[1].KPerU),
              std::make_tuple(real(40), std::uint8_t{2}, real(1.2)));
    EXPECT_EQ(std::make_tuple(d.Faza[2].Kind, d.Faza[2].KPerU),
              std::make_tuple(std::uint8_t{1}, real(0)));  // missing section
    EXPECT_EQ(loaded.Koleb.Freq, 8.8);
    EXPECT_EQ(loaded.Koleb.Swing, (sig::TPhaseReals{1.5, 0, 0.75}));
    EXPECT_EQ(loadedExtras.Description, "Поверка счетчика\nвторая строка");
    EXPECT_EQ(loadedExtras.Display.PowerBarMax, 1500);
    EXPECT_EQ(loadedExtras.Display.VoltagePhases, (std::array<bool, 6>{true, true, true, false, false, false}));
    EXPECT_EQ(loadedExtras.Display.WaveformPhases[8], true);
    EXPECT_TRUE(loaded.Switches.IncludeInterGarm);
}

TEST_F(SignalFiles, HandWrittenPartialFilesReadExactly) {
    loaded.Voltage.NominalFaza = 57.735;  // replaced: the voltage file carries its nominals
    ASSERT_TRUE(Load(sfVoltage, Fixture("voltage.usu")));
    EXPECT_EQ(std::make_tuple(loaded.Voltage.Nominal, loaded.Voltage.NominalFaza),
              std::make_tuple(real(220), real(220)));
    EXPECT_EQ(loaded.Voltage.UC, 210.5);
    EXPECT_EQ(loaded.Voltage.ShiftC, 130);
    EXPECT_EQ(loaded.Voltage.FreqNominal, 60);
    EXPECT_EQ(loaded.Voltage.Freq, Realised(60));
    EXPECT_EQ(loaded.Voltage.Garmonik.b.Angle[3], 180);

    ASSERT_TRUE(Load(sfCurrent, Fixture("current.usi")));
    EXPECT_EQ(std::make_tuple(loaded.Current.Nominal, loaded.Current.IA, loaded.Current.IC),
              std::make_tuple(real(1), real(0.5), real(1.2)));
    EXPECT_EQ(std::make_tuple(loaded.Current.PhiUIA, loaded.Current.PhiUIB), std::make_tuple(real(-30), real(30)));
    EXPECT_FALSE(loaded.Switches.IOnA);
    EXPECT_EQ(loaded.Voltage.Freq, Realised(49.5));
    EXPECT_EQ(loaded.Current.Garmonik.a.Angle[2], -90);
    EXPECT_EQ(loaded.Current.InterGarm[sig::fzC].Angle[1], 45);
    EXPECT_EQ(Counts(loaded.Switches), (std::array<int, 4>{50, 50, 40, 40}));

    ASSERT_TRUE(Load(sfConverter, Fixture("converter.upr")));
    EXPECT_EQ(std::make_tuple(loaded.Converter.Nominal, loaded.Converter.UB, loaded.Converter.ShiftC),
              std::make_tuple(real(12.5), real(200), real(120)));
    EXPECT_EQ(loadedExtras.ConverterOn, (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(loaded.Current.Garmonik.a.Koef[3], 12);
    EXPECT_EQ(loaded.Current.InterGarm[sig::fzC].Koef[2], 0.5);
    EXPECT_EQ(loaded.Current.PhiUIA, -15);
    EXPECT_EQ(loaded.Switches.HarmCountU, 40);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(SignalFiles, MissingKeysTakeTheirDefaults) {
    loaded = SampleSignal();
    loadedExtras = SampleExtras();
    ASSERT_TRUE(LoadText(sfAll, MinimalFull("220", "1")));
    const sig::TSignalParamsU& v = loaded.Voltage;
    EXPECT_EQ(v.NominalFaza, 220);
    EXPECT_EQ(v.NominalLine, static_cast<double>(std::sqrt(3.0L) * 220));
    EXPECT_NEAR(v.NominalLine, 381.05117766515, 1e-9);
    EXPECT_EQ(v.UB, 0);
    EXPECT_EQ(v.FreqNominal, 50);
    EXPECT_EQ(v.Freq, Realised(50));
    EXPECT_EQ(v.Garmonik.a.Koef[2], 0);
    EXPECT_EQ(loaded.Current.InterGarm[sig::fzA].Angle[1], 0);
    const sig::TSignalSwitches& sw = loaded.Switches;
    EXPECT_TRUE(sw.UOnC && sw.IOnC && !sw.IncludeInterGarm);
    EXPECT_EQ(Counts(sw), (std::array<int, 4>{50, 50, 50, 50}));
    EXPECT_EQ(std::make_tuple(loaded.Collapses.Binding, loaded.Collapses.RefKind, loaded.Collapses.Faza[1].Kind),
              std::make_tuple(std::uint8_t{2}, std::uint8_t{0}, std::uint8_t{1}));
    EXPECT_EQ(loaded.Koleb.Freq, 1);
    EXPECT_EQ(loadedExtras.Description, "");
    EXPECT_EQ(std::make_tuple(loadedExtras.Display.VoltageBarMax, loadedExtras.Display.CurrentBarMax,
                              loadedExtras.Display.VoltageAxisMax, loadedExtras.Display.CurrentAxisMax),
              std::make_tuple(10.0, 30.0, 600.0, 10.0));
    EXPECT_FALSE(loadedExtras.Display.VoltagePhases[0]);
}

TEST_F(SignalFiles, UnreadableNumbersTakeTheDefaults) {
    ASSERT_TRUE(LoadText(sfAll,
                         "[Уникальный идентификатор]\nТип файла=Все параметры\n[Напряжение]\nНаминал=220\n"
                         "Фаза А=abc\nФаза В=1,5\nФаза С=\nНоминал частоты=60\nЧастота=fast\n"
                         "Гармоник для расчета=0x28\nИнтергармоник для расчета=300\n"
                         "[Гармоники напряжения по фазе А]\n2-я=1e400\n3-я=1e39\n4-я= 2.5 \n5-я=-3.40282346638529E38\n"
                         "[Ток]\nНаминал=5\nВкл. Ia=yes\nВкл. Ib=0x0\n"));
    EXPECT_EQ(std::make_tuple(loaded.Voltage.UA, loaded.Voltage.UB, loaded.Voltage.UC),
              std::make_tuple(real(0), real(0), real(0)));
    EXPECT_EQ(loaded.Voltage.Freq, Realised(60));
    EXPECT_EQ(Counts(loaded.Switches)[0], 40);
    EXPECT_EQ(Counts(loaded.Switches)[1], 44);
    EXPECT_EQ(loaded.Voltage.Garmonik.a.Koef[2], 0);
    EXPECT_EQ(loaded.Voltage.Garmonik.a.Koef[3], 0);  // beyond single precision
    EXPECT_EQ(loaded.Voltage.Garmonik.a.Koef[4], 2.5);
    EXPECT_EQ(loaded.Voltage.Garmonik.a.Koef[5], -std::numeric_limits<float>::max());  // as written for it
    EXPECT_TRUE(loaded.Switches.IOnA);
    EXPECT_FALSE(loaded.Switches.IOnB);
}

// The harmonic store holds single precision: up to the value where rounding
// to a float gives infinity a file's value reads as the nearest float (the
// largest float at most), from there on it is unreadable and reads as 0.
TEST_F(SignalFiles, SpectrumValuesNarrowToFloatUpToTheFloatRange) {
    const float largest = 3.40282346638528859811704183484516925440e38f;
    const struct {
        const char* text;
        float read;
    } table[] = {
        {"3.4028234663852886e38", largest},  // the largest float itself
        {"3.4028235677973362e38", largest},  // the last double that rounds to it
        {"3.4028235677973366e38", 0},        // 2^128 - 2^103, halfway to 2^128: unreadable
        {"-3.4028235677973362e38", -largest},
        {"-3.4028235677973366e38", 0},
        {"1.401298464324817e-45", 1.401298464324817e-45f},  // the smallest float stays
    };
    for (const auto& t : table) {
        ASSERT_TRUE(LoadText(sfAll, MinimalFull("220", "5") + "[Гармоники напряжения по фазе А]\n2-я=" + t.text +
                                        "\n[Интергармоники тока по фазе С]\n1-я=" + t.text + "\n"));
        EXPECT_EQ(loaded.Voltage.Garmonik.a.Koef[2], t.read) << t.text;
        EXPECT_EQ(loaded.Current.InterGarm[sig::fzC].Koef[1], t.read) << t.text;
    }
}

TEST_F(SignalFiles, KindsAreRecognisedOnlyByTheirOwnMarker) {
    const sig::TSignalSet s = SampleSignal();
    for (int written = sfAll; written <= sfConverter; ++written)
        for (int asked = sfAll; asked <= sfConverter; ++asked) {
            log.lines.clear();
            loaded.Voltage.Nominal = loaded.Voltage.NominalFaza = loaded.Voltage.NominalLine = 220;
            const auto kind = static_cast<SignalFileKind>(asked);
            EXPECT_EQ(Load(kind, SignalFileContent(static_cast<SignalFileKind>(written), s, {})), written == asked);
            if (written == asked) continue;
            EXPECT_EQ(
                log.lines,
                (decltype(log.lines){{cmn::LogType::Notice, std::string(SignalFileKindTexts(kind).WrongKindMessage)}}));
        }
    EXPECT_FALSE(Load(sfAll, std::string("\x00\xff\x89PNG\r\n\x1a", 8)));
    EXPECT_EQ(log.lines.back().second, "Данный файл не является файлом сигналов!");
    EXPECT_THROW(SignalFileKindTexts(5), cmn::TalvoError);
}

TEST_F(SignalFiles, NominalsOutsideTheSupportedOnesAreRefused) {
    for (const char* ok : {"57.735", "220", "220.9", "57"}) EXPECT_TRUE(LoadText(sfAll, MinimalFull(ok, "5.0"))) << ok;
    EXPECT_TRUE(log.lines.empty());
    loaded = {};
    EXPECT_FALSE(LoadText(sfAll, MinimalFull("100", "5")));
    EXPECT_EQ(log.lines.back().second,
              "Номинальное напряжение, которое записано в файле, не поддерживается программой!");
    EXPECT_EQ(loaded.Voltage.UA, 0);
    // The voltage part stays loaded when the current nominal is refused.
    EXPECT_FALSE(LoadText(sfAll, MinimalFull("220", "2.5")));
    EXPECT_EQ(log.lines.back(),
              std::make_pair(cmn::LogType::Notice,
                             std::string("Номинальный ток, который записан в файле, не поддерживается программой!")));
    EXPECT_EQ(loaded.Voltage.UA, 230);
    EXPECT_EQ(loaded.Current.IA, 0);
}

TEST_F(SignalFiles, InteractiveLoadsAskAndShowWarnings) {
    RecordingLog no(true, false);
    EXPECT_FALSE(LoadSignalFile(sfVoltage, IniFile::FromBytes(Fixture("voltage.usu")), true,
                                {loaded, loadedExtras, no, flicker}));
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].kind, cmn::MessageKind::Confirmation);
    EXPECT_EQ(no.questions[0].text, "Текущие данные по напряжению будут заменены данными из файла. Продолжить?");
    EXPECT_EQ(loaded.Voltage.Nominal, 0);
    EXPECT_FALSE(
        LoadSignalFile(sfAll, IniFile::FromBytes(Fixture("voltage.usu")), true, {loaded, loadedExtras, no, flicker}));
    EXPECT_EQ(no.questions.back().kind, cmn::MessageKind::Warning);
    EXPECT_EQ(no.questions.back().text, "Данный файл не является файлом сигналов!");
    EXPECT_TRUE(no.lines.empty());

    RecordingLog yes(true, true);
    loaded.Voltage.Nominal = loaded.Voltage.NominalFaza = loaded.Voltage.NominalLine = 220;
    ASSERT_TRUE(LoadSignalFile(sfCurrent, IniFile::FromBytes(Fixture("current.usi")), true,
                               {loaded, loadedExtras, yes, flicker}));
    EXPECT_EQ(yes.questions.front().text, "Текущие данные по току будут заменены данными из файла. Продолжить?");
    // Without the interactive flag nothing is asked.
    ASSERT_TRUE(LoadSignalFile(sfConverter, IniFile::FromBytes(Fixture("converter.upr")), false,
                               {loaded, loadedExtras, yes, flicker}));
    EXPECT_EQ(yes.questions.size(), 1u);
}

TEST_F(SignalFiles, FrequencyTheCalibratorCannotPlayKeepsThePreviousOne) {
    ASSERT_TRUE(LoadText(sfAll, MinimalFull("220", "5")));
    const real previous = loaded.Voltage.Freq;
    ASSERT_TRUE(LoadText(sfAll, MinimalFull("220", "5", "Частота=80\n")));
    EXPECT_EQ(loaded.Voltage.Freq, previous);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].second.rfind("Значение частоты выходит за допустимый диапазон", 0), 0u);
}

// The sections of a file in their order, each with its keys in order.
std::vector<std::pair<std::string, std::vector<std::string>>> Sections(const std::string& cp1251) {
    std::vector<std::pair<std::string, std::vector<std::string>>> out;
    std::string text = cmn::Cp1251ToUtf8(cp1251);
    for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
        end = text.find("\r\n", at);
        const std::string line = text.substr(at, end - at);
        if (line.front() == '[') out.emplace_back(line.substr(1, line.size() - 2), std::vector<std::string>{});
        else out.back().second.push_back(line.substr(0, line.find('=')));
    }
    return out;
}

std::vector<std::string> Names(const std::vector<std::pair<std::string, std::vector<std::string>>>& sections) {
    std::vector<std::string> names;
    for (const auto& s : sections) names.push_back(s.first);
    return names;
}

TEST(SignalFileLayout, SectionsAndKeysComeInTheirOrder) {
    const std::vector<std::string> u = {"Гармоники напряжения по фазе А",
                                        "Гармоники напряжения по фазе B",
                                        "Гармоники напряжения по фазе C",
                                        "Угол сдвига гармоник напряжения по фазе А",
                                        "Угол сдвига гармоник напряжения по фазе В",
                                        "Угол сдвига гармоник напряжения по фазе С",
                                        "Интергармоники напряжения по фазе А",
                                        "Интергармоники напряжения по фазе В",
                                        "Интергармоники напряжения по фазе С",
                                        "Угол сдвига интергармоник напряжения по фазе А",
                                        "Угол сдвига интергармоник напряжения по фазе В",
                                        "Угол сдвига интергармоник напряжения по фазе С"};
    const std::vector<std::string> i = {"Гармоники тока по фазе А",
                                        "Гармоники тока по фазе B",
                                        "Гармоники тока по фазе C",
                                        "Угол сдвига гармоник тока по фазе А",
                                        "Угол сдвига гармоник тока по фазе В",
                                        "Угол сдвига гармоник тока по фазе С",
                                        "Интергармоники тока по фазе А",
                                        "Интергармоники тока по фазе В",
                                        "Интергармоники тока по фазе С",
                                        "Угол сдвига интергармоник тока по фазе А",
                                        "Угол сдвига интергармоник тока по фазе В",
                                        "Угол сдвига интергармоник тока по фазе С"};
    auto join = [](std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const std::string id = "Уникальный идентификатор", desc = "Описание сигнала", inter = "Интергармоники";
    const sig::TSignalSet s = SampleSignal();
    const auto full = Sections(SignalFileContent(sfAll, s, {}));
    EXPECT_EQ(
        Names(full),
        join({{id, desc, "Напряжение"},
              u,
              {"Ток"},
              i,
              {"Провалы и перенапряжения", "Провалы и перенапряжения по фазе А", "Провалы и перенапряжения по фазе В",
               "Провалы и перенапряжения по фазе С", "Колебания напряжения", "Колебания напряжения по фазе А",
               "Колебания напряжения по фазе В", "Колебания напряжения по фазе С", "Масштаб",
               "Отображаемые фазы напряжения", "Отображаемые фазы тока", "Отображаемые фазы мощности",
               "Отображаемые фазы графиков тока и напряжения", inter}}));
    EXPECT_EQ(Names(Sections(SignalFileContent(sfVoltage, s, {}))), join({{id, "Напряжение"}, u, {inter}}));
    EXPECT_EQ(Names(Sections(SignalFileContent(sfCurrent, s, {}))), join({{id, "Ток"}, i, {inter}}));
    const auto converter = Sections(SignalFileContent(sfConverter, s, {}));
    EXPECT_EQ(Names(converter), join({{id, desc, "Напряжение", "Ток"}, u, {inter}}));

    const std::vector<std::string> v = {"Вкл. Ua",
                                        "Вкл. Ub",
                                        "Вкл. Uc",
                                        "Наминал",
                                        "Фазный номинал",
                                        "Междуфазный номинал",
                                        "Фаза А",
                                        "Фаза В",
                                        "Фаза С",
                                        "Сдвиг фазы А",
                                        "Сдвиг фазы В",
                                        "Сдвиг фазы С",
                                        "Номинал частоты",
                                        "Частота",
                                        "Гармоник для расчета",
                                        "Интергармоник для расчета"};
    EXPECT_EQ(full[2].second, v);
    EXPECT_EQ(converter[2].second, v);
    EXPECT_EQ(converter[3].second, (std::vector<std::string>{"Сдвиг фазы А", "Сдвиг фазы В", "Сдвиг фазы С"}));
    EXPECT_EQ(full[15].second, (std::vector<std::string>{"Вкл. Ia", "Вкл. Ib", "Вкл. Ic", "Наминал", "Фаза А", "Фаза В",
                                                         "Фаза С", "Сдвиг фазы А", "Сдвиг фазы В", "Сдвиг фазы С",
                                                         "Гармоник для расчета", "Интергармоник для расчета"}));
    EXPECT_EQ(Sections(SignalFileContent(sfCurrent, s, {}))[1].second.size(), 14u);
    EXPECT_EQ(full[3].second.front(), "2-я");
    EXPECT_EQ(full[3].second.back(), "50-я");
    EXPECT_EQ(full[3].second.size(), 49u);
    EXPECT_EQ(full[9].second.front(), "1-я");
    EXPECT_EQ(full[9].second.back(), "49-я");
    EXPECT_EQ(full[9].second.size(), 49u);
}

TEST(SignalFileLayout, VoltageSectionIsWrittenByteForByte) {
    const sig::TSignalSet s = SampleSignal();
    const std::string content = SignalFileContent(sfVoltage, s, {});
    const std::string expected = cmn::Utf8ToCp1251(
        "[Уникальный идентификатор]\r\nТип файла=Только напряжение\r\n[Напряжение]\r\nВкл. Ua=1\r\nВкл. Ub=0\r\nВкл. "
        "Uc=1\r\n"
        "Наминал=57.735\r\nФазный номинал=57.7\r\nМеждуфазный номинал=100\r\nФаза А=57.1\r\nФаза В=58.25\r\nФаза "
        "С=1E-7\r\n"
        "Сдвиг фазы А=0.5\r\nСдвиг фазы В=-119.25\r\nСдвиг фазы С=120.125\r\nНоминал частоты=50\r\nЧастота=" +
        cmn::FormatReal(static_cast<double>(s.Voltage.Freq)) +
        "\r\nГармоник для расчета=40\r\nИнтергармоник для расчета=30\r\n[Гармоники напряжения по фазе "
        "А]\r\n2-я=0.740000009536743\r\n");
    EXPECT_EQ(content.substr(0, expected.size()), expected);
    const std::string tail = cmn::Utf8ToCp1251("\r\n[Интергармоники]\r\nВключить интергармоники в сигнал=1\r\n");
    EXPECT_EQ(content.substr(content.size() - tail.size()), tail);
}

TEST_F(SignalFiles, CurrentAnglesAreStoredNegated) {
    sig::TSignalSet s = SampleSignal();
    const IniFile ini = IniFile::FromBytes(SignalFileContent(sfAll, s, {}));
    EXPECT_EQ(ini.ReadString("Ток", "Сдвиг фазы А", ""), "-30");
    EXPECT_EQ(ini.ReadString("Ток", "Сдвиг фазы В", ""), "45.5");
}

TEST_F(SignalFiles, SavingAVoltageFileOntoAFullFileKeepsTheRest) {
    SaveSignalFile(dir / "a.usa", sfAll, SampleSignal(), SampleExtras());
    sig::TSignalSet other = SampleSignal();
    other.Voltage.UA = 220.5;
    SaveSignalFile(dir / "a.usa", sfVoltage, other, {});
    const IniFile ini(dir / "a.usa");
    EXPECT_EQ(ini.ReadString("Уникальный идентификатор", "Тип файла", ""), "Только напряжение");
    EXPECT_EQ(ini.ReadFloat("Напряжение", "Фаза А", 0), 220.5);
    EXPECT_EQ(ini.ReadFloat("Ток", "Фаза А", 0), 4.5);
    EXPECT_EQ(ini.ReadInteger("Масштаб", "Мощность", 0), 1500);
    EXPECT_TRUE(ini.SectionExists("Провалы и перенапряжения по фазе С"));
    EXPECT_EQ(DecodeDescription(ini.ReadString("Описание сигнала", "Описание", "")), SampleExtras().Description);
}

TEST_F(SignalFiles, UnwritableFolderLeavesTheOldFile) {
    fs::create_directory(dir / "locked");
    fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::others_exec);
    SaveSignalFile(dir / "locked/a.usa", sfAll, SampleSignal(), SampleExtras());
    const std::string old = ReadBytes(dir / "locked/a.usa");
    ::chmod((dir / "locked").c_str(), 0555);
    sig::TSignalSet other = SampleSignal();
    other.Voltage.UA = 1;
    const std::string path = dir / "locked/a.usa";
    EXPECT_EQ(talvo_test::InChild(
                  [&] {
                      try {
                          SaveSignalFile(path, sfAll, other, {});
                      } catch (const cmn::TalvoError&) {
                          return true;
                      }
                      return false;
                  },
                  true),
              0);
    EXPECT_EQ(ReadBytes(path), old);
    ::chmod((dir / "locked").c_str(), 0755);
}

TEST(SignalFileText, RealsUseAPointUnderACommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) GTEST_SKIP() << "locale ru_RU.UTF-8 is not installed";
    const std::string content = cmn::Cp1251ToUtf8(SignalFileContent(sfAll, SampleSignal(), {}));
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_NE(content.find("Наминал=57.735\r\n"), std::string::npos);
    EXPECT_NE(content.find("Длительность=0.2\r\n"), std::string::npos);
}

TEST(SignalFileText, DescriptionLinesSurviveInOneValue) {
    EXPECT_EQ(EncodeDescription("a\\b\r\nc"), "a\\\\b\\r\\nc");
    EXPECT_EQ(DecodeDescription("a\\\\b\\r\\nc"), "a\\b\r\nc");
    EXPECT_EQ(DecodeDescription("C:\\temp\\"), "C:\\temp\\");
    const IniFile ini = IniFile::FromBytes(SignalFileContent(sfAll, SampleSignal(), SampleExtras()));
    EXPECT_EQ(ini.ReadString("Описание сигнала", "Описание", ""), "Поверка\\r\\nвторая строка \\\\ с чертой");
}

}  // namespace
