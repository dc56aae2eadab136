// The program started in console mode, as scripts start it, against the
// calibrator simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CalibratorSimulator.h"
#include "ChildProcess.h"
#include "CommonUtils/CodePage.h"
#include "FileBytes.h"
#include "ForeignHolder.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "export/ExportColumn.h"
#include "files/SignalFile.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"

#ifndef TALVO_EXAMPLES_DIR
#error "TALVO_EXAMPLES_DIR must name the examples folder"
#endif

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using talvo_test::FrameCodes;

struct TRun {
    int ExitCode = 0;
    std::string Output;
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = Output.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(Output.substr(start, end - start));
        return lines;
    }
};

// Runs the program with the arguments and `input` on its standard input;
// `environment` goes before the command ("NAME=value ").
TRun RunProgram(const std::vector<std::string>& args, const std::string& input = {},
                const std::string& environment = {}) {
    const talvo_test::TempFolder temp{"talvo-console-in"};
    const fs::path inputFile = temp.Path() / "input";
    talvo_test::WriteBytes(inputFile, input);
    std::string command = environment + talvo_test::ShellQuoted(std::string(TALVO_BIN_DIR) + "/KalibratorTalvo");
    for (const std::string& a : args) command += " " + talvo_test::ShellQuoted(a);
    command += " < " + talvo_test::ShellQuoted(inputFile.string()) + " 2>&1";
    const talvo_test::TShellRun shell = talvo_test::RunShell(command);
    // The program's -1 reaches the shell as 255.
    return {shell.ExitCode ? static_cast<signed char>(*shell.ExitCode) : -100, shell.Output};
}

std::string Example(const std::string& name) { return std::string(TALVO_EXAMPLES_DIR) + "/" + name; }

// The export column of a signal file as the console computes it.
xls::TExportColumn ExpectedColumn(const std::string& path) {
    talvo_test::RecordingLog quiet;
    sig::TKolebParamsHelpTable flicker;
    flicker.LoadDefaults(sig::fsGost99);
    sig::TSignalSet signal;
    files::TSignalFileExtras extras;
    EXPECT_TRUE(
        files::LoadSignalFile(files::sfAll, files::IniFile(path), false, {signal, extras, quiet, flicker, 0, true}));
    sig::Recalculate(signal, flicker);
    xls::TExportColumn column;
    xls::FillExportColumn(signal, column);
    return column;
}

class ConsoleRun : public ::testing::Test {
protected:
    talvo_test::TempSettings settings;
};

TEST_F(ConsoleRun, SetSignalAloneResetsTheWholeSignalOnCom1) {
    talvo_test::CalibratorSimulator sim("COM1");
    const TRun run = RunProgram({"-c", "SetSignal"});
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_EQ(run.Lines().front(), "Сброс всего сигнала");
    EXPECT_EQ(run.Lines().back(), "Передача выполнена");
    EXPECT_EQ(FrameCodes(sim.WaitFrames(2)), (std::vector<int>{14, 15}));
}

TEST_F(ConsoleRun, MissingSignalFileFails) {
    const TRun run = RunProgram({"-c", "SetSignal", "-t", "Sinus", "-p", "x.usa"});
    EXPECT_EQ(run.ExitCode, -1);
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"Передача сигнала: x.usa", "Файл не найден : x.usa"}));
}

TEST_F(ConsoleRun, TestSignalFromAFileAndFromStandardInput) {
    talvo_test::CalibratorSimulator sim("COM3");
    const std::string file = Example("balanced-nominal.usa");
    const TRun fromFile = RunProgram({"-c", "SetSignal", "-t", "Sinus", "-p", file, "-cn", "COM3", "-k", "dmTalvo"});
    EXPECT_EQ(fromFile.ExitCode, 0) << fromFile.Output;
    EXPECT_EQ(fromFile.Lines().back(), "Передача выполнена");
    const auto frames = sim.WaitFrames(8);
    EXPECT_EQ(FrameCodes(frames), (std::vector<int>{14, 15, 12, 10, 1, 2, 7, 14}));
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[4]["samples"], 3419);

    // The same text piped in: the temporary file is gone afterwards.
    const fs::path temporary = settings.Root() / "tmp";
    fs::create_directories(temporary);
    const TRun piped = RunProgram({"-c", "SetSignal", "-t", "Sinus", "-s", "-cn", "COM3"}, talvo_test::ReadBytes(file),
                                  "TMPDIR=" + talvo_test::ShellQuoted(temporary.string()) + " ");
    EXPECT_EQ(piped.ExitCode, 0) << piped.Output;
    EXPECT_EQ(piped.Lines().front().rfind("Передача сигнала: ~", 0), 0u) << piped.Output;
    EXPECT_TRUE(fs::is_empty(temporary));
    EXPECT_EQ(sim.WaitFrames(16).size(), 16u);  // a new process knows no divisor sent before
}

