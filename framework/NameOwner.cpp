#include "framework/NameOwner.h"

namespace fw {

NameHolder HolderOfName(const std::string& ownerSid) {
    static const char kAdministrators[] = "S-1-5-32-544";
    static const char kSystem[] = "S-1-5-18";
    return ownerSid == kAdministrators || ownerSid == kSystem ? NameHolder::AnotherInstance : NameHolder::SomeoneElse;
}

}  // namespace fw
