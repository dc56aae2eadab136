// The check as the window shows and saves it: row texts and colours, the
// plots each action offers, the thinning of long series, and the names of
// the report files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "measure/VerifyLook.h"

namespace {

msr::TCompareRow Row(double set, double measured, double tolerance, bool pass, const std::string& unit = "В") {
    return {"UA действующее", unit, set, measured, measured - set, tolerance, "граница квантования таблицы", pass};
}

std::tm Time() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 3;
    return t;
}

TEST(VerifyTable, CellsCarryTheUnitTheToleranceSignAndTheVerdict) {
    const auto cells = msr::CompareCells(Row(220, 220.00314, 0.0216, true));
    EXPECT_EQ(cells[0], "UA действующее, В");
    EXPECT_EQ(cells[1], "220.0000");
    EXPECT_EQ(cells[2], "220.0031");
    EXPECT_EQ(cells[3], "0.003140");
    EXPECT_EQ(cells[4], "±0.021600");
    EXPECT_EQ(cells[5], "граница квантования таблицы");
    EXPECT_EQ(cells[msr::kResultColumn], "в допуске");
    EXPECT_EQ(msr::CompareCells(Row(1, 2, 0.5, false, ""))[0], "UA действующее");
    EXPECT_EQ(msr::CompareCells(Row(1, 2, 0.5, false))[msr::kResultColumn], "ВНЕ ДОПУСКА");
}

TEST(VerifyTable, DecimalsFollowTheMagnitudeAndOddValuesReadPlainly) {
    EXPECT_EQ(msr::CompareValue(1234.567), "1234.57");
    EXPECT_EQ(msr::CompareValue(-57.123456), "-57.1235");
    EXPECT_EQ(msr::CompareValue(0.0031234), "0.003123");
    EXPECT_EQ(msr::CompareValue(-1e-9), "0");
    EXPECT_EQ(msr::CompareValue(std::numeric_limits<double>::quiet_NaN()), "нет");
    EXPECT_EQ(msr::CompareValue(std::numeric_limits<double>::infinity()), "нет");
}

TEST(VerifyTable, AFailedRowStandsOutWholeAndItsVerdictInBold) {
    const auto fail = Row(220, 230, 0.02, false);
    for (int c = 0; c < static_cast<int>(msr::kCompareColumns.size()); ++c) {
        const auto look = msr::CellLook(fail, c);
        EXPECT_NE(look.Background, 0xFFFFFFu) << c;
        EXPECT_EQ(look.Bold, c == msr::kResultColumn) << c;
    }
    const auto pass = Row(220, 220, 0.02, true);
    EXPECT_EQ(msr::CellLook(pass, 0).Background, 0xFFFFFFu);
    EXPECT_NE(msr::CellLook(pass, msr::kResultColumn).Foreground, msr::CellLook(fail, msr::kResultColumn).Foreground);
    EXPECT_NE(msr::CellLook(pass, msr::kResultColumn).Foreground, msr::CellLook(pass, 0).Foreground);
}

