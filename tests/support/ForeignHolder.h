#pragma once

#include <sys/types.h>

#include <string>

namespace talvo_test {

// Holds a port open in another process until the object goes, the way
// another program using the port would.
class ForeignHolder {
public:
    explicit ForeignHolder(const std::string& devicePath);
    ~ForeignHolder();
    ForeignHolder(const ForeignHolder&) = delete;
    ForeignHolder& operator=(const ForeignHolder&) = delete;
    bool Holding() const { return holding_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool holding_ = false;
};

}  // namespace talvo_test
