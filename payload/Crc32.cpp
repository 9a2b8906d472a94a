#include "payload/Crc32.h"

namespace payload {

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
    // The CRC of each byte value, made here (2,048 steps, against eight per
    // byte of data without it) rather than stored: the kit stays 1 KiB smaller.
    std::uint32_t table[256];
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t entry = i;
        for (int bit = 0; bit < 8; ++bit) entry = (entry >> 1) ^ (0xEDB88320u & (0u - (entry & 1u)));
        table[i] = entry;
    }
    const unsigned char* byte = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = (crc >> 8) ^ table[(crc ^ byte[i]) & 0xFFu];
    return ~crc;
}

}  // namespace payload
