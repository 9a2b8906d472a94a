#include "kit/PathFailures.h"

#include "kit/KitTexts.h"

namespace kit {

fw::Error CannotCreate(const std::string& path, const fw::Result& result) {
    return fw::Error(fw::FormatMessageText(text::kCannotCreateFile, {path, result.text}), result.code);
}

fw::Error FolderUnusable(const std::string& folder, const fw::Result& result) {
    return fw::Error(fw::FormatMessageText(text::kFolderUnusable, {folder, result.text}), result.code);
}

}  // namespace kit