// Only "dmTalvo" selects the first modification, whose tables carry no
// output-filter gain on the harmonics.
TEST_F(ConsoleRun, ModificationFromTheOption) {
    talvo_test::CalibratorSimulator sim("COM1");
    const std::string file = Example("harmonics-dips-flicker.usa");
    std::vector<json> voltageTables;
    for (const char* modification : {"dmTalvoM", "Orbis", "dmTalvo"}) {
        const TRun run = RunProgram({"-c", "SetSignal", "-t", "Sinus", "-p", file, "-k", modification});
        ASSERT_EQ(run.ExitCode, 0) << modification << ": " << run.Output;
        const auto frames = sim.WaitFrames(8 * (voltageTables.size() + 1));
        ASSERT_EQ(frames.size(), 8 * (voltageTables.size() + 1));
        voltageTables.push_back(frames[frames.size() - 4]["a"]);
    }
    EXPECT_EQ(voltageTables[0], voltageTables[1]);
    EXPECT_NE(voltageTables[0], voltageTables[2]);
}

TEST_F(ConsoleRun, EmptyStandardInputKeepsTheNamedFile) {
    talvo_test::CalibratorSimulator sim("COM1");
    const TRun run =
        RunProgram({"-c", "SetSignal", "-t", "ColOver", "-s", "-p", Example("harmonics-dips-flicker.usa")});
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_EQ(run.Lines().front(), "Предача пр./перен.: harmonics-dips-flicker.usa");
    const std::vector<int> codes = FrameCodes(sim.WaitFrames(10));
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), 13);
}

// A dips count the calibrator cannot take, written into a signal file, is
// refused before the port is opened: nothing reaches the calibrator.
TEST_F(ConsoleRun, DipsCountOutsideTheCalibratorsRangeSendsNothing) {
    talvo_test::CalibratorSimulator sim("COM1");
    const std::string example = talvo_test::ReadBytes(Example("harmonics-dips-flicker.usa"));
    const std::string key = cmn::Utf8ToCp1251("Количество=5");
    ASSERT_NE(example.find(key), std::string::npos);
    const std::string refusal =
        "Генерация провалов и перенапряжений невозможна, так как их количество вне диапазона от 1 до 32767.";
    for (const char* count : {"-3", "2147483647", "32768"}) {
        SCOPED_TRACE(count);
        std::string text = example;
        text.replace(text.find(key), key.size(), cmn::Utf8ToCp1251("Количество=") + count);
        const fs::path file = settings.Root() / "count.usa";
        talvo_test::WriteBytes(file, text);
        const TRun run = RunProgram({"-c", "SetSignal", "-t", "ColOver", "-p", file.string()});
        EXPECT_EQ(run.ExitCode, -1) << run.Output;
        const std::vector<std::string> lines = run.Lines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), refusal), lines.end()) << run.Output;
    }
    EXPECT_TRUE(sim.WaitFrames(1, std::chrono::milliseconds(300)).empty());
}

TEST_F(ConsoleRun, ABusyPortFailsTheRun) {
    talvo_test::CalibratorSimulator sim("COM1");
    talvo_test::ForeignHolder holder(sim.SlavePath());
    ASSERT_TRUE(holder.Holding());
    const TRun run = RunProgram({"-c", "SetSignal", "-t", "StopColOver"});
    EXPECT_EQ(run.ExitCode, -1) << run.Output;
    EXPECT_TRUE(sim.Frames().empty());
}

