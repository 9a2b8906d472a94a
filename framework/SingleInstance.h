// One program of a kind on the whole machine at a time, through a named
// mutex in the global namespace, so runs in other sessions (an administrator's
// script, a remote desktop) count too.
//
// The mutex is created owned by Administrators and open to Administrators
// and SYSTEM alone. Any user can create an object of the same name first;
// only one owned by Administrators or SYSTEM counts as another program of
// the kind (see NameOwner.h). No private namespace: Wine implements no
// boundary descriptors, and the owner tells the same apart.
#pragma once

#include <memory>
#include <string>

#include "framework/Error.h"
#include "framework/Handles.h"
#include "framework/NameOwner.h"

namespace fw {

class SingleInstance {
public:
    enum class Holder {
        ThisProgram,      // the name is this program's until it ends
        AnotherInstance,  // another program of the kind holds it
        SomeoneElse,      // another program took the name: this one goes on without the lock
        Failed,           // the mutex can't be created; failure() tells why
    };

    // Creates or opens the mutex Global\<name>.
    explicit SingleInstance(const std::string& name);
    Holder holder() const { return holder_; }
    // "Global\<name>", as the log names it.
    const std::string& fullName() const { return fullName_; }
    // Why the mutex can't be created (other than its name existing), with
    // the system's code; null unless holder() is Failed.
    const Error* failure() const { return failure_.get(); }

private:
    void Fail(const Error& failure);

    std::string fullName_;
    unique_handle mutex_;
    Holder holder_ = Holder::ThisProgram;
    std::unique_ptr<Error> failure_;
};

}  // namespace fw
