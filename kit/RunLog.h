// The log of a run started with /LOG=<path>: one line an event, each led by
// the local date and time.
#pragma once

#include <string>

namespace kit {

class RunLog {
public:
    virtual ~RunLog() = default;
    virtual void Write(const std::string& text) = 0;
};

struct LocalTime {
    int year, month, day, hour, minute, second;
};

// "08.12.2026 14:05:09  text": the kit's date format, then the time.
std::string TimestampedLine(const LocalTime& time, const std::string& text);

// The report of a log file that can't be opened.
std::string LogUnavailableText(const std::string& path, const std::string& systemText);

// The log line of a dialog or an error report: its title, then its text.
std::string DialogLine(const std::string& title, const std::string& text);

}  // namespace kit
