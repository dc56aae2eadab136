#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace files {

// Replaces the file `path` with `content` so that, whatever happens on the
// way (a crash, a full disk, a killed process), the file holds either its old
// or its new content, never a mixture: the content goes to a temporary file
// in the same folder, is flushed to disk and renamed over the target.
// A read-only target, an unwritable folder or a failed write raises
// cmn::TalvoError "Ошибка записи файла <path>" with the reason; the old file
// then stays as it was.
void WriteFileAtomic(const std::string& path, std::string_view content);

// Removes from `folder` the temporaries that atomic writes left behind when
// their process was killed mid-write: files "NAME.tmp<PID>-<n>" whose process
// no longer exists. Those of a running process (this one, or another
// instance writing into the same folder) stay. A folder that cannot be read
// or a temporary that cannot be removed is passed over, so that the clean-up
// never stands in the way of a write. Returns how many were removed.
// WriteFileAtomic and TAtomicBatch clean each folder before they write into it.
int RemoveStaleTemporaries(const std::string& folder);

// Many files written atomically as one step, for the price of one flush: each
// goes to its temporary as it is added; Commit() flushes them all with one
// sync of their file system, then renames each over its target and syncs
// each folder once. Until Commit() no target changes, and a batch that ends
// without it removes its temporaries. Failures raise what WriteFileAtomic
// raises.
class TAtomicBatch {
public:
    TAtomicBatch() = default;
    ~TAtomicBatch();
    TAtomicBatch(const TAtomicBatch&) = delete;
    TAtomicBatch& operator=(const TAtomicBatch&) = delete;

    void Add(const std::string& path, std::string_view content);
    // Whether a file for `path` waits in the batch.
    bool Holds(const std::string& path) const;
    void Commit();

private:
    struct TPending {
        std::string Path;       // as the caller named it, for messages
        std::string Target;     // with a link resolved
        std::string Temporary;  // beside the target
    };
    void Discard();

    std::vector<TPending> pending_;
    std::vector<std::string> cleaned_;  // folders already rid of stale temporaries
};

}  // namespace files
