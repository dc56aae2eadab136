// The texts, the version and the exports that need the serial port.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "CommonUtils/CodePage.h"
#include "SignalTalvoLibrary.h"

namespace {

using namespace talvo_test;

const std::string kUnknown = "Неизвестная ошибка.";
const std::string kHarmonicPrefix = "Выход за границы допустимого диапазона коэффициента ";

TEST(ErrorText, NullBufferGivesFalse) {
    EXPECT_EQ(Library().GetErrorText(0, nullptr), 0);
    EXPECT_EQ(Library().GetErrorText(91, nullptr), 0);
}

TEST(ErrorText, TextsComeInWindows1251) {
    char buffer[88];
    ASSERT_EQ(Library().GetErrorText(91, buffer), 1);
    EXPECT_STREQ(buffer,
                 "\xCD\xE5\xE2\xE5\xF0\xED\xFB\xE9 \xE4\xE8\xE0\xEF\xE0\xE7\xEE\xED "
                 "\xED\xE0\xEF\xF0\xFF\xE6\xE5\xED\xE8\xFF.");
    EXPECT_EQ(Text(0), "Нет ошибки.");
    EXPECT_EQ(Text(16), "Несовпадение в в коде команды при подтверждении выполнения команды.");
    EXPECT_EQ(Text(50), "Внутренняя ошибка функции. При повторе обратитесь к разработчику.");
    EXPECT_EQ(Text(102), "Порт отсутствует в системе.");
    EXPECT_EQ(Text(200), "Значение фазового угла напряжения основной частоты фазы А отлично от нуля.");
}

// Only code 81 writes the phase letter in Latin.
TEST(ErrorText, PhaseLettersOfTheCalibrationTexts) {
    char buffer[88];
    Library().GetErrorText(81, buffer);
    const std::string a(buffer);
    EXPECT_EQ(a.substr(a.size() - 2), "A.");
    Library().GetErrorText(84, buffer);
    EXPECT_EQ(std::string(buffer).substr(std::strlen(buffer) - 2), "\xC0.");  // Cyrillic А
    EXPECT_EQ(Text(82), "Выход за границы допустимого диапазона калибровочного коэффициента напряжения фазы В.");
    EXPECT_EQ(Text(86), "Выход за границы допустимого диапазона калибровочного коэффициента тока фазы С.");
}

TEST(ErrorText, HarmonicBlocksNameTheHarmonicByItsOffset) {
    EXPECT_EQ(Text(202), kHarmonicPrefix + "1 гармоники напряжения фазы А.");
    EXPECT_EQ(Text(203), kHarmonicPrefix + "2 гармоники напряжения фазы А.");
    EXPECT_EQ(Text(201), kHarmonicPrefix + "0 гармоники напряжения фазы А.");
    EXPECT_EQ(Text(241), kHarmonicPrefix + "40 гармоники напряжения фазы А.");
    EXPECT_EQ(Text(253), kHarmonicPrefix + "2 гармоники тока фазы А.");
    EXPECT_EQ(Text(340), kHarmonicPrefix + "39 гармоники напряжения фазы В.");
    EXPECT_EQ(Text(351), kHarmonicPrefix + "0 гармоники тока фазы В.");
    EXPECT_EQ(Text(425), kHarmonicPrefix + "24 гармоники напряжения фазы С.");
    EXPECT_EQ(Text(491), kHarmonicPrefix + "40 гармоники тока фазы С.");
}

TEST(ErrorText, CodesOutsideTheTableAreUnknown) {
    for (int c : {4,   10,  17,  28,  41,  57,  60,  65,  77,  80,  88,  94, 100,    106,  150,
                  157, 199, 242, 250, 292, 300, 392, 442, 450, 492, 999, -1, -32768, 32767})
        EXPECT_EQ(Text(static_cast<std::int16_t>(c)), kUnknown) << c;
}

// The buffer a caller must provide holds 87 characters and the zero: no
// code may write more.
TEST(ErrorText, EveryTextFitsTheDocumentedBuffer) {
    constexpr char kGuard = '\x5A';
    std::set<std::string> texts;
    for (int c = -32768; c <= 32767; ++c) {
        char buffer[96];
        std::memset(buffer, kGuard, sizeof buffer);
        ASSERT_EQ(Library().GetErrorText(static_cast<std::int16_t>(c), buffer), 1);
        ASSERT_LE(std::strlen(buffer), 87u) << c;
        for (std::size_t i = 88; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], kGuard) << c;
        texts.insert(buffer);
    }
    // 62 listed texts, 6 blocks of 41 and the unknown one.
    EXPECT_EQ(texts.size(), 62u + 6 * 41 + 1);
}

TEST(Version, IsTwoFour) {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    Library().GetDllVersion(&major, &minor);
    EXPECT_EQ(major, 2);
    EXPECT_EQ(minor, 4);
    minor = 0;
    Library().GetDllVersion(nullptr, &minor);
    EXPECT_EQ(minor, 4);
    Library().GetDllVersion(&major, nullptr);
    Library().GetDllVersion(nullptr, nullptr);
}

}  // namespace
