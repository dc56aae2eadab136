#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "ExportSupport.h"
#include "FileBytes.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "export/CellRef.h"
#include "export/ExcelExport.h"
#include "export/ExportColumn.h"

namespace {

using nlohmann::json;
using talvo_test::ReadBytes;
using talvo_test::RecordingLog;
using talvo_test::WriteBytes;

constexpr const char* kOpenFailed = "Ошибка при открытии файла экспорта!";
constexpr const char* kXlsRefused =
    "Книги формата .xls (Excel 97–2003) не поддерживаются. Сохраните шаблон в Excel как книгу .xlsx или .xlsm.";

class TRecordingOpener : public xls::IWorkbookOpener {
public:
    bool Open(const std::string& path) override {
        Opened.push_back(path);
        return Starts;
    }
    std::vector<std::string> Opened;
    bool Starts = true;
};

class WorkbookExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fixtures_ = new talvo_test::TempFolder;
        exporttest::MakeFixtures(fixtures_->Path().string());
        signal_ = exporttest::RecomputedSignal().release();
        cells_ = new xls::TExportColumn;
        xls::FillExportColumn(*signal_, *cells_);
    }
    static void TearDownTestSuite() {
        delete fixtures_;
        delete signal_;
        delete cells_;
    }

    // A fresh copy of a fixture in the test's own folder.
    std::string Copy(const std::string& fixture, const std::string& name = "") {
        const std::string path = folder_ / (name.empty() ? fixture : name);
        std::filesystem::copy_file(*fixtures_ / fixture, path);
        return path;
    }

    bool Export(const std::string& templatePath, int column, const std::string& output = "") {
        xls::TExportRequest request{templatePath, !output.empty(), output, true, column};
        return xls::ExportToExcel(request, *signal_, log_);
    }

    // Every cell of the first sheet outside the written rows of `column`, and
    // every cell of the other sheets, reads back as before.
    static void ExpectUntouchedOutside(const json& before, const json& after, int column) {
        ASSERT_EQ(before["sheets"].size(), after["sheets"].size());
        for (std::size_t sheet = 0; sheet < before["sheets"].size(); ++sheet) {
            const json& was = before["sheets"][sheet]["cells"];
            const json& is = after["sheets"][sheet]["cells"];
            const auto outside = [&](const std::string& name) {
                const auto ref = xls::ParseCellRef(name);
                return sheet != 0 || ref->Column != column || ref->Row < 3 || ref->Row > 3075;
            };
            for (const auto& [name, cell] : was.items()) {
                if (!outside(name)) continue;
                EXPECT_EQ(is.value(name, json()), cell) << name;
            }
            for (const auto& [name, cell] : is.items()) {
                if (!outside(name)) continue;
                EXPECT_TRUE(was.contains(name)) << "new cell " << name;
            }
        }
    }

    // The written rows of `column` hold the export column, as openpyxl reads them.
    static void ExpectColumn(const json& workbook, int column, int sheet = 0) {
        const json& cells = workbook["sheets"][sheet]["cells"];
        for (int row = 0; row < xls::kExportRows; ++row) {
            const std::string name = xls::CellName(column, row + xls::kFirstSheetRow);
            const json value = cells.contains(name) ? cells[name]["value"] : json();
            const xls::TExportCell& cell = (*cells_)[row];
            if (std::holds_alternative<std::monostate>(cell)) {
                EXPECT_TRUE(value.is_null()) << name;
            } else if (const auto* x = std::get_if<double>(&cell)) {
                EXPECT_EQ(value.get<double>(), *x) << name;
            } else if (const auto* n = std::get_if<std::int32_t>(&cell)) {
                EXPECT_TRUE(value.is_number_integer()) << name;
                EXPECT_EQ(value.get<std::int64_t>(), *n) << name;
            }
        }
    }

    static json Style(const json& workbook, const std::string& cell, int sheet = 0) {
        return workbook["sheets"][sheet]["cells"][cell]["style"];
    }

    static talvo_test::TempFolder* fixtures_;
    static sig::TSignalSet* signal_;
    static xls::TExportColumn* cells_;
    talvo_test::TempFolder folder_;
    RecordingLog log_;
};

