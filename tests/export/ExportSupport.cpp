#include "ExportSupport.h"

#include <stdexcept>

#include "ChildProcess.h"
#include "signal/Flicker.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"

namespace exporttest {
namespace {

std::string Run(const std::string& command) {
    const talvo_test::TShellRun run = talvo_test::RunShell(command);
    if (run.ExitCode != 0) throw std::runtime_error("failed: " + command);
    return run.Output;
}

std::string Script(const char* name) { return std::string("'") + TALVO_EXPORT_TEST_DIR + "/" + name + "'"; }

void SetSpectrum(sig::TSignalSet& s) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        const auto block = static_cast<sig::TGarmonikPart>(phase);
        for (int n = 2; n <= sig::kHarmonics; ++n) {
            s.Voltage.Garmonik.SetKoef(block, n, static_cast<float>(0.1 + 0.03 * ((n + phase) % 9)));
            s.Voltage.Garmonik.SetAngle(block, n, static_cast<float>(5 * n - 30 * phase));
            s.Current.Garmonik.SetKoef(block, n, static_cast<float>(0.4 + 0.07 * ((2 * n + phase) % 6)));
            s.Current.Garmonik.SetAngle(block, n, static_cast<float>(-50 + 9 * ((n + phase) % 11)));
        }
        for (int m = 1; m <= sig::kInterHarmonics; ++m) {
            s.Voltage.InterGarm[phase].Koef[m] = 0.05L + 0.01L * ((m + phase) % 5);
            s.Voltage.InterGarm[phase].Angle[m] = 11 * m - 20 * phase;
            s.Current.InterGarm[phase].Koef[m] = 0.2L + 0.03L * ((m + 2 * phase) % 4);
            s.Current.InterGarm[phase].Angle[m] = 40 - 7 * ((m + phase) % 9);
        }
    }
    s.Switches.IncludeInterGarm = true;
}

}  // namespace

std::unique_ptr<sig::TSignalSet> RecomputedSignal(const TSignalShape& shape) {
    auto s = std::make_unique<sig::TSignalSet>();
    sig::TSignalParamsU& v = s->Voltage;
    v.Nominal = v.NominalFaza = 57.735L;
    v.NominalLine = 100;
    v.FreqNominal = v.Freq = 50;
    v.UA = 57.1L;
    v.UB = 58.2L;
    v.UC = 56.9L;
    v.ShiftB = -119;
    v.ShiftC = 121;
    sig::TSignalParamsI& c = s->Current;
    c.Nominal = 5;
    c.IA = 4.9L;
    c.IB = 5.1L;
    c.IC = 5;
    c.PhiUIA = c.PhiUIB = c.PhiUIC = shape.Phi;
    SetSpectrum(*s);
    s->Grid = {1, 33333334.0L / 195, 3419, 3419};
    sig::TCollapsesParams& d = s->Collapses;
    d.Duration = 0.1L;
    d.Count = 7;
    d.Period = 1;
    d.RefKind = shape.RefKind;
    for (auto& block : d.Faza) block.DepthPercent = 30;
    if (shape.SwellOnB) {
        d.Faza[sig::fzB].Kind = sig::ckSwell;
        d.Faza[sig::fzB].KPerU = 1.2L;
    }
    s->Koleb.Freq = 8.8L;
    s->Koleb.Swing = {0.3L, 0.4L, 0.5L};
    s->Energy.TestSeconds = 120;
    sig::TKolebParamsHelpTable flicker;
    flicker.LoadDefaults(sig::fsGost2012);
    sig::Recalculate(*s, flicker, {0, true, nullptr});
    return s;
}

nlohmann::json ReadWorkbook(const std::string& path) {
    return nlohmann::json::parse(
        Run(std::string(TALVO_PYTHON3) + " " + Script("read_workbook.py") + " '" + path + "' 2>/dev/null"));
}

void MakeFixtures(const std::string& folder) {
    Run(std::string(TALVO_PYTHON3) + " " + Script("make_fixtures.py") + " '" + ExampleTemplate() + "' '" + folder +
        "' 2>/dev/null");
}

std::string ExampleTemplate() { return std::string(TALVO_EXAMPLES_DIR) + "/ExportTemplate.xlsx"; }

}  // namespace exporttest
