#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/ShellRules.h"
#include "editor/WindowPlacement.h"

namespace {

using edit::TPanelLook;

TEST(ShellRules, Captions) {
    EXPECT_EQ(edit::MainCaption(0), "Калибратор Talvo. Модификация Orbis-Talvo");
    EXPECT_EQ(edit::MainCaption(1), "Калибратор Talvo. Модификация Orbis-TalvoM");
    EXPECT_EQ(edit::NewWindowCaption(3), "Испытательный сигнал: Без имени #3");
    EXPECT_EQ(edit::LoadedCaption(files::sfAll, "/home/u/Сигналы/a.usa"), "Испытательный сигнал: a.usa");
    EXPECT_EQ(edit::LoadedCaption(files::sfConverter, "/x/b.upr"),
              "Cигнал для преобразователя тока в напряжение: b.upr");
    EXPECT_EQ(edit::OpenedByNameCaption("/x/c.USA"), "Редактирование: c.USA");
    EXPECT_EQ(edit::SavedCaption("/x/d.usa"), "Испытательный сигнал: d.usa");
}

TEST(ShellRules, RecentListKeepsFiveDistinctNamesDroppingTheOldest) {
    std::vector<std::string> recent;
    for (const char* name : {"1", "2", "3", "2", "4", "5"}) edit::AddFromMenuList(recent, name);
    EXPECT_EQ(recent, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    edit::AddFromMenuList(recent, "6");
    EXPECT_EQ(recent, (std::vector<std::string>{"2", "3", "4", "5", "6"}));
    edit::RemoveRecent(recent, 1);
    EXPECT_EQ(recent, (std::vector<std::string>{"2", "4", "5", "6"}));
    edit::RemoveRecent(recent, 9);
    EXPECT_EQ(recent.size(), 4u);
}

TEST(ShellRules, OpenByNameKnowsThreeExtensionsInAnyCase) {
    EXPECT_EQ(edit::KindByExtension("/a/b.usa"), files::sfAll);
    EXPECT_EQ(edit::KindByExtension("B.UsU"), files::sfVoltage);
    EXPECT_EQ(edit::KindByExtension("c.USI"), files::sfCurrent);
    EXPECT_FALSE(edit::KindByExtension("d.upr"));
    EXPECT_FALSE(edit::KindByExtension("usa"));
}

TEST(ShellRules, SignalCommandsStayEnabledWhileAnotherWindowRemains) {
    EXPECT_FALSE(edit::SignalCommandsEnabled(1, true));
    EXPECT_TRUE(edit::SignalCommandsEnabled(1, false));
    EXPECT_TRUE(edit::SignalCommandsEnabled(2, true));
    EXPECT_FALSE(edit::SignalCommandsEnabled(0, false));
}

TEST(ShellRules, StatusPanelTextsAndColours) {
    EXPECT_EQ(edit::StatusLook(1), (TPanelLook{"Происходит обновление страницы", "red", "white"}));
    EXPECT_EQ(edit::StatusLook(2), (TPanelLook{"Cтраница обновлена", "lime", "black"}));
    EXPECT_EQ(edit::StatusLook(3), (TPanelLook{"Идет передача параметров калибратору", "red", "white"}));
    EXPECT_EQ(edit::StatusLook(4), (TPanelLook{"Сигнал передан калибратору", "lime", "black"}));
    EXPECT_EQ(edit::StatusLook(5), (TPanelLook{"Ошибка при передаче сигнала калибратору", "lime", "black"}));
    EXPECT_EQ(edit::StatusLook(6), (TPanelLook{"Передача сигнала остановлена", "lime", "black"}));
    EXPECT_FALSE(edit::StatusLook(0));
    EXPECT_FALSE(edit::StatusLook(7));
}

TEST(ShellRules, VoltageIndicatorGoesOutWhenTheLevelFalls) {
    const TPanelLook off{"Нет напряжения", "lime", "black"};
    edit::TVoltageIndicator indicator;
    EXPECT_EQ(indicator.Look(), (TPanelLook{"! Высокое напряжение !", "red", "white"}));
    EXPECT_TRUE(indicator.Report(3, 0));
    EXPECT_EQ(indicator.Look(), (TPanelLook{"Напряжение установлено", "red", "white"}));
    indicator.Report(4, 100);
    indicator.Report(4, 200);
    EXPECT_EQ(indicator.Look().Text, "Напряжение установлено");
    indicator.Report(4, 65000);  // resets the stored level, stays lit
    indicator.Report(4, 10);
    EXPECT_EQ(indicator.Look().Text, "Напряжение установлено");
    indicator.Report(4, 5);
    EXPECT_EQ(indicator.Look(), off);
    indicator.Report(2, 0);
    EXPECT_EQ(indicator.Look(), (TPanelLook{"Нет ответа", "yellow", "black"}));
    indicator.Report(4, 0);  // not lit: shows no voltage at once
    EXPECT_EQ(indicator.Look(), off);
    indicator.Report(1, 0);
    EXPECT_EQ(indicator.Look(), (TPanelLook{"Напряжение отсутствует", "white", "black"}));
    EXPECT_FALSE(indicator.Report(9, 0));
}

TEST(WindowPlacement, ANewSignalWindowLiesWhollyInsideTheFrame) {
    using edit::TSize;
    const TSize frame{1340, 600};
    const auto first = edit::PlaceSignalWindow(frame, {1200, 700}, {400, 300}, 0, 24);
    EXPECT_FALSE(first.Maximised);
    EXPECT_EQ(first.X, 0);
    EXPECT_EQ(first.Y, 0);
    EXPECT_EQ(first.Size.Width, 1200);
    EXPECT_EQ(first.Size.Height, 600);  // cut to the frame
    const auto fourth = edit::PlaceSignalWindow(frame, {1200, 700}, {400, 300}, 3, 24);
    EXPECT_EQ(fourth.X, 72);
    EXPECT_EQ(fourth.Size.Width, 1200);
    EXPECT_EQ(fourth.Size.Height, 528);
    // Too small a frame for the smallest window: maximised to the frame.
    const auto tight = edit::PlaceSignalWindow({380, 600}, {1200, 700}, {400, 300}, 0, 24);
    EXPECT_TRUE(tight.Maximised);
    // The cascade starts again at the corner once a step would leave the frame.
    EXPECT_EQ(edit::PlaceSignalWindow({500, 400}, {450, 350}, {400, 300}, 3, 30).X, 90);
    EXPECT_EQ(edit::PlaceSignalWindow({500, 400}, {450, 350}, {400, 300}, 4, 30).X, 0);
    for (int index = 0; index < 40; ++index)
        for (const TSize preferred : {TSize{100, 100}, TSize{900, 500}, TSize{3000, 3000}}) {
            const auto p = edit::PlaceSignalWindow(frame, preferred, {400, 300}, index, 24);
            EXPECT_LE(p.X + p.Size.Width, frame.Width) << index;
            EXPECT_LE(p.Y + p.Size.Height, frame.Height) << index;
            EXPECT_GE(p.Size.Width, 400) << index;
            EXPECT_GE(p.Size.Height, 300) << index;
        }
}

}  // namespace
