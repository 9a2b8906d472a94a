#include "kit/AtomicFileWriter.h"

#include "framework/Error.h"

namespace kit {

namespace {
fw::Error CannotCreate(const std::string& target, const std::string& systemText) {
    return fw::Error(fw::FormatMessageText("Cannot create file \"%s\". %s", {target, systemText}));
}
}  // namespace

void WriteFileAtomically(fw::FileSystem& files, const std::string& target, const void* data, std::size_t size) {
    std::string tempPath;
    auto out = files.CreateTempBeside(target, tempPath);
    if (!out) throw CannotCreate(target, files.LastErrorText());

    bool written = out->Write(data, size) && out->Flush();
    out.reset();  // closed before it is moved
    if (!written) {
        files.Remove(tempPath);
        throw fw::Error("Stream write error");
    }
    if (!files.Replace(tempPath, target)) {
        std::string reason = files.LastErrorText();
        files.Remove(tempPath);
        throw CannotCreate(target, reason);
    }
}

}  // namespace kit
