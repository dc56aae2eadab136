#include "measure/engine/SentBytes.h"

#include "CommonUtils/TalvoError.h"

namespace msr {
namespace {

constexpr std::size_t kFrame = 14;
constexpr std::size_t kTiming = 12;
constexpr std::size_t kSample = 8;
constexpr std::uint8_t kSync = 0x55;

std::uint16_t Word(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

void CheckFrame(const std::uint8_t* p, std::size_t offset) {
    for (std::size_t i = 0; i < 4; ++i)
        if (p[i] != kSync)
            throw cmn::TalvoError("Неверные байты синхронизации в кадре по смещению " + std::to_string(offset));
    for (std::size_t i = 10; i < kFrame; ++i)
        if (p[i] != 0) throw cmn::TalvoError("Неверный кадр команды по смещению " + std::to_string(offset));
}

}  // namespace

std::size_t BlockLength(std::uint16_t code, std::uint16_t first) {
    if (code == 1 || code == 2) return static_cast<std::size_t>(first) * 2;
    if (code == 13) return kTiming;
    return 0;
}

std::vector<TSentCommand> SplitSentBytes(std::span<const std::uint8_t> bytes) {
    std::vector<TSentCommand> commands;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < kFrame) throw cmn::TalvoError("Переданные данные обрываются внутри кадра команды");
        const std::uint8_t* p = bytes.data() + at;
        CheckFrame(p, at);
        TSentCommand c{Word(p + 4), Word(p + 6), Word(p + 8), {}};
        at += kFrame;
        const std::size_t length = BlockLength(c.Code, c.First);
        if (bytes.size() - at < length) throw cmn::TalvoError("Переданные данные обрываются внутри блока данных");
        c.Block.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        commands.push_back(std::move(c));
    }
    return commands;
}

// Each sample carries 16 nibbles, most significant bit position first; a
// nibble is [1, C, B, A] from its high bit down, four nibbles to a word.
TTableCodes DecodeTable(std::span<const std::uint8_t> block) {
    if (block.size() % kSample != 0) throw cmn::TalvoError("Длина таблицы не кратна длине отсчёта");
    TTableCodes codes;
    const std::size_t n = block.size() / kSample;
    for (auto& phase : codes.Phase) phase.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* s = block.data() + i * kSample;
        std::uint16_t a = 0, b = 0, c = 0;
        for (int nibbleIndex = 0; nibbleIndex < 16; ++nibbleIndex) {
            const std::uint16_t word = Word(s + 2 * (nibbleIndex / 4));
            const int nibble = (word >> (12 - 4 * (nibbleIndex % 4))) & 0xF;
            if ((nibble & 0x8) == 0) throw cmn::TalvoError("Снят маркерный бит в отсчёте " + std::to_string(i));
            a = static_cast<std::uint16_t>((a << 1) | (nibble & 1));
            b = static_cast<std::uint16_t>((b << 1) | ((nibble >> 1) & 1));
            c = static_cast<std::uint16_t>((c << 1) | ((nibble >> 2) & 1));
        }
        codes.Phase[0][i] = a;
        codes.Phase[1][i] = b;
        codes.Phase[2][i] = c;
    }
    return codes;
}

// Each field is two 16-bit halves, the low one first.
TTimingFields DecodeTiming(std::span<const std::uint8_t> block) {
    if (block.size() != kTiming) throw cmn::TalvoError("Блок провалов должен иметь длину 12 байт");
    auto field = [&](std::size_t at) {
        return static_cast<std::int64_t>(Word(block.data() + at)) +
               65536 * static_cast<std::int64_t>(Word(block.data() + at + 2));
    };
    return {field(0), field(4), field(8)};
}

}  // namespace msr
