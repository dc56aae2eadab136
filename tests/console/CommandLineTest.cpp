#include <gtest/gtest.h>

#include "console/CommandLine.h"

namespace {

using console::TConsoleCommand;
using console::TConsoleOptions;

TConsoleOptions Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "KalibratorTalvo");
    return console::TConsolManager(args).Options();
}

TEST(CommandLine, SetSignalAloneResetsTheWholeSignalOnCom1WithTheSecondModification) {
    const TConsoleOptions o = Parse({"-c", "SetSignal"});
    EXPECT_EQ(o.Command, TConsoleCommand::SetSignal);
    EXPECT_EQ(o.Type, console::ctStopSin);
    EXPECT_EQ(o.Port, "COM1");
    EXPECT_EQ(o.Modification, 1);
    EXPECT_EQ(o.Column, 2);
    EXPECT_FALSE(o.FromStdin);
    EXPECT_FALSE(o.IntoCopy);
}

TEST(CommandLine, OnlyTheTwoCommandsSelectConsoleMode) {
    EXPECT_FALSE(console::TConsolManager({"x"}).ConsoleMode());
    EXPECT_FALSE(console::TConsolManager({"x", "-c", "setsignal"}).ConsoleMode());
    EXPECT_FALSE(console::TConsolManager({"x", "-c"}).ConsoleMode());
    EXPECT_TRUE(console::TConsolManager({"x", "-c", "ExportXls"}).ConsoleMode());
    EXPECT_EQ(Parse({"-c", "ExportXls", "-c", "Other"}).Command, TConsoleCommand::ExportXls);
}

TEST(CommandLine, EveryOptionInAnyOrder) {
    const TConsoleOptions o =
        Parse({"-col", "7", "-expo", "infile", "-expf", "out.xlsx", "-expt", "t.xlsx", "-s", "-cn", "/dev/ttyUSB0",
               "-k", "dmTalvo", "-p", "a.usa", "-t", "Koleb", "-c", "ExportXls"});
    EXPECT_EQ(o.Command, TConsoleCommand::ExportXls);
    EXPECT_EQ(o.Type, console::ctKoleb);
    EXPECT_EQ(o.SignalFile, "a.usa");
    EXPECT_EQ(o.Modification, 0);
    EXPECT_EQ(o.Port, "/dev/ttyUSB0");
    EXPECT_TRUE(o.FromStdin);
    EXPECT_EQ(o.Template, "t.xlsx");
    EXPECT_EQ(o.Output, "out.xlsx");
    EXPECT_TRUE(o.IntoCopy);
    EXPECT_EQ(o.Column, 7);
}

TEST(CommandLine, ValuesOutsideTheirTables) {
    EXPECT_EQ(Parse({"-k", "dmTalvoM"}).Modification, 1);
    EXPECT_EQ(Parse({"-k", "DMTALVO"}).Modification, 1);
    EXPECT_EQ(Parse({"-t", "Sinus", "-t", "sinus"}).Type, console::ctSinus);
    EXPECT_EQ(Parse({"-t", "Wave"}).Type, console::ctStopSin);
    EXPECT_EQ(Parse({"-t", "StopColOver"}).Type, console::ctStopColOver);
    EXPECT_FALSE(Parse({"-expo", "InFile"}).IntoCopy);
}

TEST(CommandLine, ValuesAreNotSkipped) {
    // "-p" takes "-s" as its file name, and "-s" acts as well.
    const TConsoleOptions o = Parse({"-p", "-s"});
    EXPECT_EQ(o.SignalFile, "-s");
    EXPECT_TRUE(o.FromStdin);
    // An option in last place gets an empty value.
    EXPECT_EQ(Parse({"-p", "a.usa", "-p"}).SignalFile, "");
    EXPECT_EQ(Parse({"-cn"}).Port, "");
}

TEST(CommandLine, ColumnMustBeADecimalInteger) {
    EXPECT_EQ(Parse({"-col", "12"}).Column, 12);
    for (const char* bad : {"", "x", "0x10", "3.5", "12 ", "99999999999"}) {
        const TConsoleOptions o = Parse({"-col", bad});
        ASSERT_TRUE(o.BadColumn) << bad;
        EXPECT_EQ(*o.BadColumn, bad);
        EXPECT_EQ(o.Column, 2);
    }
    EXPECT_FALSE(Parse({"-col", "x", "-col", "4"}).BadColumn);
}

}  // namespace
