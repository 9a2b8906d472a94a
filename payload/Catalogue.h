// The ten items the kit carries and where the upgrade writes them.
#pragma once

#include <cstddef>

namespace payload {

enum class WriteRule { Always, OnlyIfMissing };

struct PayloadItem {
    const char* code;        // resource type of the item
    const char* targetPath;  // appended to the installation folder; starts with "\"
    WriteRule rule;
    const char* fileName;  // the item's file in the payload folder
    bool program;          // the application's executable, in use while it runs
};

// Resource name shared by all items, as the kit asks for it; resource names
// match without regard to case, and the resource script stores "UPGRADE".
constexpr const char* kItemName = "UpGrade";

// Resource type of the items' checksums, stored by the build under the same
// name: the CRC-32 of each item (see payload/Crc32.h), in catalogue order,
// four bytes each, little-endian.
constexpr const char* kChecksumsType = "CRC32";

// The items in the order the upgrade writes them.
const PayloadItem* Catalogue();
std::size_t CatalogueSize();

}  // namespace payload
