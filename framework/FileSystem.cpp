#include "framework/FileSystem.h"

namespace fw {

Result IsPresent(FileSystem& files, const std::string& path, bool& present) {
    PathKind kind = PathKind::Missing;
    const Result examined = files.Examine(path, kind);
    present = kind != PathKind::Missing;
    return examined;
}

}  // namespace fw
