// The kit's one failure type: a raised error that carries the message the
// user is shown and, where the failure comes from the system, the system's
// error code, so decisions read the code, never the text. Handlers either
// catch it themselves or let it reach the application's top-level error
// report.
#pragma once

#include <exception>
#include <initializer_list>
#include <string>
#include <utility>

#include "framework/Result.h"

namespace fw {

class Error : public std::exception {
public:
    explicit Error(std::string message, unsigned long systemCode = 0)
        : code(systemCode), message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    unsigned long code;  // the system's error code; 0 where there is none

private:
    std::string message_;
};

// Replaces each "%s" of a message template with the next argument, in order.
std::string FormatMessageText(const std::string& pattern, std::initializer_list<std::string> args);

}  // namespace fw
