// The kit's check of its own payload: a download cut short or a bad disk
// can change the kit's bytes, and the kit must not install damaged files.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/PayloadStore.h"

namespace kit {

// The CRC-32 the build stored for the item at position; false when there is none.
bool StoredChecksum(fw::PayloadStore& payload, std::size_t position, std::uint32_t& crc);

// Checks every item, in catalogue order, against the CRC-32 the build
// stored for it. Gives the file name of the first item that is missing, has
// no stored checksum or doesn't match it; null when all ten match.
const char* FindDamagedItem(fw::PayloadStore& payload);

}  // namespace kit
