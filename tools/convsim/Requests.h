#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace convsim {

// The length of the RTU request that `bytes` starts, by its function code;
// 0 while too few bytes are there to tell or the function is not known.
std::size_t RequestLength(const std::vector<std::uint8_t>& bytes);

}  // namespace convsim
