#include "kit/upgrade/PayloadCheck.h"

#include <cstdint>
#include <string>

#include "payload/Catalogue.h"
#include "payload/Crc32.h"

namespace kit {

bool StoredChecksum(fw::PayloadStore& payload, std::size_t position, std::uint32_t& crc) {
    fw::Blob checksums;
    if (!payload.Find(payload::kChecksumsType, payload::kItemName, checksums) || checksums.size < 4 * (position + 1))
        return false;
    const unsigned char* stored = static_cast<const unsigned char*>(checksums.data) + 4 * position;
    crc = stored[0] | (stored[1] << 8) | (stored[2] << 16) | (std::uint32_t{stored[3]} << 24);
    return true;
}

const char* FindDamagedItem(fw::PayloadStore& payload) {
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        const payload::PayloadItem& item = payload::Catalogue()[i];
        fw::Blob bytes;
        std::uint32_t crc = 0;
        if (!StoredChecksum(payload, i, crc) || !payload.Find(item.code, payload::kItemName, bytes) ||
            payload::Crc32(bytes.data, bytes.size) != crc)
            return item.fileName;
    }
    return nullptr;
}

}  // namespace kit
