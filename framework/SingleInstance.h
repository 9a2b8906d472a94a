// One program of a kind on the whole machine at a time, through a named
// mutex in the global namespace, so runs in other sessions (an administrator's
// script, a remote desktop) count too.
#pragma once

#include <string>

#include "framework/Handles.h"

namespace fw {

class SingleInstance {
public:
    // Takes the name; taken() tells whether no other program holds it. A
    // name that exists but can't be opened (made by another user) counts as
    // held.
    explicit SingleInstance(const std::string& name);
    bool taken() const { return taken_; }

private:
    unique_handle mutex_;
    bool taken_ = false;
};

}  // namespace fw
