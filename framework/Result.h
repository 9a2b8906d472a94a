// What a call of an adapter (files, registry, payload, log) came to:
// success, or a failure carrying the system's error code and its text, so
// the reason survives whatever clean-up the caller does next.
#pragma once

#include <string>
#include <utility>

#include "framework/SystemCodes.h"

namespace fw {

struct Result {
    bool ok = true;
    unsigned long code = 0;  // the system's error code; 0 where there is none
    std::string text;        // the system's text of the failure

    explicit operator bool() const { return ok; }
    // A sharing violation or a denied access: something may hold the file for a moment.
    bool Held() const { return !ok && (code == kSharingViolation || code == kAccessDenied); }

    static Result Success() { return {}; }
    static Result Failure(unsigned long systemCode, std::string systemText) {
        return {false, systemCode, std::move(systemText)};
    }
};

}  // namespace fw
