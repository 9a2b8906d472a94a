// The Win32 registry behind the RegistryStore interface.
#pragma once

#include "framework/RegistryStore.h"

namespace fw {

class Win32Registry : public RegistryStore {
public:
    std::unique_ptr<RegistryKey> CreateKey(RegistryHive hive, const std::string& path) override;
};

}  // namespace fw
