#include <gtest/gtest.h>

#include <cstring>

#include "TestSignals.h"
#include "signal/Records.h"
#include "signal/SignalSet.h"

namespace {

using sig::TGarmonik;

TEST(Garmonik, ValuesPassThroughSinglePrecision) {
    TGarmonik g;
    g.SetKoef("faza_a", 5, 0.1f);
    EXPECT_EQ(g.GetKoef("faza_a", 5), static_cast<sig::real>(0.1f));
    EXPECT_NE(g.GetKoef("faza_a", 5), 0.1L);
    g.SetAngle("faza_ab_bc", 7, 12.3f);
    EXPECT_EQ(g.GetAngle("faza_ab_bc", 7), static_cast<sig::real>(12.3f));
}

TEST(Garmonik, OrdersAndSelectorsOutsideTheListsChangeNothing) {
    TGarmonik g;
    g.SetKoef("faza_a", 0, 1);
    g.SetKoef("faza_a", 51, 1);
    g.SetKoef("faza_d", 5, 1);
    g.SetKoef("faza_a_b", 5, 1);  // coefficients have no difference arrays
    g.SetAngle("faza_d", 5, 1);
    const TGarmonik empty;
    EXPECT_EQ(std::memcmp(&g.a, &empty.a, sizeof g.a), 0);
    EXPECT_EQ(g.a_b[5], 0);
    g.SetKoef("faza_a", 50, 3);
    EXPECT_EQ(g.GetKoef("faza_a", 50), 3);
    EXPECT_EQ(g.GetKoef("faza_a", 51), 0);
    EXPECT_EQ(g.GetKoef("faza_a", 0), 0);
    EXPECT_EQ(g.GetAngle("faza_d", 5), 0);
}

TEST(Garmonik, SelectorsAddressTheirOwnParts) {
    TGarmonik g;
    const char* blocks[] = {"faza_a", "faza_b", "faza_c", "faza_ab", "faza_bc", "faza_ca"};
    const char* diffs[] = {"faza_a_b", "faza_b_c", "faza_c_a", "faza_ab_bc", "faza_bc_ca", "faza_ca_ab"};
    for (int k = 0; k < 6; ++k) {
        g.SetKoef(blocks[k], 3, static_cast<float>(k + 1));
        g.SetAngle(blocks[k], 3, static_cast<float>(10 * (k + 1)));
        g.SetAngle(diffs[k], 3, static_cast<float>(100 * (k + 1)));
    }
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(g.Faza(k).Koef[3], k + 1);
        EXPECT_EQ(g.GetAngle(blocks[k], 3), 10 * (k + 1));
        EXPECT_EQ(g.GetAngle(diffs[k], 3), 100 * (k + 1));
    }
    // The phase differences also read back through GetKoef; the line ones do not.
    EXPECT_EQ(g.GetKoef("faza_b_c", 3), 200);
    EXPECT_EQ(g.GetKoef("faza_ab_bc", 3), 0);

    sig::TGarmonikFaza copy;
    g.CopyFaza("faza_bc", copy);
    EXPECT_EQ(copy.Koef[3], 5);
    g.CopyFaza("faza_a_b", copy);  // not a block: nothing copied
    EXPECT_EQ(copy.Koef[3], 5);

    g.Clear();
    EXPECT_EQ(g.GetKoef("faza_bc", 3), 0);
    EXPECT_EQ(g.GetAngle("faza_ca_ab", 3), 0);
}

TEST(Garmonik, CurrentDifferencesFollowFromTheVoltageOnes) {
    TGarmonik u, i;
    u.a_b[5] = 170;
    i.a.Angle[5] = -30;
    i.b.Angle[5] = 20;
    i.DeriveAngleDiffs(u);
    EXPECT_DOUBLE_EQ(static_cast<double>(i.a_b[5]), -140.0);  // 170 + 30 + 20 = 220, folded
}

TEST(SignalSet, ANewSignalHasTheDocumentedDefaults) {
    const auto s = std::make_unique<sig::TSignalSet>();
    EXPECT_EQ(s->Voltage.UA, 0);
    EXPECT_EQ(s->Current.IC, 0);
    EXPECT_EQ(s->Voltage.Garmonik.GetKoef("faza_c", 50), 0);
    const sig::TSignalSwitches& sw = s->Switches;
    EXPECT_TRUE(sw.UOnA && sw.UOnB && sw.UOnC && sw.IOnA && sw.IOnB && sw.IOnC);
    EXPECT_FALSE(sw.IncludeInterGarm);
    EXPECT_EQ(sw.HarmCountU, 50);
    EXPECT_EQ(sw.HarmCountI, 50);
    EXPECT_EQ(sw.InterCountU, 50);
    EXPECT_EQ(s->Collapses.Binding, sig::cbPeriod);
    EXPECT_EQ(s->Collapses.RefKind, sig::rvNominal);
    for (const auto& block : s->Collapses.Faza) {
        EXPECT_EQ(block.Kind, sig::ckDip);
        EXPECT_EQ(block.KPerU, 1);
    }
    EXPECT_EQ(s->Koleb.Freq, 1);
    EXPECT_EQ(s->Grid.TimerIndex, sig::kNoTimerIndex);
}

TEST(SignalSet, ACopyHasItsOwnHarmonicStore) {
    auto original = talvo_test::BalancedSignal();
    original->Voltage.Garmonik.SetKoef("faza_a", 3, 4);
    {
        auto copy = std::make_unique<sig::TSignalSet>(*original);
        copy->Voltage.Garmonik.SetKoef("faza_a", 3, 9);
    }  // the copy is gone; the original's store is whole and unchanged
    EXPECT_EQ(original->Voltage.Garmonik.GetKoef("faza_a", 3), 4);
}

}  // namespace
