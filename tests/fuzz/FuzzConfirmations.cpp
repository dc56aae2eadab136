// Arbitrary byte streams as calibrator confirmations, through the program's
// and the library's checkers: the first two bytes are the command code, the
// rest the bytes received. Both must agree on what they can both see, and
// the program must log exactly one line per confirmation. The samples and
// the timing block must decode what they encode.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/ProtocolLog.h"
#include "SignalLib/device/DeviceCodes.h"
#include "link/Exchange.h"

namespace {

class CountingLog : public cmn::IProtocolLog {
public:
    void Log(cmn::LogType type, const std::string&) override {
        ++lines;
        errors += type == cmn::LogType::Error;
    }
    bool Interactive() const override { return false; }
    bool Ask(const std::string&, cmn::MessageKind, cmn::Buttons) override { std::abort(); }
    int lines = 0;
    int errors = 0;
};

void CheckBothSenders(std::uint16_t code, std::span<const std::uint8_t> received) {
    for (const auto kind : {lnk::TConfirmationKind::Receipt, lnk::TConfirmationKind::Execution}) {
        CountingLog log;
        const bool receipt = kind == lnk::TConfirmationKind::Receipt;
        // The program reads all 8 bytes or reports no answer; it sees exactly 8 or nothing.
        const auto seen = received.size() >= 8 ? received.first(8) : std::span<const std::uint8_t>();
        const bool programOk = lnk::CheckConfirmation(kind, seen, code, log);
        const std::int16_t libraryCode =
            receipt ? stlib::ReceiptError(received.first(std::min<std::size_t>(received.size(), 8)), code)
                    : stlib::ExecutionError(received.first(std::min<std::size_t>(received.size(), 8)), code);
        if (log.lines != 1 || log.errors != (programOk ? 0 : 1)) std::abort();
        // Below bit 7 both execution rules name the same word; the receipt rule is shared.
        if ((receipt || code < 0x80) && seen.size() == 8 && programOk != (libraryCode == 0)) std::abort();
        if (received.empty() && libraryCode != stlib::kErrNoAnswer) std::abort();
    }
}

void CheckCodecs(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 8) {
        const cmn::SampleCodes s = cmn::UnpackSample(bytes.data());
        std::uint8_t again[8];
        cmn::PackSample(s.a, s.b, s.c, again);
        if (s.markersOk != std::equal(again, again + 8, bytes.data())) std::abort();
    }
    if (bytes.size() >= 4) {
        // A non-negative field is the plain little-endian word on the wire.
        const auto value =
            static_cast<std::int32_t>(cmn::ReadWord(bytes.data()) | cmn::ReadWord(bytes.data() + 2) << 16);
        const cmn::TimingBlock block = cmn::EncodeTimingBlock(value, value, value);
        const cmn::TimingFields fields = cmn::DecodeTimingBlock(block);
        if (value >= 0 && (fields.start != static_cast<std::uint32_t>(value) ||
                           !std::equal(block.begin(), block.begin() + 4, bytes.data())))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint16_t code = cmn::ReadWord(data);
    const std::span<const std::uint8_t> received(data + 2, size - 2);
    CheckBothSenders(code, received);
    CheckCodecs(received);
    return 0;
}
