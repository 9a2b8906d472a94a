#include "kit/unattended/CommandLine.h"

#include <cctype>

#include "framework/Error.h"
#include "kit/KitTexts.h"

namespace kit {

namespace {
std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    for (const std::string& argument : arguments) {
        const std::string word = Upper(argument);
        if (word == "/S") {
            command.silent = true;
        } else if (word == "/UNDO") {
            command.undo = true;
        } else if (word == "/?") {
            command.usage = true;
        } else if (word == "/LOG" || word.compare(0, 5, "/LOG=") == 0) {
            command.logPath = word.size() > 5 ? argument.substr(5) : std::string();
            if (command.logPath.empty()) command.problem = fw::FormatMessageText(text::kLogPathMissing, {argument});
        }
    }
    return command;
}

}  // namespace kit
