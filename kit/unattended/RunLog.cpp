#include "kit/unattended/RunLog.h"

#include "framework/Error.h"
#include "kit/KitTexts.h"

namespace kit {

namespace {
// Zero-padded decimal digits; no printf, which would double the kit's code.
std::string Digits(int value, int width) {
    std::string text(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0 && value > 0; --i, value /= 10)
        text[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    return text;
}
}  // namespace

void RunLog::Write(const std::string& text) {
    if (failure_) return;
    try {
        Append(text);
    } catch (const fw::Error& failure) {
        failure_ = std::make_unique<fw::Error>(failure);
    } catch (const std::exception& failure) {  // such as memory running out: the log ends all the same
        failure_ = std::make_unique<fw::Error>(failure.what());
    }
    if (failure_ && OnFailure) OnFailure(*failure_);
}

std::string TimestampedLine(const LocalTime& time, const std::string& text) {
    return Digits(time.day, 2) + "." + Digits(time.month, 2) + "." + Digits(time.year, 4) + " " + Digits(time.hour, 2) +
           ":" + Digits(time.minute, 2) + ":" + Digits(time.second, 2) + "  " + text;
}

std::string LogUnavailableText(const std::string& path, const std::string& systemText) {
    return fw::FormatMessageText(text::kLogUnavailable, {path, systemText});
}

std::string LogWriteFailedText(const std::string& path, const std::string& systemText) {
    return fw::FormatMessageText(text::kLogWriteFailed, {path, systemText});
}

std::string DialogLine(const std::string& title, const std::string& text) {
    std::string line = title + ": " + text;
    // A message box's text may span lines; the log keeps one line an event.
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

}  // namespace kit
