// The little-endian 32-bit values of the driver's blocks and records, read
// back in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentra::testing {

inline std::uint32_t Le32(const void* at) {
  const auto* p = static_cast<const std::uint8_t*>(at);
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return Le32(bytes.data() + at);
}
inline std::int32_t LeInt32(const void* at) { return static_cast<std::int32_t>(Le32(at)); }

}  // namespace zentra::testing
