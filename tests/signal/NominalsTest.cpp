#include <gtest/gtest.h>

#include "CommonUtils/TalvoError.h"
#include "TestSignals.h"
#include "signal/Nominals.h"

namespace {

TEST(Nominals, AcceptedStoredValues) {
    EXPECT_TRUE(sig::IsAcceptedVoltageNominal(57.74L));
    EXPECT_TRUE(sig::IsAcceptedVoltageNominal(220.9L));
    EXPECT_FALSE(sig::IsAcceptedVoltageNominal(230));
    EXPECT_FALSE(sig::IsAcceptedVoltageNominal(58));
    EXPECT_TRUE(sig::IsAcceptedCurrentNominal(5.0L));
    EXPECT_FALSE(sig::IsAcceptedCurrentNominal(5.5L));
    EXPECT_EQ(sig::ReferenceCurrent(5), 5);
    EXPECT_EQ(sig::ReferenceCurrent(1), 1);
    EXPECT_EQ(sig::ReferenceCurrent(2), 1);
}

TEST(Modifications, NamesScalesAndCapabilities) {
    const sig::TModificationInfo& first = sig::ModificationInfo(sig::dmTalvo);
    EXPECT_EQ(first.Identifier, "dmTalvo");
    EXPECT_EQ(first.DisplayName, "Orbis-Talvo");
    EXPECT_EQ(first.OutputScale, 0.6938603561695532015L);
    EXPECT_FALSE(first.FilterCompensation);
    const sig::TModificationInfo& second = sig::ModificationInfo(sig::dmTalvoM);
    EXPECT_EQ(second.DisplayName, "Orbis-TalvoM");
    EXPECT_EQ(second.OutputScale, 0.44L);
    EXPECT_TRUE(second.FilterCompensation && second.VoltageAbove40 && second.InterHarmonics);
    EXPECT_THROW(sig::ModificationInfo(2), cmn::TalvoError);
}

TEST(Modifications, UnsupportedContentOfTheFirstModification) {
    auto s = talvo_test::BalancedSignal();
    EXPECT_EQ(sig::UnsupportedParameters(sig::dmTalvo, s->Voltage, s->Current, s->Switches), "");
    // A derived line block counts too: all six voltage blocks are looked at.
    s->Voltage.Garmonik.SetKoef("faza_ab", 45, 1);
    s->Current.Garmonik.SetAngle("faza_c", 45, 30);  // angles alone do not count
    s->Switches.IncludeInterGarm = true;
    const std::string list = sig::UnsupportedParameters(sig::dmTalvo, s->Voltage, s->Current, s->Switches);
    EXPECT_EQ(list, "- гармонические составляющие напряжения более 40-й\r\n- интергармонические составляющие\r\n");
    s->Current.Garmonik.SetKoef("faza_c", 41, 1);
    EXPECT_NE(sig::UnsupportedParameters(sig::dmTalvo, s->Voltage, s->Current, s->Switches)
                  .find("- гармонические составляющие тока более 40-й\r\n"),
              std::string::npos);
    EXPECT_EQ(sig::UnsupportedParameters(sig::dmTalvoM, s->Voltage, s->Current, s->Switches), "");

    EXPECT_EQ(sig::UnsupportedQuestion(sig::dmTalvo, list),
              "В работе используется калибратор модификации Orbis-Talvo.\r\n"
              "Данная модификация не рассчитана на поддержку следующих из заданных параметров:\r\n\r\n" +
                  list + "\r\nВозможно ухудшение метрологических характеристик выходного сигнала.\r\nПродолжить?");
    EXPECT_EQ(sig::UnsupportedNotice(list),
              "Данная модификация калибратора не рассчитана на поддержку следующих из заданных параметров:\r\n" + list +
                  "\r\nВозможно ухудшение метрологических характеристик выходного сигнала.");
}

TEST(Modifications, EmptyInterharmonicsLookAtCoefficientsAndAngles) {
    auto s = talvo_test::BalancedSignal();
    EXPECT_TRUE(sig::InterharmonicsEmpty(s->Voltage, s->Current));
    s->Current.InterGarm[sig::fzB].Angle[49] = 1;
    EXPECT_FALSE(sig::InterharmonicsEmpty(s->Voltage, s->Current));
    s->Current.InterGarm[sig::fzB].Angle[49] = 0;
    s->Voltage.InterGarm[sig::fzAB].Koef[3] = 1;  // derived line values are not inputs
    EXPECT_TRUE(sig::InterharmonicsEmpty(s->Voltage, s->Current));
}

TEST(Enumerations, RefuseValuesOutsideTheirLists) {
    EXPECT_EQ(sig::CheckCollapseBinding(2), sig::cbPeriod);
    EXPECT_EQ(sig::CheckRefVoltageKind(1), sig::rvSet);
    try {
        sig::CheckCollapseBinding(9);
        FAIL();
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Неизвестный вид привязки провалов: 9");
    }
    try {
        sig::CheckRefVoltageKind(2);
        FAIL();
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Неизвестный вид опорного напряжения");
    }
}

}  // namespace
