// CRC-32 as zip and gzip compute it (reflected polynomial 0xEDB88320, start
// and final value all ones): the build stores one per payload item, and the
// kit checks its items against them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace payload {

// The CRC-32 of size bytes at data; pass the result of one piece as crc to
// continue over the next.
std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);

}  // namespace payload
