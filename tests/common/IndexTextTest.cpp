#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommonUtils/IndexText.h"

namespace {

using K = cmn::IndexPieceKind;
using Pieces = std::vector<cmn::TIndexPiece>;

Pieces Parse(std::string_view text) { return cmn::ParseIndexText(text); }

TEST(IndexText, ParsesRunsIndicesAndGreekLetters) {
    EXPECT_EQ(Parse(""), Pieces{});
    EXPECT_EQ(Parse("K~U(n)~, %"), (Pieces{{K::Plain, "K"}, {K::Lowered, "U(n)"}, {K::Plain, ", %"}}));
    EXPECT_EQ(Parse("@fU~U~~1~"), (Pieces{{K::Greek, "φ"}, {K::Plain, "U"}, {K::Lowered, "U"}, {K::Lowered, "1"}}));
    EXPECT_EQ(Parse("@d@D@S@Df"), (Pieces{{K::Greek, "δ"}, {K::Greek, "Δ"}, {K::Greek, "Σ"}, {K::Greek, "Δ"}, {K::Plain, "f"}}));
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

}  // namespace
