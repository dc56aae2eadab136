#pragma once

#include <string>
#include <vector>

#include "schedule/SignalRow.h"

// The signal list file (.sfl): the rows of a schedule with a copy of every
// signal file inside, so that a list moves to another computer as one file.
namespace sched {

struct TSignalList {
    std::string Description;
    std::vector<TSignalDataForGrid> Rows;
};

// Writes the list into the file, updating it in place and replacing it
// atomically. A signal file of a row that cannot be read, or a file that
// cannot be written, raises cmn::TalvoError "Ошибка сохранения списка сигналов!";
// the old list file then stays as it was.
void WriteSignalList(const std::string& fileName, const TSignalList& list);

// Replaces the rows of `list` by those of the file. The signal files go into
// the folder named like the list file without its extension, beside it
// (created when missing); a file already there is kept as it is, and its row
// points at it. A missing or unreadable list file, a row that cannot be
// taken or a signal file that cannot be written raises cmn::TalvoError
// "Ошибка загрузки списка сигналов!"; the rows read before it stay in `list`
// with their files in place (a row whose file could not be placed goes too).
// The files go into place together, flushed to disk once for the whole list.
void ReadSignalList(const std::string& fileName, TSignalList& list);

// The name a list is saved under: the chosen one with the extension ".sfl".
std::string SignalListFileName(const std::string& chosen);

// The folder ReadSignalList puts the signal files of `fileName` into.
std::string SignalFolderOfList(const std::string& fileName);

}  // namespace sched
