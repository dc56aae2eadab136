#pragma once

#include <string>
#include <string_view>
#include <vector>

// Quantity symbols such as "K~U(n)~, %" or "@f~UI(n)~": "~" text "~" is a
// lowered index, "^" text "^" a raised one, "@" with d, D, S or f a Greek
// letter (δ, Δ, Σ, φ), everything else plain text.
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

}  // namespace cmn
