#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "CommonUtils/TalvoError.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "TestSignals.h"
#include "signal/Flicker.h"
#include "signal/Nominals.h"

namespace {

using sig::real;
namespace fs = std::filesystem;

double D(real x) { return static_cast<double>(x); }
const real kRoot2 = std::sqrt(2.0L);

TEST(FlickerTable, BuiltInTablesAreSortedUnionsOfBothKindsOfRows) {
    sig::TKolebParamsHelpTable t;
    t.LoadDefaults(sig::fsGost99);
    EXPECT_EQ(t.Count(), 6 + 35);
    EXPECT_EQ(t.FirstFreq(), 1.0L / 120);
    EXPECT_EQ(t.LastFreq(), 24);
    for (int i = 1; i < t.Count(); ++i) EXPECT_LE(t.Row(i - 1).Freq, t.Row(i).Freq);

    t.LoadDefaults(sig::fsGost2012);
    EXPECT_EQ(t.Count(), 6 + 43);
    EXPECT_EQ(t.FirstFreq(), 2.0L / 120);
    // 33.33333 Hz and 4000 per minute (33.333... Hz) are two rows, in this order.
    const auto found = t.FindRow(33.33333L);
    ASSERT_TRUE(found.Exact);
    EXPECT_EQ(t.Row(found.Index).DeltaU, 1.258L * kRoot2);
    EXPECT_EQ(t.Row(found.Index + 1).Freq, 4000.0L / 120);
    EXPECT_EQ(t.Row(found.Index + 1).DeltaU, 2.343L);

    t.LoadDefaults(7);
    EXPECT_EQ(t.Count(), 0);
}

TEST(FlickerTable, LookupAndInterpolation) {
    sig::TKolebParamsHelpTable t;
    t.LoadDefaults(sig::fsGost99);
    EXPECT_EQ(*t.ValueAt(1.0L / 120), 2.72L);
    EXPECT_EQ(*t.ValueAt(8.8L), 0.199L * kRoot2);
    const real expected = 0.199L * kRoot2 + (9 - 8.8L) * (0.2L * kRoot2 - 0.199L * kRoot2) / (9.5L - 8.8L);
    EXPECT_EQ(*t.ValueAt(9), expected);
    EXPECT_EQ(*t.ValueAt(24), 0.743L * kRoot2);
    EXPECT_FALSE(t.ValueAt(24.01L));
    EXPECT_FALSE(t.ValueAt(0.001L));
    EXPECT_FALSE(t.ValueAt(NAN));
    EXPECT_FALSE(sig::TKolebParamsHelpTable().ValueAt(1));
}

class FlickerFile : public ::testing::Test {
protected:
    talvo_test::TempFolder dir{"talvo-flicker"};
    fs::path file = dir.Path() / sig::kFlickerFileName;
    sig::TKolebParamsHelpTable table;

    void Write(const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }
    sig::TFlickerLoadCode Load(const std::string& bytes) {
        Write(bytes);
        return table.LoadFromFile(file.string());
    }
};

TEST_F(FlickerFile, ValidFilesLoadSortedAsTheyAre) {
    EXPECT_EQ(Load("10\t0.5\n8.8\t0.277\r\n\n"), sig::flLoaded);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Row(0).Freq, 8.8L);
    EXPECT_EQ(table.Row(0).DeltaU, 0.277L);  // no factor, no conversion
    EXPECT_EQ(table.Row(1).Freq, 10);
}

