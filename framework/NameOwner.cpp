#include "framework/NameOwner.h"

#include "framework/SecurityRules.h"

namespace fw {

NameHolder HolderOfName(const std::string& ownerSid) {
    return ownerSid == kAdministratorsSid || ownerSid == kSystemSid ? NameHolder::AnotherInstance
                                                                    : NameHolder::SomeoneElse;
}

}  // namespace fw
