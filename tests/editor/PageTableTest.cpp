#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/PageTable.h"

namespace {

using edit::FindTab;
using edit::FullTabList;
using edit::ToggleTab;
using Tabs = std::vector<std::string>;

const Tabs kWithoutConverter{"Напряжение",
                             "Ток",
                             "Фаза",
                             "Фазы (А, В, С)",
                             "Гармоники",
                             "Интергармоники",
                             "Фазовые углы",
                             "Графики напряжения и тока",
                             "Провалы и перенапряжения",
                             "Колебания напряжения",
                             "IEEE STD 1459",
                             "Протокол работы/Описание сигнала"};

TEST(PageTable, TabsFollowThePageOrderWithTheConverterBeforeTheProtocol) {
    EXPECT_EQ(FullTabList(false), kWithoutConverter);
    const Tabs with = FullTabList(true);
    ASSERT_EQ(with.size(), 13u);
    EXPECT_EQ(with[10], "IEEE STD 1459");
    EXPECT_EQ(with[11], "Преобразователь тока в напряжение");
    EXPECT_EQ(with[12], "Протокол работы/Описание сигнала");
}

TEST(PageTable, UnknownCaptionsSortLastByTextAndFindIgnoresAmpersands) {
    Tabs tabs{"Яблоко", "Ток", "Апельсин", "Напряжение"};
    edit::SortTabs(tabs);
    EXPECT_EQ(tabs, (Tabs{"Напряжение", "Ток", "Апельсин", "Яблоко"}));
    EXPECT_EQ(FindTab(tabs, "&Ток"), 1);
    EXPECT_EQ(FindTab(tabs, "Т&о&к"), 1);
    EXPECT_EQ(FindTab(tabs, "Фаза"), -1);
}

TEST(PageTable, HidingAnotherTabKeepsTheCurrentOne) {
    // "Ток" hidden while "Напряжение" is current.
    const auto out = ToggleTab(kWithoutConverter, 0, 2, true);
    EXPECT_FALSE(out.Refusal);
    EXPECT_EQ(out.Tabs.size(), 11u);
    EXPECT_EQ(out.Tabs[out.Current], "Напряжение");
    EXPECT_FALSE(out.RunSelection);
    EXPECT_FALSE(out.ItemChecked);
    // A tab before the current one: the current tab moves one place left.
    const auto before = ToggleTab(kWithoutConverter, 4, 1, true);
    EXPECT_EQ(before.Tabs[before.Current], "Гармоники");
    EXPECT_FALSE(before.RunSelection);
}

TEST(PageTable, HidingTheCurrentTabSelectsTheOneTakingItsPlace) {
    const auto out = ToggleTab(kWithoutConverter, 1, 2, true);
    EXPECT_EQ(out.Tabs[out.Current], "Фаза");
    EXPECT_TRUE(out.RunSelection);
    // The last tab current and hidden: the one before it becomes current.
    const auto last = ToggleTab(kWithoutConverter, 11, 12, true);
    EXPECT_EQ(last.Tabs[last.Current], "IEEE STD 1459");
    EXPECT_TRUE(last.RunSelection);
}

TEST(PageTable, ShowingAgainRestoresThePlaceAndKeepsTheCurrentTab) {
    const auto hidden = ToggleTab(kWithoutConverter, 0, 5, true);
    const auto shown = ToggleTab(hidden.Tabs, 5, 5, false);  // "Фазовые углы" current
    EXPECT_EQ(shown.Tabs, kWithoutConverter);
    EXPECT_EQ(shown.Tabs[shown.Current], "Фазовые углы");
    EXPECT_TRUE(shown.ItemChecked);
    EXPECT_FALSE(shown.RunSelection);
}

TEST(PageTable, TheOnlyTabCannotBeHidden) {
    const auto out = ToggleTab(Tabs{"Ток"}, 0, 2, true);
    EXPECT_EQ(out.Refusal, "Нельзя скрыть единственную закладку");
    EXPECT_EQ(out.Tabs, Tabs{"Ток"});
    EXPECT_TRUE(out.ItemChecked);
    // Showing another page next to it is allowed.
    EXPECT_FALSE(ToggleTab(Tabs{"Ток"}, 0, 1, false).Refusal);
}

TEST(PageTable, PageMenuFollowsTheTabsOfTheActiveWindow) {
    const auto hidden = ToggleTab(kWithoutConverter, 0, 5, true);
    const auto items = edit::PageMenuEnabling(hidden.Tabs);
    ASSERT_EQ(items.size(), 12u);  // the converter page has no hide/show item
    for (const auto& [name, enabled] : items) EXPECT_EQ(enabled, name != "mm_Show_Garm") << name;
    EXPECT_EQ(edit::MissingTabMessage("Гармоники"), "Закладка \"Гармоники\" не найдена в активном окне");
}

}  // namespace
