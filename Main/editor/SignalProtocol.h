#pragma once

#include <string>
#include <vector>

#include "CommonUtils/ProtocolLog.h"

namespace edit {

// The protocol page of a signal window: the numbered lines the actions log
// and the count of their errors.
class TSignalProtocol {
public:
    // Appends "<k>. <text>", k counting from 1; an error line also counts as an error.
    const std::string& Add(cmn::LogType type, const std::string& text);
    void Clear();
    const std::vector<std::string>& Lines() const { return lines_; }
    int ErrorCount() const { return errors_; }

    // The three counters: all lines, lines without errors, errors.
    std::string TotalText() const;
    std::string SuccessfulText() const;
    std::string ErrorsText() const;

    // Nothing is written for an empty protocol: the result is then empty.
    // Otherwise the name used (".txt" forced); raises cmn::TalvoError on a write failure.
    std::string Save(const std::string& fileName) const;

private:
    std::vector<std::string> lines_;
    int errors_ = 0;
};

}  // namespace edit
