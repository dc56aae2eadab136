// Arbitrary bytes as a signal file of any kind: nothing may crash, and a
// file that loads is written back in a form that loads again and, when its
// frequency stays where the grid put it, writes back unchanged.
// The first byte picks the kind and the answers; the rest is the file.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CommonUtils/TalvoError.h"
#include "files/SignalFile.h"
#include "signal/Nominals.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

class TAnsweringLog : public cmn::IProtocolLog {
public:
    TAnsweringLog(bool interactive, bool answer) : interactive_(interactive), answer_(answer) {}
    void Log(cmn::LogType, const std::string& text) override {
        Check(!text.empty());
        last = text;
    }
    bool Interactive() const override { return interactive_; }
    bool Ask(const std::string& text, cmn::MessageKind, cmn::Buttons) override {
        Check(interactive_ && !text.empty());
        return answer_;
    }

    std::string last;

private:
    bool interactive_, answer_;
};

const sig::TKolebParamsHelpTable& Flicker() {
    static const sig::TKolebParamsHelpTable table = [] {
        sig::TKolebParamsHelpTable t;
        t.LoadDefaults(sig::fsGost2012);
        return t;
    }();
    return table;
}

// A signal window starts with the 220 V nominals, which the current file's
// recalculation of the voltage needs.
sig::TSignalSet FreshSignal() {
    sig::TSignalSet s;
    s.Voltage.Nominal = s.Voltage.NominalFaza = 220;
    s.Voltage.NominalLine = 220 * std::sqrt(3.0L);
    return s;
}

bool Load(files::SignalFileKind kind, const std::string& bytes, bool interactive, cmn::IProtocolLog& log,
          sig::TSignalSet& s, files::TSignalFileExtras& extras) {
    return files::LoadSignalFile(kind, files::IniFile::FromBytes(bytes), interactive, {s, extras, log, Flicker()});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto kind = static_cast<files::SignalFileKind>(files::sfAll + data[0] % 4);
    const bool interactive = (data[0] & 0x10) != 0;
    TAnsweringLog log(interactive, (data[0] & 0x20) != 0);
    const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);

    sig::TSignalSet first = FreshSignal();
    files::TSignalFileExtras firstExtras;
    try {
        if (!Load(kind, file, interactive, log, first, firstExtras)) return 0;
    } catch (const cmn::TalvoError&) {
        return 0;  // a calculation refused the values read
    }
    const std::string written = files::SignalFileContent(kind, first, firstExtras);
    sig::TSignalSet second = FreshSignal();
    files::TSignalFileExtras secondExtras;
    TAnsweringLog quiet(false, false);
    // Only a nominal that needs more than 15 digits may come back as one
    // that is refused (220.99999999999997 is written as 221).
    if (!Load(kind, written, false, quiet, second, secondExtras)) {
        Check(quiet.last.find("Номинальн") == 0);
        return 0;
    }
    if (second.Voltage.Freq == first.Voltage.Freq && second.Converter.Freq == first.Converter.Freq)
        Check(files::SignalFileContent(kind, second, secondExtras) == written);
    return 0;
}