TEST_F(FlickerFile, MalformedFilesLeaveTheTableEmpty) {
    const std::pair<std::string, sig::TFlickerLoadCode> cases[] = {
        {"8,8\t0.3\n10\t0.5\n", sig::flBadFormat},
        {"8.8 0.3\n10\t0.5\n", sig::flBadFormat},
        {"8.8\t0.3\t1\n10\t0.5\n", sig::flBadFormat},
        {"8.8\t0.3\n10\t\n", sig::flBadFormat},
        {std::string("8.8\t0.3\n\x00\x01\xff\xfe\t\x80\n", 14), sig::flBadFormat},
        {"8.8\t" + std::string(200000, '7') + "x\n10\t0.5\n", sig::flBadFormat},
        {"8.8\t0.3\n", sig::flTooFewRows},
        {"", sig::flTooFewRows},
        {"\r\n\r\n", sig::flTooFewRows},
    };
    for (const auto& [bytes, code] : cases) {
        table.AddRow(1, 1);
        EXPECT_EQ(Load(bytes), code) << bytes.substr(0, 40);
        EXPECT_EQ(table.Count(), 0);
    }
}

TEST_F(FlickerFile, MissingAndUnopenableFiles) {
    EXPECT_EQ(table.LoadFromFile(dir / "absent.dat"), sig::flMissing);
    EXPECT_EQ(table.LoadFromFile(dir.Path().string()), sig::flUnreadable);
}

TEST_F(FlickerFile, UnreadableFile) {
    Write("8.8\t0.3\n10\t0.5\n");
    fs::permissions(file, fs::perms::none);
    if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
    EXPECT_EQ(table.LoadFromFile(file.string()), sig::flUnreadable);
}

TEST_F(FlickerFile, AFailedFileFallsBackWithAWarning) {
    Write("8.8\t0.3\n");
    talvo_test::RecordingLog window(true);
    EXPECT_EQ(sig::LoadFlickerTable(table, file.string(), false, sig::fsGost2012, window), sig::flTooFewRows);
    EXPECT_EQ(table.Count(), 49);  // the built-in table of the standard
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].text,
              "Ошибка при открытии файла \"fliker.dat\":\r\nНедостаточное количество записей.\r\n\r\n"
              "Для расчета дозы фликера будут использованы значения по умолчанию.");
    EXPECT_EQ(window.questions[0].buttons, cmn::Buttons::Ok);

    talvo_test::RecordingLog console;
    Write("8,8\t0.3\n10\t1\n");
    EXPECT_EQ(sig::LoadFlickerTable(table, file.string(), false, sig::fsGost99, console), sig::flBadFormat);
    ASSERT_EQ(console.lines.size(), 1u);
    EXPECT_NE(console.lines[0].second.find("Неверный формат файла."), std::string::npos);
    EXPECT_EQ(sig::LoadFlickerTable(table, file.string(), true, sig::fsGost99, console), sig::flBadFormat);
    EXPECT_EQ(console.lines.size(), 1u);  // silent
    EXPECT_EQ(sig::LoadFlickerTable(table, dir / "absent.dat", false, sig::fsGost99, console), sig::flMissing);
    EXPECT_EQ(console.lines.size(), 1u);  // a missing file is no warning
    EXPECT_EQ(table.Count(), 41);
}

TEST_F(FlickerFile, AGoodFileStaysInForce) {
    Write("1\t2\n30\t3\n");
    talvo_test::RecordingLog log;
    EXPECT_EQ(sig::LoadFlickerTable(table, file.string(), false, sig::fsGost99, log), sig::flLoaded);
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(*table.ValueAt(15.5L), 2.5L);
    EXPECT_EQ(sig::LoadFlickerTable(table, std::nullopt, true, sig::fsGost99, log), sig::flLoaded);
    EXPECT_EQ(table.Count(), 41);
}

TEST(SharedFlickerTable, SnapshotsAreCopies) {
    talvo_test::RecordingLog log;
    sig::TSharedFlickerTable& shared = sig::FlickerTable();
    shared.Load(std::nullopt, true, sig::fsGost2012, log);
    const sig::TKolebParamsHelpTable snapshot = shared.Snapshot();
    shared.Load(std::nullopt, true, sig::fsGost99, log);
    EXPECT_EQ(snapshot.Count(), 49);
    EXPECT_EQ(shared.Snapshot().Count(), 41);
}

