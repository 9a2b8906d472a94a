// The log of a run started with /LOG=<path>: one line an event, each led by
// the local date and time.
#pragma once

#include <memory>
#include <string>

#include "framework/Error.h"

namespace kit {

class RunLog {
public:
    virtual ~RunLog() = default;
    // Appends one line. The first line that can't be written ends the log:
    // it and every later line are dropped, since a log with a gap would tell
    // a wrong story; Failure keeps why, and OnFailure is told once.
    void Write(const std::string& text);
    // The failure that ended the log, or null while every line was written.
    const fw::Error* Failure() const { return failure_.get(); }
    void (*OnFailure)(const fw::Error& failure) = nullptr;

protected:
    // Writes the line through to its medium; fails with fw::Error (the
    // report and the system's code).
    virtual void Append(const std::string& text) = 0;

private:
    std::unique_ptr<fw::Error> failure_;
};

struct LocalTime {
    int year, month, day, hour, minute, second;
};

// "08.12.2026 14:05:09  text": the kit's date format, then the time.
std::string TimestampedLine(const LocalTime& time, const std::string& text);

// The report of a log file that can't be opened.
std::string LogUnavailableText(const std::string& path, const std::string& systemText);
// The report of a log file that failed to take a line.
std::string LogWriteFailedText(const std::string& path, const std::string& systemText);

// The log line of a dialog or an error report: its title, then its text.
std::string DialogLine(const std::string& title, const std::string& text);

}  // namespace kit
