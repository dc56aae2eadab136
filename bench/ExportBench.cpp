// One signal exported into the example template: the column filled from the
// records, the package rewritten, the workbook file replaced.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "CommonUtils/ProtocolLog.h"
#include "export/ExcelExport.h"
#include "export/ExportColumn.h"
#include "export/XlsxWorkbook.h"

namespace {

class TQuietLog : public cmn::IProtocolLog {
public:
    void Log(cmn::LogType, const std::string&) override {}
    bool Interactive() const override { return false; }
    bool Ask(const std::string&, cmn::MessageKind, cmn::Buttons) override { return false; }
};

std::string Example() {
    std::ifstream in(TALVO_EXAMPLE_TEMPLATE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_WriteColumnInMemory(benchmark::State& state) {
    const std::string bytes = Example();
    sig::TSignalSet signal;
    auto column = std::make_unique<xls::TExportColumn>();
    for (auto _ : state) {
        xls::FillExportColumn(signal, *column);
        xls::TXlsxWorkbook workbook(bytes);
        workbook.WriteColumn(2, *column);
        benchmark::DoNotOptimize(workbook.Save());
    }
}
BENCHMARK(BM_WriteColumnInMemory)->Unit(benchmark::kMillisecond);

void BM_ExportIntoNewFile(benchmark::State& state) {
    const std::string output =
        std::filesystem::temp_directory_path() / ("talvo-bench-" + std::to_string(::getpid()) + ".xlsx");
    const auto signal = std::make_unique<sig::TSignalSet>();
    TQuietLog log;
    for (auto _ : state) {
        if (!xls::ExportToExcel({TALVO_EXAMPLE_TEMPLATE, true, output, true, 6}, *signal, log))
            state.SkipWithError("export failed");
    }
    std::filesystem::remove(output);
}
BENCHMARK(BM_ExportIntoNewFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
