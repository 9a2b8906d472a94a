// The kit's one failure type: a raised error that carries the message the
// user is shown. Handlers either catch it themselves or let it reach the
// application's top-level error report.
#pragma once

#include <exception>
#include <initializer_list>
#include <string>

namespace fw {

class Error : public std::exception {
public:
    explicit Error(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Replaces each "%s" of a message template with the next argument, in order.
std::string FormatMessageText(const std::string& pattern, std::initializer_list<std::string> args);

}  // namespace fw
