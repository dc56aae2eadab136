#include "editor/PageTable.h"

#include <algorithm>
#include <array>
#include <climits>

namespace edit {
namespace {

constexpr std::array<TPageRow, 13> kPages{{
    {TPageId::Voltage, 10, "Напряжение", "page_u", "N1", 1, "mm_Show_Voltage", "Параметры напряжений "},
    {TPageId::Current, 20, "Ток", "page_i", "N2", 2, "mm_Show_Current", "Параметры тока "},
    {TPageId::OnePhase, 30, "Фаза", "page_u_i", "N4", 3, "mm_Show_Power",
     "Параметры испытательного сигнала одной фазы "},
    {TPageId::ThreePhase, 40, "Фазы (А, В, С)", "page_u_i_3", "N31", 4, "mm_Show_Energy",
     "Параметры 3-х фазного испытательного сигнала "},
    {TPageId::Harmonics, 50, "Гармоники", "page_garmonics", "N3", 5, "mm_Show_Garm", ""},
    {TPageId::Interharmonics, 60, "Интергармоники", "page_intergarm", "N28", 6, "mm_Show_InterGarm", ""},
    {TPageId::Angles, 70, "Фазовые углы", "page_phase_angle", "N27", 7, "mm_Show_Angle", ""},
    {TPageId::Charts, 80, "Графики напряжения и тока", "page_chart_i_u", "N6", 8, "mm_Show_Graf",
     "Графики напряжений и токов "},
    {TPageId::Dips, 90, "Провалы и перенапряжения", "page_in_out", "N5", 9, "mm_Show_Prow",
     "Параметры провалов и перенапряжений "},
    {TPageId::Fluctuations, 100, "Колебания напряжения", "page_vibr", "N7", 10, "mm_Show_Koleb",
     " Колебания напряжения "},
    {TPageId::Ieee1459, 110, "IEEE STD 1459", "page_IEEE_1459", "IEEESTD14591", 11, "mm_Show_IEEE1459",
     "Параметры мощноcтей по стандарту IEEE STD 1459"},
    {TPageId::Converter, 130, kConverterCaption, "page_iu", "", 0, "mm_iu_red", ""},
    {TPageId::Protocol, 140, "Протокол работы/Описание сигнала", "page_protocol", "N8", 12, "mm_Show_Protocol",
     "Протокол работы калибратора"},
}};

}  // namespace

std::span<const TPageRow> PageRows() { return kPages; }

const TPageRow* PageByCaption(std::string_view caption) {
    const auto it = std::find_if(kPages.begin(), kPages.end(), [&](const TPageRow& r) { return r.Caption == caption; });
    return it == kPages.end() ? nullptr : &*it;
}

const TPageRow* PageByName(std::string_view page) {
    const auto it = std::find_if(kPages.begin(), kPages.end(), [&](const TPageRow& r) { return r.Page == page; });
    return it == kPages.end() ? nullptr : &*it;
}

const TPageRow* PageByTag(int tag) {
    const auto it = std::find_if(kPages.begin(), kPages.end(), [&](const TPageRow& r) { return r.Tag == tag; });
    return tag == 0 || it == kPages.end() ? nullptr : &*it;
}

std::string_view HideItemCaption(const TPageRow& row) {
    return row.HideItem == "N8" ? std::string_view("Протокол работы") : row.Caption;
}

int OrderKey(std::string_view caption) {
    const TPageRow* row = PageByCaption(caption);
    return row ? row->Order : INT_MAX;
}

void SortTabs(std::vector<std::string>& tabs) {
    std::stable_sort(tabs.begin(), tabs.end(), [](const std::string& a, const std::string& b) {
        const int ka = OrderKey(a), kb = OrderKey(b);
        return ka != kb ? ka < kb : a < b;
    });
}

std::vector<std::string> FullTabList(bool withConverter) {
    std::vector<std::string> tabs;
    for (const TPageRow& row : kPages)
        if (withConverter || row.Caption != kConverterCaption) tabs.emplace_back(row.Caption);
    SortTabs(tabs);
    return tabs;
}

int FindTab(const std::vector<std::string>& tabs, std::string_view caption) {
    std::string plain(caption);
    std::erase(plain, '&');
    const auto it = std::find(tabs.begin(), tabs.end(), plain);
    return it == tabs.end() ? -1 : static_cast<int>(it - tabs.begin());
}

TTabToggle ToggleTab(const std::vector<std::string>& tabs, int current, int tag, bool itemChecked) {
    TTabToggle out{std::nullopt, tabs, current, itemChecked, false};
    const TPageRow* row = PageByTag(tag);
    if (!row) return out;
    if (tabs.size() == 1 && itemChecked) {
        out.Refusal = "Нельзя скрыть единственную закладку";
        return out;
    }
    out.ItemChecked = !itemChecked;
    if (out.ItemChecked) {
        const std::string shown = current >= 0 && current < static_cast<int>(tabs.size()) ? tabs[current] : "";
        if (FindTab(out.Tabs, row->Caption) < 0) out.Tabs.emplace_back(row->Caption);
        SortTabs(out.Tabs);
        out.Current = FindTab(out.Tabs, shown);
        return out;
    }
    const int found = FindTab(out.Tabs, row->Caption);
    if (found < 0) return out;
    out.Tabs.erase(out.Tabs.begin() + found);
    if (found == current) {
        out.Current = std::min(found, static_cast<int>(out.Tabs.size()) - 1);
        out.RunSelection = true;
    } else if (found < current) {
        out.Current = current - 1;
    }
    return out;
}

std::vector<std::pair<std::string_view, bool>> PageMenuEnabling(const std::vector<std::string>& tabs) {
    std::vector<std::pair<std::string_view, bool>> items;
    for (const TPageRow& row : kPages)
        if (row.Tag != 0) items.emplace_back(row.MenuItem, FindTab(tabs, row.Caption) >= 0);
    return items;
}

std::string MissingTabMessage(std::string_view caption) {
    return "Закладка \"" + std::string(caption) + "\" не найдена в активном окне";
}

}  // namespace edit
