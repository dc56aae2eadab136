#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The pages of a signal window: their fixed order in the tab strip, the
// hide/show items of the strip's context menu and the main window's page
// menu items, and the rules that keep the tab list sorted.
namespace edit {

// Which page a row is: what the window builds and redisplays for it.
enum class TPageId {
    Voltage,
    Current,
    OnePhase,
    ThreePhase,
    Harmonics,
    Interharmonics,
    Angles,
    Charts,
    Dips,
    Fluctuations,
    Ieee1459,
    Converter,
    Protocol
};

struct TPageRow {
    TPageId Id;
    int Order;
    std::string_view Caption;   // tab caption and page menu caption
    std::string_view Page;      // the page's control name
    std::string_view HideItem;  // the context menu item, empty when the page cannot be hidden
    int Tag;                    // tag of the hide/show item, 0 without one
    std::string_view MenuItem;  // the main window's page menu item
    std::string_view Group;     // caption of the page's frame, empty for pages without one
};

// The caption of a page's hide/show item: the tab caption, but for the protocol page.
std::string_view HideItemCaption(const TPageRow& row);

std::span<const TPageRow> PageRows();
const TPageRow* PageByCaption(std::string_view caption);
const TPageRow* PageByTag(int tag);
// The row of a page's control name ("page_u" ...); none for another name.
const TPageRow* PageByName(std::string_view page);

inline constexpr std::string_view kConverterCaption = "Преобразователь тока в напряжение";

// The order key of a caption; captions without a row sort last.
int OrderKey(std::string_view caption);
// Sorts by order key, ties by plain text comparison.
void SortTabs(std::vector<std::string>& tabs);
// Every page, the converter page only when asked, in order.
std::vector<std::string> FullTabList(bool withConverter);
// The first tab equal to the caption once every "&" is removed from it; -1 when none.
int FindTab(const std::vector<std::string>& tabs, std::string_view caption);

// The strip after a hide/show item was clicked.
struct TTabToggle {
    std::optional<std::string> Refusal;  // the message shown when nothing changes
    std::vector<std::string> Tabs;
    int Current = -1;
    bool ItemChecked = false;   // the item's new check mark, which also enables its menu item
    bool RunSelection = false;  // the current page changed and its selection is run
};
TTabToggle ToggleTab(const std::vector<std::string>& tabs, int current, int tag, bool itemChecked);

// The main window's page menu items enabled for a window with these tabs:
// each item of a row with a hide/show item, enabled when its tab is present.
std::vector<std::pair<std::string_view, bool>> PageMenuEnabling(const std::vector<std::string>& tabs);

// "Закладка "<caption>" не найдена в активном окне".
std::string MissingTabMessage(std::string_view caption);

}  // namespace edit
