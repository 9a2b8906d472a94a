#include "kit/PayloadCheck.h"

#include <cstdint>
#include <string>

#include "payload/Catalogue.h"
#include "payload/Crc32.h"

namespace kit {

const char* FindDamagedItem(fw::PayloadStore& payload) {
    std::string type = payload::kChecksumsType;
    const std::string name = payload::kItemName;
    fw::Blob checksums;
    if (!payload.Find(type, name, checksums)) checksums.size = 0;
    const unsigned char* stored = static_cast<const unsigned char*>(checksums.data);
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i, stored += 4) {
        const payload::PayloadItem& item = payload::Catalogue()[i];
        fw::Blob bytes;
        type = item.code;
        if (checksums.size < 4 * (i + 1) || !payload.Find(type, name, bytes) ||
            payload::Crc32(bytes.data, bytes.size) !=
                (stored[0] | (stored[1] << 8) | (stored[2] << 16) | (std::uint32_t{stored[3]} << 24)))
            return item.fileName;
    }
    return nullptr;
}

}  // namespace kit
