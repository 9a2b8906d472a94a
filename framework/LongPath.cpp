#include "framework/LongPath.h"

#include "framework/Ascii.h"

namespace fw {

std::string ExtendedLengthPath(const std::string& fullPath) {
    const std::string& p = fullPath;
    const bool separated = p.size() >= 2 && p[0] == '\\' && p[1] == '\\';
    if (separated && p.size() >= 4 && (p[2] == '?' || p[2] == '.') && p[3] == '\\') return p;
    if (separated) return "\\\\?\\UNC\\" + p.substr(2);
    const bool lettered = p.size() >= 3 && p[1] == ':' && p[2] == '\\' && IsAsciiLetter(p[0]);
    return lettered ? "\\\\?\\" + p : p;
}

}  // namespace fw
