#include "ForeignHolder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "CommonUtils/SerialLine.h"

namespace talvo_test {

ForeignHolder::ForeignHolder(const std::string& devicePath) {
    int ready[2], release[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    if (::pipe2(release, O_CLOEXEC) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        throw std::runtime_error("pipe");
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        cmn::SerialLine line;
        const char ok = line.Open(devicePath) == cmn::LineOpenStatus::Opened ? '1' : '0';
        (void)!::write(ready[1], &ok, 1);
        char c;
        (void)!::read(release[0], &c, 1);
        line.Close();
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char ok = '0';
    holding_ = ::read(ready[0], &ok, 1) == 1 && ok == '1';
    ::close(ready[0]);
}

ForeignHolder::~ForeignHolder() {
    ::close(release_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
}

}  // namespace talvo_test
