#pragma once

#include <string>

namespace talvo_test {

// The whole content of a file, byte for byte; empty when it does not open.
std::string ReadBytes(const std::string& path);

// Replaces the file's content with `bytes`.
void WriteBytes(const std::string& path, const std::string& bytes);

#ifdef TALVO_FIXTURES_DIR
// A file of the test area's own fixtures folder, byte for byte.
inline std::string Fixture(const std::string& name) { return ReadBytes(std::string(TALVO_FIXTURES_DIR) + "/" + name); }
#endif

}  // namespace talvo_test
