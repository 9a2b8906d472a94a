#include "payload/Crc32.h"

namespace payload {

namespace {
std::uint32_t Word(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
}
}  // namespace

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
    // Eight bytes a step ("slicing by 8"): table[k][b] is the CRC of byte b
    // followed by k zero bytes. Made here (about 4,000 steps) rather than
    // stored, so the kit stays 8 KiB smaller.
    std::uint32_t table[8][256];
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t entry = i;
        for (int bit = 0; bit < 8; ++bit) entry = (entry >> 1) ^ (0xEDB88320u & (0u - (entry & 1u)));
        table[0][i] = entry;
    }
    for (int k = 1; k < 8; ++k)
        for (int i = 0; i < 256; ++i) table[k][i] = (table[k - 1][i] >> 8) ^ table[0][table[k - 1][i] & 0xFFu];

    const unsigned char* byte = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (; size >= 8; size -= 8, byte += 8) {
        const std::uint32_t low = crc ^ Word(byte), high = Word(byte + 4);
        crc = table[7][low & 0xFFu] ^ table[6][(low >> 8) & 0xFFu] ^ table[5][(low >> 16) & 0xFFu] ^
              table[4][low >> 24] ^ table[3][high & 0xFFu] ^ table[2][(high >> 8) & 0xFFu] ^
              table[1][(high >> 16) & 0xFFu] ^ table[0][high >> 24];
    }
    for (; size > 0; --size, ++byte) crc = (crc >> 8) ^ table[0][(crc ^ *byte) & 0xFFu];
    return ~crc;
}

}  // namespace payload
