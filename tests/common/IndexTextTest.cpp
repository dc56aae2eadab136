#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CommonUtils/IndexText.h"

namespace {

using K = cmn::IndexPieceKind;
using Pieces = std::vector<cmn::TIndexPiece>;
using Placements = std::vector<cmn::TIndexPiecePlacement>;
constexpr auto TL = cmn::IndexAnchor::TopLeft;

// A character is 7 pixels wide and 13 high at 8 points, 5 and 11 at 6 points;
// single texts can be given another height.
struct FakeFont : cmn::IFontMetrics {
    std::map<std::string, int, std::less<>> heights;
    int TextWidth(std::string_view text, int size) const override {
        int chars = 0;
        for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
        return chars * (size - 1);
    }
    int TextHeight(std::string_view text, int size) const override {
        const auto it = heights.find(text);
        return it != heights.end() ? it->second : size + 5;
    }
};

Pieces Parse(std::string_view text) { return cmn::ParseIndexText(text); }

TEST(IndexText, ParsesRunsIndicesAndGreekLetters) {
    EXPECT_EQ(Parse(""), Pieces{});
    EXPECT_EQ(Parse("K~U(n)~, %"), (Pieces{{K::Plain, "K"}, {K::Lowered, "U(n)"}, {K::Plain, ", %"}}));
    EXPECT_EQ(Parse("@fU~U~~1~"), (Pieces{{K::Greek, "φ"}, {K::Plain, "U"}, {K::Lowered, "U"}, {K::Lowered, "1"}}));
    EXPECT_EQ(Parse("@d@D@S@Df"),
              (Pieces{{K::Greek, "δ"}, {K::Greek, "Δ"}, {K::Greek, "Σ"}, {K::Greek, "Δ"}, {K::Plain, "f"}}));
}

TEST(IndexText, UnclosedIndicesAndStrayAtSigns) {
    EXPECT_EQ(Parse("I~a"), (Pieces{{K::Plain, "I"}, {K::Lowered, "a"}}));
    EXPECT_EQ(Parse("~A^B^"), (Pieces{{K::Lowered, "A"}, {K::Raised, "B"}}));
    EXPECT_EQ(Parse("U^2@dx"), (Pieces{{K::Plain, "U"}, {K::Raised, "2"}, {K::Greek, "δ"}, {K::Plain, "x"}}));
    EXPECT_EQ(Parse("@x@~a~"), (Pieces{{K::Plain, "x"}, {K::Lowered, "a"}}));
    EXPECT_EQ(Parse("U~~^^@"), (Pieces{{K::Plain, "U"}}));
}

TEST(IndexText, Utf8TextsAndTheLengthLimit) {
    EXPECT_EQ(Parse("@Ф~фаза~"), (Pieces{{K::Plain, "Ф"}, {K::Lowered, "фаза"}}));
    std::string longest;
    for (int i = 0; i < 255; ++i) longest += "Ж";
    EXPECT_EQ(Parse(longest + "Ж"), (Pieces{{K::Plain, longest}}));
    const std::string cut = longest.substr(2);
    EXPECT_EQ(Parse(cut + "@d"), (Pieces{{K::Plain, cut}}));  // the "d" is past the limit
}

TEST(IndexText, MeasuresWidthAndHeightInTheirOrder) {
    FakeFont font;
    EXPECT_EQ(cmn::MeasureIndexText(font, 8, ""), (cmn::TIndexTextSize{0, 6}));
    EXPECT_EQ(cmn::MeasureIndexText(font, 8, "@f"), (cmn::TIndexTextSize{8, 6}));
    EXPECT_EQ(cmn::MeasureIndexText(font, 8, "K~фаза~, %"), (cmn::TIndexTextSize{51, 26}));
    // Plain height 14, the lowered index first: 14 + 11 - 7 + 1, then the raised 19 + 20 - 9 + 1.
    font.heights["b"] = 20;
    EXPECT_EQ(cmn::MeasureIndexText(font, 8, "U~a~^b^"), (cmn::TIndexTextSize{20, 37}));
}

TEST(IndexText, PlacesPiecesInTheRectangle) {
    FakeFont font;
    const cmn::TIndexRect rect{10, 20, 110, 40};
    const auto layout = cmn::LayoutIndexText(font, 8, rect, "K~U(n)~@f^2^", false);
    EXPECT_EQ(layout.fill, rect);
    EXPECT_EQ(layout.clip, rect);
    EXPECT_EQ(layout.pieces, (Placements{{K::Plain, "K", 8, 10, 23, TL},
                                         {K::Lowered, "U(n)", 6, 18, 26, TL},
                                         {K::Greek, "φ", 8, 39, 23, TL},
                                         {K::Raised, "2", 6, 47, 30, cmn::IndexAnchor::BottomLeft}}));
    EXPECT_TRUE(cmn::LayoutIndexText(font, 8, rect, "", true).pieces.empty());
}

TEST(IndexText, CentringMovesTheFarEdgeByWhatIsLeftAndTruncatesTowardZero) {
    FakeFont font;  // "K~U(n)~, %" measures 51 x 26
    auto layout = cmn::LayoutIndexText(font, 8, {0, 0, 100, 41}, "K~U(n)~, %", true);
    EXPECT_EQ(layout.clip, (cmn::TIndexRect{24, 7, 88, 37}));
    EXPECT_EQ(layout.pieces.at(1), (cmn::TIndexPiecePlacement{K::Lowered, "U(n)", 6, 32, 18, TL}));

    // A symbol larger than its paint box: the rectangle grows, and keeps the text unclipped.
    layout = cmn::LayoutIndexText(font, 8, {2, 5, 30, 16}, "K~U(n)~, %", true);
    EXPECT_EQ(layout.fill, (cmn::TIndexRect{2, 5, 30, 16}));
    EXPECT_EQ(layout.clip, (cmn::TIndexRect{-9, -2, 36, 20}));
    EXPECT_EQ(layout.pieces,
              (Placements{
                  {K::Plain, "K", 8, -9, 2, TL}, {K::Lowered, "U(n)", 6, -1, 5, TL}, {K::Plain, ", %", 8, 20, 2, TL}}));
}

}  // namespace
