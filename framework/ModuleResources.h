// The resources of the program's own executable behind PayloadStore.
#pragma once

#include "framework/PayloadStore.h"

namespace fw {

class ModuleResources : public PayloadStore {
public:
    // Resource names and types match without regard to letter case.
    Result Find(const std::string& type, const std::string& name, Blob& blob) override;
};

}  // namespace fw
