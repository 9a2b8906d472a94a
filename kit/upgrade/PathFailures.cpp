#include "kit/upgrade/PathFailures.h"

#include "kit/KitTexts.h"

namespace kit {

fw::Error CannotCreate(const std::string& path, const fw::Result& result) {
    return fw::Error(fw::FormatMessageText(text::kCannotCreateFile, {path, result.text}), result.code);
}

fw::Error FolderUnusable(const std::string& folder, const fw::Result& result) {
    return fw::Error(fw::FormatMessageText(text::kFolderUnusable, {folder, result.text}), result.code);
}

void RaiseCannotCreate(const std::string& path, const fw::Result& result) { throw CannotCreate(path, result); }

void RaiseFolderUnusable(const std::string& folder, const fw::Result& result) { throw FolderUnusable(folder, result); }

void RaiseText(const char* pattern, std::initializer_list<std::string> args) {
    throw fw::Error(fw::FormatMessageText(pattern, args));
}

}  // namespace kit
