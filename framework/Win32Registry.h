// The Win32 registry behind the RegistryStore interface.
#pragma once

#include "framework/RegistryStore.h"

namespace fw {

class Win32Registry : public RegistryStore {
public:
    Result CreateKey(RegistryHive hive, const std::string& path, std::unique_ptr<RegistryKey>& key) override;
};

}  // namespace fw
