#include <cstdio>

#include "TalvoVersion.h"

int main() {
    std::printf("KalibratorTalvo %s\n", TALVO_VERSION);
    return 0;
}
