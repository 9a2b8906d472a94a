#include "framework/ErrorReport.h"

#include "framework/Ascii.h"

namespace fw {

std::string ApplicationTitleFromPath(const std::string& exePath) {
    std::string name = exePath.substr(exePath.find_last_of("\\/:") + 1);
    name = name.substr(0, name.find('.'));
    for (std::size_t i = 1; i < name.size(); ++i) name[i] = AsciiLower(name[i]);
    return name;
}

std::string ErrorReportText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

}  // namespace fw
