// A serial port the user may not open: the busy code or message stays as it
// is, and a line of its own says that the port is not accessible and names
// the group that owns the device.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>

#include <iostream>

#include "CommonUtils/SerialLine.h"
#include "DeviceAccess/ConnectionDescription.h"
#include "DeviceAccess/ErrorTexts.h"
#include "DeviceAccess/LCAThread.h"
#include "PeerPty.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "link/PortAccess.h"

namespace {

std::string GroupOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    const group* g = ::getgrgid(st.st_gid);
    return g != nullptr ? g->gr_name : std::to_string(st.st_gid);
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Reports a failed expectation of the unprivileged check (it may run in a child).
bool Expect(bool ok, const std::string& what) {
    if (!ok) std::cerr << "failed: " << what << '\n';
    return ok;
}

TEST(PortAccessHint, NamesTheGroupOwningTheDevice) {
    const std::string text = cmn::PortAccessDeniedText("/dev/null");
    EXPECT_TRUE(Has(text, "Порт /dev/null недоступен")) << text;
    EXPECT_TRUE(Has(text, "группу " + GroupOf("/dev/null") + ",")) << text;
    EXPECT_TRUE(Has(text, "usermod -aG " + GroupOf("/dev/null"))) << text;
}

TEST(PortAccessHint, OnlyARefusedPermissionGivesOne) {
    talvo_test::TempSettings settings;
    talvo_test::PeerPty peer("COM3");
    cmn::SerialLine line;
    ASSERT_EQ(line.Open(peer.SlavePath()), cmn::LineOpenStatus::Opened);
    EXPECT_EQ(line.AccessHint(), "");
    line.Close();
    EXPECT_EQ(line.Open("/nonexistent/ttyS9"), cmn::LineOpenStatus::Absent);
    EXPECT_EQ(line.AccessHint(), "");
}

// Every opener of a serial line, on a device file whose mode refuses everyone.
TEST(PortAccessHint, RefusedDeviceIsBusyAndExplained) {
    talvo_test::TempSettings settings;
    const talvo_test::RefusedPort port(settings, "COM7");
    const std::string& group = port.Group();

    std::string why;
    const std::optional<bool> verdict = talvo_test::RunUnprivileged(
        [&] {
            bool ok = true;
            cmn::SerialLine line;
            ok &= Expect(line.Open(port.Device()) == cmn::LineOpenStatus::Busy, "status Busy");
            ok &= Expect(Has(line.AccessHint(), "группу " + group + ","), "hint names " + group);

            // The calibrator port of the program: the busy line, then the hint.
            talvo_test::RecordingLog log;
            ok &= Expect(lnk::OpenActionPort("COM7", 115200, log) == nullptr, "no port");
            const std::vector<std::string> texts = log.Texts();
            ok &= Expect(texts.size() == 2 && texts[0] == "Порт COM7 занят", "busy line first");
            ok &=
                Expect(texts.size() == 2 && Has(texts[1], "Порт " + port.Device() + " недоступен"), "hint line second");

            // The channel worker: the busy code, the hint in its log.
            std::vector<std::string> lines;
            {
                da::TLCAThread worker([&lines](const std::string& line) { lines.push_back(line); });
                da::TLCAHandle handle = da::kNoChannel;
                const auto description = da::SerialDescription("COM7", 115200, da::SerialMode::Direct, {2, 1, 0});
                ok &= Expect(worker.Open(description, handle) == da::err::kPortBusy, "worker code busy");
            }
            ok &= Expect(lines.size() == 1 && Has(lines[0], "группу " + group + ","), "worker log");
            return ok;
        },
        why);
    if (!verdict) GTEST_SKIP() << why;
    EXPECT_TRUE(*verdict) << "see the failed checks above";
}

}  // namespace
