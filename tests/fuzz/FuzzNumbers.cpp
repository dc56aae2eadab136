// Arbitrary texts through the number readers and the code-page converters:
// nothing may crash, and a real written, read and written again must give
// the same text (15 digits at most, so not every double reads back exactly).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CommonUtils/CodePage.h"
#include "CommonUtils/Numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto v = cmn::ParseReal(text)) {
        const double d = static_cast<double>(*v);
        const std::string once = cmn::FormatReal(d);
        const auto back = cmn::ParseReal(once);
        if (std::isfinite(d) && (!back || cmn::FormatReal(static_cast<double>(*back)) != once)) std::abort();
    }
    cmn::ParseInt(text);
    const std::string bytes = cmn::Utf8ToCp1251(text);
    if (cmn::Utf8ToCp1251(cmn::Cp1251ToUtf8(bytes)) != bytes) std::abort();
    cmn::Utf8ToCp866(cmn::Cp866ToUtf8(text));
    return 0;
}
