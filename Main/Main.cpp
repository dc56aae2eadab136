#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CommonUtils/KnownFolders.h"
#include "TalvoVersion.h"
#include "console/ConsoleLog.h"
#include "console/ConsoleRun.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    const console::TConsolManager manager(args);
    if (!manager.ConsoleMode()) {
        std::printf("KalibratorTalvo %s\n", TALVO_VERSION);
        return 0;
    }
    console::TConsoleLog log(stdout, console::LocaleOutputEncoding());
    return console::RunConsole(manager.Options(), std::cin, log, cmn::ProgramFolder());
}
