#include "framework/LongPath.h"

namespace fw {

std::string ExtendedLengthPath(const std::string& fullPath) {
    const std::string& p = fullPath;
    const bool separated = p.size() >= 2 && p[0] == '\\' && p[1] == '\\';
    if (separated && p.size() >= 4 && (p[2] == '?' || p[2] == '.') && p[3] == '\\') return p;
    if (separated) return "\\\\?\\UNC\\" + p.substr(2);
    const bool lettered =
        p.size() >= 3 && p[1] == ':' && p[2] == '\\' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
    return lettered ? "\\\\?\\" + p : p;
}

}  // namespace fw
