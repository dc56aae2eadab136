#include "IndexText.h"

#include <algorithm>
#include <utility>

namespace cmn {
namespace {

// The Greek letters the notation knows, by the character after "@".
const char* GreekLetter(char c) {
    switch (c) {
        case 'd': return "\u03B4";  // δ
        case 'D': return "\u0394";  // Δ
        case 'S': return "\u03A3";  // Σ
        case 'f': return "\u03C6";  // φ
        default: return nullptr;
    }
}

// The first `count` characters of a UTF-8 text; a continuation byte never
// starts a character, so no sequence is split.
std::string_view FirstChars(std::string_view text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars++ == count) return text.substr(0, i);
    }
    return text;
}

// Every run ends at the next special character or at the end of the text.
// They are ASCII, so a byte search never stops inside a UTF-8 sequence.
std::size_t RunEnd(std::string_view text, std::size_t from) {
    return std::min(text.find_first_of("~^@", from), text.size());
}

// Indices are two points smaller than the canvas font.
int PieceSize(IndexPieceKind kind, int pointSize) {
    return kind == IndexPieceKind::Lowered || kind == IndexPieceKind::Raised ? pointSize - 2 : pointSize;
}

TIndexTextSize MeasurePieces(const IFontMetrics& font, int pointSize, const std::vector<TIndexPiece>& pieces) {
    TIndexTextSize size;
    int lowered = 0;
    int raised = 0;
    for (const TIndexPiece& p : pieces) {
        const int ps = PieceSize(p.kind, pointSize);
        size.width += font.TextWidth(p.text, ps) + 1;
        if (p.kind == IndexPieceKind::Plain) size.height = std::max(size.height, font.TextHeight(p.text, ps)) + 1;
        if (p.kind == IndexPieceKind::Lowered) lowered = std::max(lowered, font.TextHeight(p.text, ps));
        if (p.kind == IndexPieceKind::Raised) raised = std::max(raised, font.TextHeight(p.text, ps));
    }
    // An index overlaps the plain line by half its height and sticks out by
    // the rest; the lowered one is added first, the raised one on top of it.
    if (lowered > 0) size.height += lowered - size.height / 2 + 1;
    if (raised > 0) size.height += raised - size.height / 2 + 1;
    size.height += 6;
    return size;
}

// Each edge moves by half of what is left over at that moment, so the far
// edge uses the near edge already moved. Integer division truncates toward
// zero, also when the text is larger and the rectangle grows.
TIndexRect CentredRect(TIndexRect r, TIndexTextSize size) {
    r.left += ((r.right - r.left) - size.width) / 2;
    r.right -= ((r.right - r.left) - size.width) / 2;
    r.top += ((r.bottom - r.top) - size.height) / 2;
    r.bottom -= ((r.bottom - r.top) - size.height) / 2;
    return r;
}

}  // namespace

std::vector<TIndexPiece> ParseIndexText(std::string_view text) {
    text = FirstChars(text, kMaxIndexTextChars);
    std::vector<TIndexPiece> pieces;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '@') {
            // An unknown character after "@" stays and starts the next
            // piece; only the "@" goes, as does an "@" at the very end.
            const char* letter = pos + 1 < text.size() ? GreekLetter(text[pos + 1]) : nullptr;
            if (letter) pieces.push_back({IndexPieceKind::Greek, letter});
            pos += letter ? 2 : 1;
        } else if (c == '~' || c == '^') {
            const std::size_t end = RunEnd(text, pos + 1);
            // An empty index ("~~", a final "~") draws nothing and takes no room.
            if (end > pos + 1)
                pieces.push_back({c == '~' ? IndexPieceKind::Lowered : IndexPieceKind::Raised,
                                  std::string(text.substr(pos + 1, end - pos - 1))});
            // Only the run's own delimiter closes it; another one is left to
            // start the next piece, so an unclosed index ends there.
            pos = end < text.size() && text[end] == c ? end + 1 : end;
        } else {
            const std::size_t end = RunEnd(text, pos);
            pieces.push_back({IndexPieceKind::Plain, std::string(text.substr(pos, end - pos))});
            pos = end;
        }
    }
    return pieces;
}

TIndexTextSize MeasureIndexText(const IFontMetrics& font, int pointSize, std::string_view text) {
    return MeasurePieces(font, pointSize, ParseIndexText(text));
}

TIndexTextLayout LayoutIndexText(const IFontMetrics& font, int pointSize, const TIndexRect& rect, std::string_view text,
                                 bool centred) {
    std::vector<TIndexPiece> pieces = ParseIndexText(text);
    TIndexTextLayout layout{rect, centred ? CentredRect(rect, MeasurePieces(font, pointSize, pieces)) : rect, {}};
    const TIndexRect& r = layout.clip;
    const int middle = r.top + (r.bottom - r.top) / 2;
    int x = r.left;
    for (TIndexPiece& p : pieces) {
        const int size = PieceSize(p.kind, pointSize);
        const int width = font.TextWidth(p.text, size);
        TIndexPiecePlacement placed{p.kind, std::move(p.text), size, x, 0, IndexAnchor::TopLeft};
        if (p.kind == IndexPieceKind::Lowered) {
            placed.y = middle - 4;  // top edge 4 pixels above the middle line
        } else if (p.kind == IndexPieceKind::Raised) {
            placed.y = middle;  // bottom edge on the middle line
            placed.anchor = IndexAnchor::BottomLeft;
        } else {
            placed.y = r.top + ((r.bottom - r.top) - font.TextHeight(placed.text, size)) / 2;
        }
        layout.pieces.push_back(std::move(placed));
        x += width + 1;
    }
    return layout;
}

}  // namespace cmn
