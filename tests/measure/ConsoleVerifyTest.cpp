// "-c Verify" on the command line: parsed beside the specified commands,
// run without a calibrator, reported line by line and into a file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "RecordingLog.h"
#include "TempFolder.h"
#include "console/CommandLine.h"
#include "console/ConsoleRun.h"

namespace {

console::TConsoleOptions Parse(const std::vector<std::string>& args) {
    std::vector<std::string> all{"KalibratorTalvo"};
    all.insert(all.end(), args.begin(), args.end());
    return console::TConsolManager(all).Options();
}

std::string Example(const std::string& name) { return std::string(TALVO_EXAMPLES_DIR) + "/" + name; }

int RunVerify(const console::TConsoleOptions& o, talvo_test::RecordingLog& log) {
    std::istringstream none;
    return console::RunConsole(o, none, log, std::string(TALVO_BIN_DIR) + "/");
}

std::string Read(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ConsoleVerify, TheCommandAndItsReportAreParsedAndAMistypedCommandStaysAWindowStart) {
    const auto o = Parse({"-c", "Verify", "-p", "a.usa", "-t", "Koleb", "-k", "dmTalvo", "-o", "r.csv"});
    EXPECT_EQ(o.Command, console::TConsoleCommand::Verify);
    EXPECT_EQ(o.Type, console::ctKoleb);
    EXPECT_EQ(o.Modification, 0);
    EXPECT_EQ(o.Report, "r.csv");
    EXPECT_EQ(Parse({"-c", "verify"}).Command, console::TConsoleCommand::None);
    EXPECT_EQ(Parse({"-c", "SetSignal", "-o", "x.json"}).Command, console::TConsoleCommand::SetSignal);
}

TEST(ConsoleVerify, AnExamplePassesWithOneLinePerQuantityAndAJsonReport) {
    talvo_test::TempFolder folder;
    auto o = Parse({"-c", "Verify", "-p", Example("balanced-nominal.usa"), "-o", folder / "report.json"});
    talvo_test::RecordingLog log;
    EXPECT_EQ(RunVerify(o, log), console::kExitSuccess);
    const auto texts = log.Texts();
    std::size_t rows = 0;
    for (const auto& t : texts)
        if (t.find(" — в допуске") != std::string::npos) ++rows;
    EXPECT_GT(rows, 40u);
    EXPECT_NE(texts.back().find("Отчёт записан"), std::string::npos);
    const std::string json = Read(folder / "report.json");
    EXPECT_NE(json.find("\"passed\": true"), std::string::npos);
    EXPECT_NE(json.find("\"quantity\": \"UA действующее\""), std::string::npos);
}

TEST(ConsoleVerify, ACsvReportHoldsTheTableAndPdfIsRefusedInRussian) {
    talvo_test::TempFolder folder;
    talvo_test::RecordingLog log;
    auto o = Parse({"-c", "Verify", "-p", Example("balanced-nominal.usa"), "-o", folder / "report.csv"});
    EXPECT_EQ(RunVerify(o, log), console::kExitSuccess);
    const std::string csv = Read(folder / "report.csv");
    EXPECT_NE(csv.find("\"Величина\";\"Единица\";\"Задано\";\"Измерено\""), std::string::npos);
    EXPECT_NE(csv.find("\"UA действующее\";\"В\";"), std::string::npos);

    talvo_test::RecordingLog refused;
    o.Report = folder / "report.pdf";
    EXPECT_EQ(RunVerify(o, refused), console::kExitFailure);
    ASSERT_FALSE(refused.Texts().empty());
    EXPECT_NE(refused.Texts().back().find("PDF сохраняет окно программы"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "report.pdf"));
}

TEST(ConsoleVerify, AMissingFileFails) {
    talvo_test::RecordingLog log;
    EXPECT_EQ(RunVerify(Parse({"-c", "Verify", "-p", "нет.usa"}), log), console::kExitFailure);
    EXPECT_EQ(log.Texts().back(), "Файл не найден : нет.usa");
}

}  // namespace
