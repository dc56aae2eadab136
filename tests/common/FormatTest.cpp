#include <gtest/gtest.h>

#include <string>

#include "CommonUtils/Format.h"
#include "CommonUtils/TalvoError.h"

namespace {

TEST(Format, MessageTextsOfTheSystem) {
    EXPECT_EQ(cmn::Format("Значение частоты выходит за допустимый диапазон (от %5.1f до %5.1f Гц)!", 40.0, 70.0),
              "Значение частоты выходит за допустимый диапазон (от  40.0 до  70.0 Гц)!");
    EXPECT_EQ(cmn::Format("Неизвестный вид привязки провалов: %d", 7), "Неизвестный вид привязки провалов: 7");
    EXPECT_EQ(cmn::Format("Отсутствует библиотека %s", std::string("libSignalTalvo.so")),
              "Отсутствует библиотека libSignalTalvo.so");
    EXPECT_EQ(cmn::Format("%2.3f%%", 5.0L), "5.000%");
}

TEST(Format, WidthFlagsAndIntegers) {
    EXPECT_EQ(cmn::Format("[%-4d][%04d][%3s][%.2d]", 5, -5, "ab", 3), "[5   ][-005][ ab][03]");
    EXPECT_EQ(cmn::Format("%X %x %u", 255, 255, 7u), "FF ff 7");
}

TEST(Format, MismatchedArgumentsRaise) {
    EXPECT_THROW(cmn::Format("%d", "text"), cmn::TalvoError);
    EXPECT_THROW(cmn::Format("%s", 1), cmn::TalvoError);
    EXPECT_THROW(cmn::Format("%d %d", 1), cmn::TalvoError);
    EXPECT_THROW(cmn::Format("100%"), cmn::TalvoError);
}

}  // namespace