talvo_test::TempFolder* WorkbookExport::fixtures_ = nullptr;
sig::TSignalSet* WorkbookExport::signal_ = nullptr;
xls::TExportColumn* WorkbookExport::cells_ = nullptr;

TEST_F(WorkbookExport, IntoTheTemplateWritesTheColumnAndKeepsEverythingElse) {
    const std::string path = Copy("styled.xlsx");
    const json before = exporttest::ReadWorkbook(path);
    ASSERT_TRUE(Export(path, 2)) << (log_.lines.empty() ? "" : log_.lines[0].second);
    const json after = exporttest::ReadWorkbook(path);
    ExpectColumn(after, 2);
    ExpectUntouchedOutside(before, after, 2);
    // Styled cells of the column keep their style under the new value, or alone when emptied.
    EXPECT_EQ(Style(after, "B10"), Style(before, "B10"));
    EXPECT_EQ(Style(after, "B31"), Style(before, "B31"));
    EXPECT_EQ(after["sheets"][0]["cells"]["B20"]["type"], "n");  // the formula gave way to the value
    EXPECT_EQ(after["sheets"][0]["cells"]["B3080"]["value"], 42);
    // The calculation chain is gone with its relationship and content type; Excel recalculates on load.
    for (const char* list : {"parts", "overrides", "workbookRels"})
        for (const auto& entry : after[list]) EXPECT_EQ(entry.get<std::string>().find("calcChain"), std::string::npos);
    EXPECT_FALSE(before["fullCalcOnLoad"]);
    EXPECT_TRUE(after["fullCalcOnLoad"]);
    EXPECT_TRUE(log_.lines.empty());
}

TEST_F(WorkbookExport, NewCellsTakeTheColumnStyleAndStyledCellsKeepTheirs) {
    const std::string path = Copy("styled.xlsx");
    ASSERT_TRUE(Export(path, 10));
    const json after = exporttest::ReadWorkbook(path);
    ExpectColumn(after, 10);
    EXPECT_EQ(Style(after, "J3")[0], "0.0000");
    EXPECT_EQ(Style(after, "J4")[0], "0.00");
}

TEST_F(WorkbookExport, IntoANewFileReplacesAnExistingFileAndLeavesTheTemplate) {
    const std::string path = Copy("styled.xlsx");
    const std::string templateBytes = ReadBytes(path);
    const std::string output = folder_ / "result.xlsx";
    WriteBytes(output, "an older file");
    ASSERT_TRUE(Export(path, 6, output));
    EXPECT_EQ(ReadBytes(path), templateBytes);
    const json before = exporttest::ReadWorkbook(path);
    const json after = exporttest::ReadWorkbook(output);
    ExpectColumn(after, 6);
    ExpectUntouchedOutside(before, after, 6);
    // The template's formulas over the column are kept for Excel to evaluate.
    EXPECT_EQ(after["sheets"][0]["cells"]["G1414"]["value"], "=SUM(F1411:F1413)");
    EXPECT_EQ(after["sheets"][1]["cells"]["B4"]["value"], "=SUM(Сигналы!F1411,Сигналы!F1412,Сигналы!F1413)");
}

