#include "kit/unattended/LogFile.h"

#include <windows.h>

#include <utility>

#include "kit/KitTexts.h"

namespace kit {

namespace {

// A log the kit creates: full control for Administrators and SYSTEM, nothing
// for anyone else, nothing inherited from its folder; its owner is the one the
// system gives what an administrator creates.
const char kLogSecurity[] = "D:P(A;;FA;;;BA)(A;;FA;;;SY)";

// The kit's reason for a log refused (code 0), or the failure as it came.
fw::Result ReasonOf(const fw::Result& failure, const fw::NotPlainFile& refused) {
    // By NotPlainFile::Kind: None, Link, Folder, Device, SeveralNames, Elsewhere.
    static const char* const kReasons[] = {nullptr,
                                           text::kLogIsLink,
                                           text::kLogIsFolder,
                                           text::kLogIsDevice,
                                           text::kLogHasSeveralNames,
                                           text::kLogElsewhere};
    static_assert(static_cast<int>(fw::NotPlainFile::Kind::Elsewhere) == 5, "a reason for each kind, in its order");
    const char* reason = kReasons[static_cast<int>(refused.kind)];
    // Beyond the final path Wine gives, a place elsewhere is unknown: told
    // in the system's own words.
    if (!reason || (refused.kind == fw::NotPlainFile::Kind::Elsewhere && refused.place.empty())) return failure;
    return fw::Result::Failure(0, fw::FormatMessageText(reason, {refused.place}));
}

}  // namespace

fw::Result LogFile::Open(fw::FileSystem& files, const std::string& path) {
    std::unique_ptr<fw::HeldFile> file;
    bool created = false;
    fw::NotPlainFile refused;
    const fw::Result opened = files.OpenForAppend(path, kLogSecurity, file, created, refused);
    if (!opened) return ReasonOf(opened, refused);
    file_ = std::move(file);
    path_ = path;
    if (!created) return fw::Result::Success();
    // A file the kit creates starts with the UTF-8 byte-order mark, so that
    // editors read its folder names right.
    static const char kByteOrderMark[] = "\xEF\xBB\xBF";
    const fw::Result marked = WriteFlushed(kByteOrderMark, 3);
    if (!marked) file_.reset();
    return marked;
}

fw::Result LogFile::WriteFlushed(const char* data, std::size_t size) {
    const fw::Result written = file_->Write(data, size);
    return written ? file_->Flush() : written;
}

void LogFile::Append(const std::string& text) {
    if (!file_) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line =
        TimestampedLine({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, text) + "\r\n";
    const fw::Result written = WriteFlushed(line.data(), line.size());
    if (!written) throw fw::Error(LogWriteFailedText(path_, written.text), written.code);
}

}  // namespace kit
