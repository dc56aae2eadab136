#include "IndexText.h"

#include <algorithm>

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

}  // namespace cmn
