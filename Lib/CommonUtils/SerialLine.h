#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One serial line of this machine on termios, the layer under both port
// classes. The line is used exclusively: an advisory lock (flock) that every
// program of ours takes, plus the tty's exclusive mode for everyone else.
namespace cmn {

enum class LineOpenStatus { Opened, Busy, Absent, Unusable };

enum class Parity { None, Odd, Even };

// Line settings; flow control is always off and DTR and RTS are held off.
struct LineSettings {
    std::uint32_t baudRate = 115200;
    int dataBits = 8;
    Parity parity = Parity::None;
    int stopBits = 1;
};

// Total time-out of one transfer of n bytes: perByte × n + constant, in ms.
struct LineTimeouts {
    std::uint32_t readPerByte = 0;
    std::uint32_t readConstant = 0;
    std::uint32_t writePerByte = 0;
    std::uint32_t writeConstant = 0;
};

// The flow control the line is set to, by the numbers the library reports.
enum class FlowControl { None = 0, RtsCts = 2, XonXoff = 4 };

// The line for a device the user may not open: the user must be a member
// of the group that owns the device (as stat reports it, e.g. "dialout").
std::string PortAccessDeniedText(const std::string& path);

class SerialLine {
public:
    SerialLine() = default;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    ~SerialLine();

    // Busy: refused by the system or held by another user; Absent: no such
    // device or any other failure to open; Unusable: not a tty (closed again).
    LineOpenStatus Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    // After an open the system refused for lack of permission (EACCES): the
    // line that says so and names the group owning the device; empty after
    // any other outcome. The open's own status (Busy) stays as it was.
    std::string AccessHint() const;
    // The descriptor, for callers that wait on the line themselves; -1 when closed.
    int Handle() const { return fd_; }

    // Raw mode with the given framing; false when closed or refused.
    bool ApplySettings(const LineSettings& settings);
    // Takes effect for the following transfers; false when closed.
    bool ApplyTimeouts(const LineTimeouts& timeouts);
    FlowControl CurrentFlowControl() const;

    // Bytes moved within the transfer's total time-out; a transfer ends
    // early when the device hangs up. A write returns once the bytes have
    // left the driver, as the confirmation time-outs that follow assume.
    std::size_t Write(const std::uint8_t* data, std::size_t n);
    std::size_t Read(std::uint8_t* data, std::size_t n);

    // Drops whatever waits in the input and output queues.
    bool Purge();
    // True when the line was closed already or closing succeeded.
    bool Close();

private:
    int fd_ = -1;
    int openError_ = 0;  // errno of the last refused open
    std::string openPath_;
    bool unsentOutput_ = false;
    LineTimeouts timeouts_;
};

}  // namespace cmn
