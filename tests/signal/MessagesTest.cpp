// The texts the signal model shows the user, each raised once and compared
// with the text written out here.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "FileBytes.h"
#include "RecordingLog.h"
#include "Refusal.h"
#include "TempFolder.h"
#include "TestSignals.h"
#include "signal/Flicker.h"
#include "signal/Nominals.h"

namespace {

using talvo_test::Refusal;

void Fluctuate(sig::real frequency) {
    auto s = talvo_test::BalancedSignal();
    s->Koleb.Freq = frequency;
    sig::TKolebParamsHelpTable table;
    table.LoadDefaults(sig::fsGost2012);
    sig::CalcKolebParams(s->Voltage, s->Koleb, true, true, true, table);
}

TEST(SignalMessages, Refusals) {
    const struct {
        const char* what;
        std::function<void()> action;
        std::string text;
    } table[] = {
        {"modification", [] { sig::ModificationInfo(2); }, "Неизвестная модификация калибратора: 2"},
        {"reference kind", [] { sig::CheckRefVoltageKind(2); }, "Неизвестный вид опорного напряжения"},
        {"binding", [] { sig::CheckCollapseBinding(3); }, "Неизвестный вид привязки провалов: 3"},
        {"no fluctuation", [] { Fluctuate(0); }, "Частота колебаний напряжения должна быть больше нуля"},
        {"fluctuation not a number", [] { Fluctuate(NAN); }, "Частота колебаний напряжения должна быть больше нуля"},
    };
    for (const auto& t : table) EXPECT_EQ(Refusal(t.action), t.text) << t.what;
}

// Every way the flicker file can fail, as the console reports it.
TEST(SignalMessages, FlickerFileFailures) {
    const talvo_test::TempFolder dir;
    const std::string file = dir / "fliker.dat";
    const std::string head = "Ошибка при открытии файла \"fliker.dat\":\r\n";
    const std::string tail = ".\r\n\r\nДля расчета дозы фликера будут использованы значения по умолчанию.";
    const struct {
        const char* content;  // none: the path is a folder
        std::string reason;
    } table[] = {
        {nullptr, "Файл занят другой программой"},
        {"8,8\t0.3\n10\t1\n", "Неверный формат файла"},
        {"8.8\t0.3\n", "Недостаточное количество записей"},
    };
    for (const auto& t : table) {
        if (t.content) talvo_test::WriteBytes(file, t.content);
        sig::TKolebParamsHelpTable flicker;
        talvo_test::RecordingLog console;
        sig::LoadFlickerTable(flicker, t.content ? file : dir.Path().string(), false, sig::fsGost99, console);
        ASSERT_EQ(console.lines.size(), 1u) << t.reason;
        EXPECT_EQ(console.lines[0].second, head + t.reason + tail);
    }
}

}  // namespace