TEST_F(WorkbookExport, FirstWorksheetIsFoundThroughTheWorkbook) {
    const std::string path = Copy("handmade.xlsx");
    const json before = exporttest::ReadWorkbook(path);
    ASSERT_TRUE(Export(path, 2)) << (log_.lines.empty() ? "" : log_.lines[0].second);
    const json after = exporttest::ReadWorkbook(path);
    EXPECT_EQ(after["sheets"][0]["title"], "Данные");
    ExpectColumn(after, 2);
    ExpectUntouchedOutside(before, after, 2);
    EXPECT_EQ(Style(after, "B3")[0], "0.000");  // the column's style
    EXPECT_TRUE(Style(after, "B6")[1]);         // the row's style
    EXPECT_EQ(after["sheets"][0]["cells"]["A2"]["value"], "  с пробелами  ");
    EXPECT_TRUE(after["fullCalcOnLoad"]);
}

TEST_F(WorkbookExport, SharedFormulaChildrenInTheColumnAreOverwritten) {
    const std::string path = Copy("handmade.xlsx");
    const json before = exporttest::ReadWorkbook(path);
    ASSERT_TRUE(Export(path, 5)) << (log_.lines.empty() ? "" : log_.lines[0].second);
    const json after = exporttest::ReadWorkbook(path);
    ExpectColumn(after, 5);
    ExpectUntouchedOutside(before, after, 5);
    EXPECT_EQ(after["sheets"][0]["cells"]["D6"]["value"], "=A6*2");
}

// Whatever refuses the export leaves the file exactly as it was.
TEST_F(WorkbookExport, RefusedExportsLeaveTheFileByteForByte) {
    struct TCase {
        std::string Fixture;
        int Column;
        std::string Message;
    };
    const std::vector<TCase> cases{
        {"handmade.xlsx", 4,
         "Экспорт в столбец D невозможен: ячейку с общей формулой D5 шаблона нельзя перезаписать, не разрушив "
         "формулы других ячеек. Очистите в шаблоне строки 3–3075 столбца D или выберите другой столбец."},
        {"handmade.xlsx", 8,
         "Экспорт в столбец H невозможен: диапазон формулы массива G10:H11 шаблона нельзя перезаписать, не "
         "разрушив формулы других ячеек. Очистите в шаблоне строки 3–3075 столбца H или выберите другой столбец."},
        {"damaged.xlsx", 2, kOpenFailed},
        {"nosheet.xlsx", 2, "В книге шаблона нет ни одного рабочего листа"},
        {"old.xls", 2, kXlsRefused},
        {"handmade.xlsx", 0, "Номер столбца должен быть от 1 до 16384"},
        {"handmade.xlsx", 16385, "Номер столбца должен быть от 1 до 16384"},
    };
    for (const TCase& c : cases) {
        const std::string path = folder_ / ("case-" + std::to_string(&c - cases.data()) + "-" + c.Fixture);
        std::filesystem::copy_file(*fixtures_ / c.Fixture, path);
        const std::string bytes = ReadBytes(path);
        log_.lines.clear();
        EXPECT_FALSE(Export(path, c.Column)) << c.Fixture;
        EXPECT_EQ(ReadBytes(path), bytes) << c.Fixture;
        ASSERT_EQ(log_.lines.size(), 1u) << c.Fixture;
        EXPECT_EQ(log_.lines[0].first, cmn::LogType::Error);
        EXPECT_EQ(log_.lines[0].second, c.Message);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), std::ptrdiff_t(cases.size()));
}

TEST_F(WorkbookExport, XlsTemplatesAreRefusedBeforeAnythingIsWritten) {
    const std::string xls = Copy("old.xls");
    const std::string disguised = Copy("old.xls", "disguised.xlsx");
    const std::string output = folder_ / "out.xlsx";
    EXPECT_FALSE(Export(xls, 2, output));
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(Export(Copy("styled.xlsx"), 2, folder_ / "out.xls"));
    EXPECT_FALSE(Export(disguised, 2));
    EXPECT_FALSE(Export(disguised, 2, output));
    EXPECT_FALSE(std::filesystem::exists(output));
    ASSERT_EQ(log_.lines.size(), 4u);
    for (const auto& [type, text] : log_.lines) EXPECT_EQ(text, kXlsRefused);
}

