#include "framework/ErrorReport.h"

#include <cctype>

namespace fw {

std::string ApplicationTitleFromPath(const std::string& exePath) {
    std::string name = exePath.substr(exePath.find_last_of("\\/:") + 1);
    name = name.substr(0, name.find('.'));
    for (std::size_t i = 1; i < name.size(); ++i)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

std::string ErrorReportText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

}  // namespace fw
