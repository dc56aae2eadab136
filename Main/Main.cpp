#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CommonUtils/KnownFolders.h"
#include "TalvoVersion.h"
#include "console/ConsoleLog.h"
#include "console/ConsoleRun.h"
#include "ui/shell/WindowProgram.h"

namespace {

const char* const kUsage =
    "Использование:\n"
    "  KalibratorTalvo -c SetSignal [-t Sinus|ColOver|Koleb|StopSin|StopColOver] [-p файл.usa | -s]\n"
    "                  [-cn порт] [-k dmTalvo|dmTalvoM]\n"
    "  KalibratorTalvo -c ExportXls -p файл.usa -expt шаблон.xlsx [-expo infile -expf результат.xlsx] [-col столбец]\n"
    "  KalibratorTalvo -c Verify -p файл.usa [-t Sinus|ColOver|Koleb] [-k dmTalvo|dmTalvoM] [-o отчёт.csv|.json]\n"
    "  KalibratorTalvo --help | --version\n"
    "\n"
    "  -t     действие: сигнал, провалы и перенапряжения, колебания, сброс сигнала (по умолчанию),\n"
    "         сброс провалов и перенапряжений\n"
    "  -p     файл сигнала; -s: текст файла сигнала со стандартного ввода\n"
    "  -cn    порт калибратора (по умолчанию COM1); -k модификация калибратора (по умолчанию dmTalvoM)\n"
    "  -expt  шаблон книги Excel; -expo infile: запись в копию шаблона -expf, иначе в сам шаблон\n"
    "  -col   номер столбца (по умолчанию 2)\n"
    "  -o     отчёт проверки Verify: .csv или .json (отчёт PDF сохраняет окно программы)\n"
    "Verify: проверка без калибратора — то, что калибратор воспроизведёт, измеряется и сравнивается\n"
    "        с рассчитанными величинами; код 0, когда все величины в допуске.\n"
    "Код завершения: 0 при успехе, -1 (255) при ошибке.\n";

bool Given(const std::vector<std::string>& args, const char* option) {
    // A program started with no arguments at all, not even its name, has none to look at.
    return args.size() > 1 && std::find(args.begin() + 1, args.end(), option) != args.end();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    if (Given(args, "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (Given(args, "--version")) {
        std::printf("KalibratorTalvo %s\n", TALVO_VERSION);
        return 0;
    }
    const console::TConsolManager manager(args);
    if (!manager.ConsoleMode()) return ui::RunWindowProgram(argc, argv);
    console::TConsoleLog log(stdout, console::LocaleOutputEncoding());
    return console::RunConsole(manager.Options(), std::cin, log, cmn::ProgramFolder());
}