TEST_F(WorkbookExport, MissingNamesAndFailedCopiesAreReported) {
    EXPECT_FALSE(Export("", 2));
    const std::string path = Copy("styled.xlsx");
    EXPECT_FALSE(xls::ExportToExcel({path, true, "", true, 2}, *signal_, log_));
    EXPECT_FALSE(Export(path, 2, folder_ / "no-such-folder/out.xlsx"));
    EXPECT_FALSE(Export(folder_ / "absent.xlsx", 2, folder_ / "out.xlsx"));
    EXPECT_FALSE(Export(folder_ / "absent.xlsx", 2));
    EXPECT_FALSE(Export(path, 2, folder_ / "macros.xlsm"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "macros.xlsm"));
    EXPECT_EQ(log_.Texts(),
              (std::vector<std::string>{"Шаблон для экспорта не указан!", "Наименование файла экспорта не указано!",
                                        "Ошибка создания файла экспорта!", "Ошибка создания файла экспорта!",
                                        kOpenFailed, "Файл экспорта должен иметь расширение шаблона .xlsx"}));
}

TEST_F(WorkbookExport, WindowUseShowsFailuresAsWarnings) {
    RecordingLog window(true);
    EXPECT_FALSE(xls::ExportToExcel({"", false, "", false, 2}, *signal_, window));
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].text, "Шаблон для экспорта не указан!");
    EXPECT_EQ(window.questions[0].kind, cmn::MessageKind::Warning);
    EXPECT_TRUE(window.lines.empty());
    // The console flag wins over an interactive target.
    EXPECT_FALSE(xls::ExportToExcel({"", false, "", true, 2}, *signal_, window));
    EXPECT_EQ(window.lines.size(), 1u);
}

TEST_F(WorkbookExport, DialogExportsIntoTheTypedColumnAndOpensTheWorkbook) {
    EXPECT_EQ(xls::ProposedColumn(0), 2);
    EXPECT_EQ(xls::ProposedColumn(2), 10);
    EXPECT_EQ(xls::ProposedColumn(9), 38);
    RecordingLog window(true);
    TRecordingOpener opener;
    const std::string path = Copy("styled.xlsx");
    const std::string output = folder_ / "new.xlsx";
    EXPECT_FALSE(xls::ExportFromDialog("7a", {path, true, output}, *signal_, window, opener));
    EXPECT_TRUE(xls::ExportFromDialog("7", {path, true, output}, *signal_, window, opener));
    EXPECT_EQ(opener.Opened, std::vector<std::string>{output});
    ExpectColumn(exporttest::ReadWorkbook(output), 7);
    EXPECT_FALSE(xls::ExportFromDialog("7", {"", false, ""}, *signal_, window, opener));
    opener.Starts = false;
    EXPECT_TRUE(xls::ExportFromDialog("$B", {path, false, ""}, *signal_, window, opener));
    std::vector<std::string> shown;
    for (const auto& q : window.questions) shown.push_back(q.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"Ошибка при вводе номера столбца!", "Экспорт выполнен",
                                               "Шаблон для экспорта не указан!", "Ошибка экспорта", "Экспорт выполнен",
                                               "Не удалось открыть книгу " + path}));
    EXPECT_EQ(opener.Opened, (std::vector<std::string>{output, path}));
}

TEST(ExportFileName, IsTheLocalTimeWithTheTemplatesExtension) {
    const auto now = std::chrono::system_clock::now();
    const std::string name = xls::ProposedExportFileName(now, "/t/Шаблон.XLSM");
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(\d{6}_\d{9}\.xlsm)"))) << name;
    EXPECT_EQ(xls::ProposedExportFileName(now, "/t.d/template").substr(16), ".xlsx");
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    char day[8];
    std::strftime(day, sizeof day, "%y%m%d", &local);
    EXPECT_EQ(name.substr(0, 6), day);
}

}  // namespace
