// Read-only blobs looked up by type and name: the kit's own resources.
#pragma once

#include <cstddef>
#include <string>

#include "framework/Result.h"

namespace fw {

struct Blob {
    const void* data = nullptr;
    std::size_t size = 0;
};

class PayloadStore {
public:
    virtual ~PayloadStore() = default;
    // Finds the blob of the given type and name, matched without regard to
    // letter case; a failure carries the system's code (such as 1814,
    // ERROR_RESOURCE_NAME_NOT_FOUND, when there is none). The bytes stay
    // valid while the store lives.
    virtual Result Find(const std::string& type, const std::string& name, Blob& blob) = 0;
};

}  // namespace fw