TEST(VerifyTable, SummaryCountsTheRowsOutOfTolerance) {
    msr::TVerifyReport r;
    r.Rows = {Row(1, 1, 1, true), Row(1, 1, 1, true)};
    EXPECT_EQ(msr::VerifySummary(r), "Все величины в допуске (2)");
    r.Rows.push_back(Row(1, 5, 1, false));
    EXPECT_EQ(msr::VerifySummary(r), "Вне допуска 1 из 3");
    EXPECT_EQ(msr::ProgressPercent(0.456), 46);
    EXPECT_EQ(msr::ProgressPercent(1.7), 100);
    EXPECT_EQ(msr::ProgressPercent(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(VerifyChoices, OptionsCarryTheChoicesAndTheProgramsSettings) {
    sig::TCorrectionRecord correction{};
    correction[1] = 1.25L;
    const lnk::TSignalLibrary library;
    auto o = msr::OptionsFor(msr::TVerifyAction::Koleb, 0, 2, correction, &library);
    EXPECT_EQ(o.Capture.Action, msr::TVerifyAction::Koleb);
    EXPECT_EQ(o.Capture.Modification, 2);
    EXPECT_EQ(o.Capture.Correction[1], 1.25L);
    EXPECT_EQ(o.Capture.Library, &library);
    EXPECT_EQ(o.FlickerSeconds, 600);
    EXPECT_LT(msr::OptionsFor(msr::TVerifyAction::Koleb, 1, 1, correction, nullptr).FlickerSeconds, 600);
    EXPECT_LT(msr::OptionsFor(msr::TVerifyAction::Koleb, 9, 1, correction, nullptr).FlickerSeconds, 600);
    // Each observation shorter than the standard's says so in its caption.
    for (const auto& choice : msr::FlickerChoices()) {
        EXPECT_EQ(choice.Seconds < 600, choice.Caption.find("сокращённое") != std::string_view::npos) << choice.Caption;
    }
    EXPECT_TRUE(msr::FlickerChoiceApplies(msr::TVerifyAction::Koleb));
    EXPECT_FALSE(msr::FlickerChoiceApplies(msr::TVerifyAction::ColOver));
}

TEST(VerifyPlots, EachActionOffersThePlotsItHasDataFor) {
    msr::TVerifyReport r;
    r.Harmonics.resize(1);
    r.Pinst.resize(6);
    r.HalfCycleRms.resize(6);
    auto p = msr::PlotsFor(r, msr::TVerifyAction::Sinus);
    EXPECT_FALSE(p.Waveform);  // nothing was played back
    EXPECT_TRUE(p.Harmonics);
    EXPECT_FALSE(p.Pinst);
    EXPECT_FALSE(p.HalfCycleRms);
    p = msr::PlotsFor(r, msr::TVerifyAction::ColOver);
    EXPECT_TRUE(p.HalfCycleRms);
    EXPECT_FALSE(p.Pinst);
    p = msr::PlotsFor(r, msr::TVerifyAction::Koleb);
    EXPECT_TRUE(p.Pinst);
    EXPECT_FALSE(p.HalfCycleRms);
    r.Pinst.clear();
    EXPECT_FALSE(msr::PlotsFor(r, msr::TVerifyAction::Koleb).Pinst);
}

TEST(VerifyPlots, AShortSeriesIsDrawnAsItIsAndALongOneKeepsItsExtremes) {
    const msr::TTimeSeries small{"Pinst UA", 0.5, 1.0, {1, 2, 3}};
    const auto few = msr::PlotPoints(small, 100);
    ASSERT_EQ(few.size(), 3u);
    EXPECT_DOUBLE_EQ(few[2].X, 2.0);
    EXPECT_DOUBLE_EQ(few[2].Y, 3.0);

    msr::TTimeSeries many{"Urms(1/2) UA", 0.01, 0, std::vector<double>(100000, 220.0)};
    many.Values[31234] = 132.0;  // a dip of one half period
    many.Values[77777] = 250.0;
    const auto thin = msr::PlotPoints(many, 1000);
    EXPECT_LE(thin.size(), 1000u);
    EXPECT_GE(thin.size(), 400u);
    EXPECT_TRUE(std::is_sorted(thin.begin(), thin.end(), [](auto& a, auto& b) { return a.X < b.X; }));
    const auto dip = std::find_if(thin.begin(), thin.end(), [](auto& p) { return p.Y == 132.0; });
    ASSERT_NE(dip, thin.end());
    EXPECT_NEAR(dip->X, 312.34, 1e-9);
    EXPECT_TRUE(std::any_of(thin.begin(), thin.end(), [](auto& p) { return p.Y == 250.0; }));
    EXPECT_EQ(msr::SeriesLabel("Urms(1/2) AB"), "AB");
    EXPECT_EQ(msr::SeriesLabel("Pinst"), "Pinst");
}

TEST(VerifyPlots, WaveformsInMillisecondsAndHarmonicsFromTheSecondOrder) {
    const msr::TWaveformPair pair{1.0 / 8000, {0, 1, 2}, {0.5, 1.5, 2.5}};
    const auto [played, ideal] = msr::WaveformPoints(pair);
    ASSERT_EQ(played.size(), 3u);
    EXPECT_DOUBLE_EQ(played[2].X, 0.25);
    EXPECT_DOUBLE_EQ(ideal[1].Y, 1.5);
    EXPECT_NEAR(msr::SpanSeconds(2, 50), 0.04, 1e-12);
    EXPECT_NEAR(msr::SpanSeconds(1, 0), 0.02, 1e-12);

    msr::THarmonicBars bars{"UA", {}, {}};
    bars.Set[1] = 100;
    bars.Set[2] = 5;
    bars.Measured[50] = 0.7;
    const auto columns = msr::HarmonicColumns(bars);
    ASSERT_EQ(columns.Set.size(), 49u);
    EXPECT_EQ(columns.Set.front(), 5);
    EXPECT_EQ(columns.Measured.back(), 0.7);
}

TEST(VerifyReportFiles, NamesComeFromTheCaptionAndTheTimeOfTheCheck) {
    EXPECT_EQ(msr::ReportFileStem("Испытательный сигнал: harmonics-dips-flicker.usa", Time()),
              "Проверка harmonics-dips-flicker 2026-12-09 07-05-03");
    EXPECT_EQ(msr::ReportFileStem("Испытательный сигнал: Без имени #1", Time()),
              "Проверка Без имени #1 2026-12-09 07-05-03");
    EXPECT_EQ(msr::ReportFileStem("Редактирование: a/b:c?.usa", Time()), "Проверка a_b_c_ 2026-12-09 07-05-03");
    EXPECT_EQ(msr::ReportFileStem("", Time()), "Проверка сигнал 2026-12-09 07-05-03");
    EXPECT_EQ(msr::ReportTime(Time()), "09.12.2026 07:05:03");

    EXPECT_EQ(msr::PdfPath("/tmp/r.PDF"), "/tmp/r.PDF");
    EXPECT_EQ(msr::PdfPath("/tmp/dir.x/r"), "/tmp/dir.x/r.pdf");
    EXPECT_EQ(msr::PdfPath("/tmp/r.csv"), "/tmp/r.csv.pdf");
    EXPECT_EQ(msr::CsvPathBeside("/tmp/dir.x/r.pdf"), "/tmp/dir.x/r.csv");
    EXPECT_EQ(msr::CsvPathBeside("/tmp/dir.x/r"), "/tmp/dir.x/r.csv");
}

TEST(VerifyReportFiles, TheHeaderNamesEverythingTheReportIsAbout) {
    msr::TVerifyReport r;
    r.Rows = {Row(1, 5, 1, false)};
    r.Notes = {"Доза фликера измерена за 60 с"};
    const auto lines = msr::ReportHeaderLines(
        r, {"Испытательный сигнал: a.usa", "Колебания напряжения", "dmTalvoM", "09.12.2026 07:05:03"}, "1.2.3+gabc");
    const auto has = [&](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(has("Сигнал: Испытательный сигнал: a.usa"));
    EXPECT_TRUE(has("Действие: Колебания напряжения"));
    EXPECT_TRUE(has("Дата и время проверки: 09.12.2026 07:05:03"));
    EXPECT_TRUE(has("Версия программы: 1.2.3+gabc"));
    EXPECT_TRUE(has("Модификация калибратора: dmTalvoM"));
    EXPECT_TRUE(has("Итог: Вне допуска 1 из 1"));
    EXPECT_TRUE(has("Примечание: Доза фликера измерена за 60 с"));
}

}  // namespace