TEST_F(ConsoleRun, ExportIntoACopyOfTheTemplate) {
    const fs::path out = settings.Root() / "result.xlsx";
    const std::string templatePath = Example("ExportTemplate.xlsx");
    const std::string before = talvo_test::ReadBytes(templatePath);
    const TRun run = RunProgram({"-c", "ExportXls", "-p", Example("balanced-nominal.usa"), "-expt", templatePath,
                                 "-expo", "infile", "-expf", out.string(), "-col", "3"});
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    ASSERT_TRUE(fs::exists(out));
    EXPECT_EQ(talvo_test::ReadBytes(templatePath), before);
    // Every row of the third column, read by an independent reader, holds
    // what the column of the loaded and recomputed signal holds.
    const std::string script =
        "import json,openpyxl,sys; ws=openpyxl.load_workbook(sys.argv[1]).worksheets[0]; "
        "print(json.dumps([ws.cell(row=r, column=3).value for r in range(3, 3076)]))";
    const talvo_test::TShellRun reader = talvo_test::RunShell("/usr/bin/python3 -c " + talvo_test::ShellQuoted(script) +
                                                              " " + talvo_test::ShellQuoted(out.string()));
    ASSERT_EQ(reader.ExitCode, 0) << reader.Output;
    const json cells = json::parse(reader.Output);
    const xls::TExportColumn expected = ExpectedColumn(Example("balanced-nominal.usa"));
    ASSERT_EQ(cells.size(), expected.size());
    // A balanced pure sine: no load unbalance in the four-wire or the three-wire view.
    EXPECT_EQ(cells[3031], 0);
    EXPECT_EQ(cells[3032], 0);
    for (std::size_t row = 0; row < expected.size(); ++row) {
        const xls::TExportCell& cell = expected[row];
        if (std::holds_alternative<std::monostate>(cell)) EXPECT_TRUE(cells[row].is_null()) << row;
        else if (const auto* i = std::get_if<std::int32_t>(&cell)) EXPECT_EQ(cells[row], *i) << row;
        else EXPECT_DOUBLE_EQ(cells[row].get<double>(), std::get<double>(cell)) << row;
    }
}

TEST_F(ConsoleRun, ExportRefusals) {
    const TRun missing = RunProgram({"-c", "ExportXls", "-p", "nothing.usa"});
    EXPECT_EQ(missing.ExitCode, -1);
    EXPECT_EQ(missing.Lines().back(), "Файл не найден : nothing.usa");
    const TRun column = RunProgram({"-c", "ExportXls", "-p", Example("balanced-nominal.usa"), "-col", "B"});
    EXPECT_EQ(column.ExitCode, -1);
    EXPECT_EQ(column.Lines().back(), "Номер столбца должен быть целым десятичным числом: B");
}

TEST_F(ConsoleRun, OtherCommandsStartTheWindowProgramWhichNeedsADisplay) {
    const TRun run = RunProgram({"-c", "Export"}, {}, "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{
                               "Нет графического дисплея: окна программы показать негде. Без окон программа работает "
                               "в консольном режиме: KalibratorTalvo -c SetSignal|ExportXls ... (см. --help)."}));
}

TEST_F(ConsoleRun, HelpAndVersionStartNothing) {
    const TRun help = RunProgram({"-c", "SetSignal", "--help"});
    EXPECT_EQ(help.ExitCode, 0);
    // The usage documents the defaults: resetting the signal, COM1, the second modification, column 2.
    EXPECT_EQ(help.Output,
              "Использование:\n"
              "  KalibratorTalvo -c SetSignal [-t Sinus|ColOver|Koleb|StopSin|StopColOver] [-p файл.usa | -s]\n"
              "                  [-cn порт] [-k dmTalvo|dmTalvoM]\n"
              "  KalibratorTalvo -c ExportXls -p файл.usa -expt шаблон.xlsx [-expo infile -expf результат.xlsx] "
              "[-col столбец]\n"
              "  KalibratorTalvo -c Verify -p файл.usa [-t Sinus|ColOver|Koleb] [-k dmTalvo|dmTalvoM] "
              "[-o отчёт.csv|.json]\n"
              "  KalibratorTalvo --help | --version\n"
              "\n"
              "  -t     действие: сигнал, провалы и перенапряжения, колебания, сброс сигнала (по умолчанию),\n"
              "         сброс провалов и перенапряжений\n"
              "  -p     файл сигнала; -s: текст файла сигнала со стандартного ввода\n"
              "  -cn    порт калибратора (по умолчанию COM1); -k модификация калибратора (по умолчанию dmTalvoM)\n"
              "  -expt  шаблон книги Excel; -expo infile: запись в копию шаблона -expf, иначе в сам шаблон\n"
              "  -col   номер столбца (по умолчанию 2)\n"
              "  -o     отчёт проверки Verify: .csv или .json (отчёт PDF сохраняет окно программы)\n"
              "Verify: проверка без калибратора — то, что калибратор воспроизведёт, измеряется и сравнивается\n"
              "        с рассчитанными величинами; код 0, когда все величины в допуске.\n"
              "Код завершения: 0 при успехе, -1 (255) при ошибке.\n");
    const TRun version = RunProgram({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Output.rfind("KalibratorTalvo ", 0), 0u);
}

}  // namespace
