#pragma once

#include <string>
#include <string_view>

namespace files {

// Replaces the file `path` with `content` so that, whatever happens on the
// way (a crash, a full disk, a killed process), the file holds either its old
// or its new content, never a mixture: the content goes to a temporary file
// in the same folder, is flushed to disk and renamed over the target.
// A read-only target, an unwritable folder or a failed write raises
// cmn::TalvoError "Ошибка записи файла <path>" with the reason; the old file
// then stays as it was.
void WriteFileAtomic(const std::string& path, std::string_view content);

}  // namespace files