class Fluctuations : public ::testing::Test {
protected:
    std::unique_ptr<sig::TSignalSet> s = talvo_test::BalancedSignal();
    sig::TKolebParams& k = s->Koleb;
    sig::TKolebParamsHelpTable table;

    void Calc() { sig::CalcKolebParams(s->Voltage, k, true, true, true, table); }
};

TEST_F(Fluctuations, TimingValues) {
    table.LoadDefaults(sig::fsGost99);
    k.Freq = 8;
    Calc();
    EXPECT_EQ(k.ChangesPerMin, 960);
    EXPECT_EQ(k.Period, 0.125L);
    EXPECT_EQ(k.HalfPeriod, 0.0625L);
    EXPECT_EQ(k.PeriodCode, 0.125L * 32767 * 1000);
}

TEST_F(Fluctuations, DoseOfOneAtTheReferenceChange) {
    table.LoadDefaults(sig::fsGost2012);
    k.Freq = 8.8L;
    k.Swing[sig::fzA] = 0.2772L;
    Calc();
    EXPECT_NEAR(D(k.Pst[sig::fzA]), 1, 1e-3);
    EXPECT_EQ(k.Pst[sig::fzB], 0);
}

TEST_F(Fluctuations, OneChangePerMinuteWithBothStandards) {
    k.Freq = 1.0L / 120;
    k.Swing = {2.72L, 1.36L, 0};
    table.LoadDefaults(sig::fsGost99);
    Calc();
    EXPECT_EQ(k.Pst[sig::fzA], 1);
    EXPECT_EQ(k.Pst[sig::fzB], 0.5L);
    table.LoadDefaults(sig::fsGost2012);
    Calc();
    for (const real dose : k.Pst) EXPECT_EQ(dose, 0);
}

TEST_F(Fluctuations, InterpolatedReference) {
    table.LoadDefaults(sig::fsGost99);
    k.Freq = 9;
    k.Swing[sig::fzC] = 1;
    Calc();
    EXPECT_EQ(k.Pst[sig::fzC], 1 / *table.ValueAt(9));
    EXPECT_GT(k.Pst[sig::fzC], 1 / (0.2L * kRoot2));
    EXPECT_LT(k.Pst[sig::fzC], 1 / (0.199L * kRoot2));
}

TEST_F(Fluctuations, EqualSwingsGiveTheSameLineSwing) {
    table.LoadDefaults(sig::fsGost99);
    k.Swing = {5, 5, 5};
    Calc();
    for (const real swing : k.SwingLine) EXPECT_NEAR(D(swing), 5, 1e-4);
    EXPECT_EQ(k.Pst[sig::fzAB], k.SwingLine[sig::lnAB] / *table.ValueAt(1));
}

TEST_F(Fluctuations, ASwitchedOffPhaseLeavesItsLinesToTheOther) {
    table.LoadDefaults(sig::fsGost99);
    k.Swing = {5, 0, 0};
    sig::CalcKolebParams(s->Voltage, k, true, false, true, table);
    EXPECT_NEAR(D(k.SwingLine[sig::lnAB]), 5, 1e-4);  // A alone on AB
    EXPECT_EQ(k.SwingLine[sig::lnBC], 0);             // C alone, no swing
    s->Voltage.UA = s->Voltage.UB = s->Voltage.UC = 0;
    Calc();
    EXPECT_EQ(k.SwingLine[sig::lnCA], 0);  // no line voltage at all
}

TEST_F(Fluctuations, ANonPositiveFrequencyIsRefusedAndChangesNothing) {
    table.LoadDefaults(sig::fsGost99);
    k.Freq = 2;
    Calc();
    const sig::TKolebParams before = k;
    for (const real f : {0.0L, -1.0L}) {
        k.Freq = f;
        EXPECT_THROW(Calc(), cmn::TalvoError);
        EXPECT_EQ(k.Period, before.Period);
        EXPECT_EQ(k.Pst, before.Pst);
    }
}

}  // namespace
