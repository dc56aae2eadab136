#pragma once

#include <string>
#include <string_view>
#include <vector>

// Quantity symbols such as "K~U(n)~, %" or "@f~UI(n)~": "~" text "~" is a
// lowered index, "^" text "^" a raised one, "@" with d, D, S or f a Greek
// letter (δ, Δ, Σ, φ), everything else plain text. Parsing, measuring and
// placing the pieces live here; a window toolkit only paints the placements.
namespace cmn {

// Texts are cut after this many characters (code points, never inside one).
inline constexpr std::size_t kMaxIndexTextChars = 255;

enum class IndexPieceKind { Plain, Lowered, Raised, Greek };

struct TIndexPiece {
    IndexPieceKind kind;
    std::string text;  // UTF-8; a Greek letter is its Unicode letter
    bool operator==(const TIndexPiece&) const = default;
};

std::vector<TIndexPiece> ParseIndexText(std::string_view text);

// The canvas font as the layout sees it: sizes in pixels of a UTF-8 text in
// that font at a point size. The height is the text cell (ascent + descent),
// which is what the anchors of a placement refer to.
class IFontMetrics {
public:
    virtual ~IFontMetrics() = default;
    virtual int TextWidth(std::string_view text, int pointSize) const = 0;
    virtual int TextHeight(std::string_view text, int pointSize) const = 0;
};

struct TIndexTextSize {
    int width = 0;
    int height = 0;
    bool operator==(const TIndexTextSize&) const = default;
};

// `pointSize` is the canvas font's size; indices use two points less.
TIndexTextSize MeasureIndexText(const IFontMetrics& font, int pointSize, std::string_view text);

// Pixel rectangle with exclusive right and bottom edges.
struct TIndexRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TIndexRect&) const = default;
};

// Which corner of the piece's text cell lies on (x, y).
enum class IndexAnchor { TopLeft, BottomLeft };

struct TIndexPiecePlacement {
    IndexPieceKind kind;
    std::string text;
    int pointSize;
    int x, y;
    IndexAnchor anchor;
    bool operator==(const TIndexPiecePlacement&) const = default;
};

// Painting: fill `fill` with the brush, then draw every piece in order at its
// size and anchor in the canvas font, clipped to `clip`. A centred clip
// rectangle may reach beyond `fill` when the text is larger than it.
struct TIndexTextLayout {
    TIndexRect fill;
    TIndexRect clip;
    std::vector<TIndexPiecePlacement> pieces;
};

TIndexTextLayout LayoutIndexText(const IFontMetrics& font, int pointSize, const TIndexRect& rect, std::string_view text,
                                 bool centred);

}  // namespace cmn
