// The boundary every export runs its body in, tested on the library code
// the shared library is built from.
#include <gtest/gtest.h>

#include <cstdint>

#include "CommonUtils/TalvoError.h"
#include "SignalLib/Guard.h"

namespace {

TEST(Guard, PassesTheResultThrough) {
    EXPECT_EQ(stlib::Guarded(std::int16_t(50), [] { return std::int16_t(7); }), 7);
}

TEST(Guard, ReportsAnEscapingErrorAndGivesTheFailureValue) {
    testing::internal::CaptureStderr();
    const std::int16_t code =
        stlib::Guarded(std::int16_t(50), []() -> std::int16_t { throw cmn::TalvoError("Сбой расчета"); });
    EXPECT_EQ(code, 50);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Ошибка SignalTalvo.dll: Сбой расчета\n");
}

TEST(Guard, CatchesWhatIsNotAnException) {
    testing::internal::CaptureStderr();
    const std::uint8_t ok = stlib::Guarded(std::uint8_t(0), []() -> std::uint8_t { throw 42; });
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("Ошибка SignalTalvo.dll: ", 0), 0u);
}

}  // namespace
