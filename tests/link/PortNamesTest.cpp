#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "CalibratorSimulator.h"
#include "CommonUtils/PortNames.h"
#include "CommonUtils/TalvoError.h"
#include "TempFolder.h"
#include "link/PortList.h"

namespace {

namespace fs = std::filesystem;

TEST(PortNames, ComNumbersArePositiveDecimalTails) {
    EXPECT_EQ(cmn::ComPortNumber("COM1"), 1u);
    EXPECT_EQ(cmn::ComPortNumber("com10"), 10u);
    EXPECT_EQ(cmn::ComPortNumber("Com007"), 7u);
    for (const char* bad :
         {"COM0", "COMX", "COM", "COM1X", "COM-1", "COM 1", "COM+1", "LPT1", "/dev/COM1", "COM99999999999"}) {
        EXPECT_FALSE(cmn::ComPortNumber(bad)) << bad;
    }
}

TEST(PortNames, PortFolderEntryFirstThenTheMatchingTtyS) {
    talvo_test::TempSettings settings;
    const fs::path folder = settings.PortFolder();
    fs::create_symlink("/dev/null", folder / "COM3");
    fs::create_symlink(folder / "gone", folder / "COM4");  // dangling: still this port, and absent
    std::ofstream(folder / "MYPORT").put('x');
    EXPECT_EQ(cmn::PortDevicePath("COM3"), (folder / "COM3").string());
    EXPECT_EQ(cmn::PortDevicePath("COM4"), (folder / "COM4").string());
    EXPECT_EQ(cmn::PortDevicePath("COM5"), "/dev/ttyS4");
    EXPECT_EQ(cmn::PortDevicePath("MYPORT"), (folder / "MYPORT").string());
    EXPECT_EQ(cmn::PortDevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(cmn::PortDevicePath("./relative/COM3"), "./relative/COM3");
    EXPECT_EQ(cmn::PortNumberDevicePath(3), (folder / "COM3").string());
    EXPECT_EQ(cmn::PortNumberDevicePath(1), "/dev/ttyS0");
}

TEST(PortList, MissingListIsRefused) {
    try {
        lnk::FillCOMPortList(nullptr);
        FAIL() << "no error";
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "FillCOMPortList: параметр COMPortList не может быть nil");
    }
}

TEST(PortList, ComPortsSortedByNumberWithoutComZeroAndOtherNames) {
    talvo_test::TempSettings settings;
    talvo_test::CalibratorSimulator com1("COM1"), com10("COM10"), com2("COM2");
    const fs::path folder = settings.PortFolder();
    std::ofstream(folder / "COMX").put('x');
    std::ofstream(folder / "COM0").put('x');
    fs::create_symlink(folder / "gone", folder / "COM7");
    std::vector<std::string> list = {"stale entry"};
    lnk::FillCOMPortList(&list);

    std::vector<std::string> ours;
    for (const std::string& name : list) {
        if (name == "COM1" || name == "COM2" || name == "COM10") ours.push_back(name);
    }
    EXPECT_EQ(ours, (std::vector<std::string>{"COM1", "COM2", "COM10"}));
    for (const std::string& name : list) {
        EXPECT_NE(name, "COMX");
        EXPECT_NE(name, "COM0");
        EXPECT_NE(name, "COM7");
        EXPECT_NE(name, "stale entry");
    }
    // Every COMn name comes before the device paths, in ascending order, once.
    std::uint32_t last = 0;
    bool pathsBegan = false;
    for (const std::string& name : list) {
        const auto n = cmn::ComPortNumber(name);
        if (!n) {
            pathsBegan = true;
            EXPECT_EQ(name.rfind("/dev/tty", 0), 0u) << name;
            continue;
        }
        EXPECT_FALSE(pathsBegan) << name;
        EXPECT_GT(*n, last);
        last = *n;
    }
}

}  // namespace
