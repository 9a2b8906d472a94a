// The kit's one failure type: a raised error that carries the message the
// user is shown. Handlers either catch it themselves or let it reach the
// application's top-level error report.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace fw {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Replaces each "%s" of a message template with the next argument, in order.
std::string FormatMessageText(const std::string& pattern, std::initializer_list<std::string> args);

}  // namespace fw
