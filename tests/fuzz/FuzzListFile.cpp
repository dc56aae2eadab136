// Arbitrary bytes as a signal list file: reading never crashes, refuses with
// its own message only, writes nothing outside the list's folder, and a list
// that read is written and read again to the same rows.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CommonUtils/TalvoError.h"
#include "schedule/ListFile.h"

namespace {

namespace fs = std::filesystem;

void Check(bool ok) {
    if (!ok) std::abort();
}

// One folder for the whole run, removed when the fuzzer ends.
struct TRoot {
    TRoot() {
        std::string pattern = (fs::temp_directory_path() / "talvo-fuzz-sfl-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TRoot() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

const fs::path& Root() {
    static const TRoot root;
    return root.path;
}

// The list folder holds only plain files, and nothing else appeared.
void CheckFolders(const fs::path& root) {
    for (const auto& e : fs::directory_iterator(root)) {
        const std::string name = e.path().filename().string();
        Check(name == "in" || name == "back");
    }
    for (const char* folder : {"in/l", "back/l"}) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(root / folder, ec)) Check(e.is_regular_file());
    }
}

bool Read(const std::string& fileName, sched::TSignalList& list) {
    try {
        sched::ReadSignalList(fileName, list);
        return true;
    } catch (const cmn::TalvoError& e) {
        Check(std::string(e.what()) == "Ошибка загрузки списка сигналов!");
        return false;
    }
}

void CheckSameRows(const sched::TSignalList& a, const sched::TSignalList& b) {
    Check(a.Description == b.Description && a.Rows.size() == b.Rows.size());
    for (std::size_t i = 0; i < a.Rows.size(); ++i) {
        const auto &x = a.Rows[i], &y = b.Rows[i];
        Check(x.Type == y.Type && x.State == y.State && x.Duration == y.Duration && x.Index == y.Index);
        Check(x.Description == y.Description && sched::FileNameOnly(x.Path) == sched::FileNameOnly(y.Path));
        Check(sched::DateTimeToText(x.Start) == sched::DateTimeToText(y.Start));
        Check(sched::DateTimeToText(x.End) == sched::DateTimeToText(y.End));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& root = Root();
    fs::remove_all(root / "in");
    fs::remove_all(root / "back");
    fs::create_directories(root / "in");
    fs::create_directories(root / "back");
    std::ofstream(root / "in/l.sfl", std::ios::binary).write(reinterpret_cast<const char*>(data), size);

    sched::TSignalList list;
    const bool read = Read((root / "in/l.sfl").string(), list);
    CheckFolders(root);
    if (!read) return 0;
    for (const auto& row : list.Rows)
        if (sched::HasSignalFile(row.Type)) Check(fs::path(row.Path).parent_path() == root / "in/l");

    sched::WriteSignalList((root / "back/l.sfl").string(), list);
    sched::TSignalList back;
    Check(Read((root / "back/l.sfl").string(), back));
    CheckSameRows(list, back);
    CheckFolders(root);
    return 0;
}
