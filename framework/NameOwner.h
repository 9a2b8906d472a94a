// Who holds a machine-wide name that already exists, told by the owner of
// the object behind it. Programs of the kind create their object owned by
// Administrators, which only an administrator or the system can set; any
// user can take a name for an object of its own, but not that owner.
#pragma once

#include <string>

namespace fw {

enum class NameHolder {
    AnotherInstance,  // owned by Administrators or SYSTEM: a program of the kind holds the name
    SomeoneElse,      // any other owner, none, or an owner that can't be read: the name was taken
};

// ownerSid is the owner in its string form ("S-1-5-32-544"); empty when the
// object has no owner or its owner can't be read.
NameHolder HolderOfName(const std::string& ownerSid);

}  // namespace fw
