// What the tables and timing blocks refuse, with the texts the user reads.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Refusal.h"
#include "TableSignals.h"
#include "link/SampleTables.h"

namespace {

using sig::real;
using talvo_test::Refusal;

sig::TSignalSet WithDips(real duration, real period, std::uint8_t binding) {
    sig::TSignalSet s = tabletest::Balanced(3419);
    s.Collapses.Duration = duration;
    s.Collapses.Period = period;
    s.Collapses.Binding = binding;
    return s;
}

sig::TSignalSet WithFluctuationPeriod(real period) {
    sig::TSignalSet s = tabletest::Balanced(3419);
    s.Koleb.Period = period;
    return s;
}

sig::TSignalSet WithGrid(int samples) {
    sig::TSignalSet s = tabletest::Balanced(samples);
    if (samples == 0) s.Grid = {};
    return s;
}

TEST(Refusals, TablesAndTimingBlocks) {
    const lnk::TTableSettings settings;
    const struct {
        const char* what;
        std::function<void()> action;
        std::string text;
    } table[] = {
        {"no grid, voltage", [&] { lnk::BuildVoltageTable(WithGrid(0), settings); },
         "Частота сигнала не задана: таблица отсчетов не может быть построена."},
        {"no grid, dips", [] { lnk::DipsTimingBlock(WithGrid(0), 0); },
         "Частота сигнала не задана: таблица отсчетов не может быть построена."},
        {"5001 samples, current", [&] { lnk::BuildCurrentTable(WithGrid(5001), settings); },
         "Частота сигнала не может быть сформирована калибратором: число отсчетов на период превышает 5000."},
        {"dips too long", [] { lnk::DipsTimingBlock(WithDips(1e5L, 2e5L, sig::cbNone), 0); },
         "Длительность или период не могут быть заданы калибратору: слишком большое число отсчетов."},
        {"fluctuations too slow", [] { lnk::FluctuationTimingBlock(WithFluctuationPeriod(1e6L), 0); },
         "Длительность или период не могут быть заданы калибратору: слишком большое число отсчетов."},
        {"unknown binding", [] { lnk::DipsTimingBlock(WithDips(0.1L, 1, 7), 0); },
         "Неизвестный вид привязки провалов: 7"},
    };
    for (const auto& t : table) EXPECT_EQ(Refusal(t.action), t.text) << t.what;
}

}  // namespace
