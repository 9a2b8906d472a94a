#include "kit/CommandLine.h"

#include <cctype>

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
        } else if (word == "/?") {
            command.usage = true;
        } else if (word == "/LOG" || word.compare(0, 5, "/LOG=") == 0) {
            command.logPath = word.size() > 5 ? argument.substr(5) : std::string();
            if (command.logPath.empty()) command.problem = "Lipseste calea fisierului jurnal: " + argument;
        }
    }
    return command;
}

std::string UsageText() {
    return "MeridalUpgrade.exe [/S] [/LOG=<fisier>]\n"
           "\n"
           "/S\tactualizare fara fereastra si fara dialoguri\n"
           "/LOG=<fisier>\tadauga in fisier tot ce se intampla\n"
           "/?\tacest mesaj\n"
           "\n"
           "Coduri de iesire:\n"
           "0\tactualizat sau deja la ultima versiune\n"
           "1\tprogramul nu este instalat, nimic scris\n"
           "2\tprogramul ruleaza, nimic scris\n"
           "3\teroare dupa primul fisier, versiunea nu a fost inregistrata\n"
           "4\tlinie de comanda gresita\n"
           "5\tfisierul jurnal nu poate fi deschis, nimic scris";
}

}  // namespace kit
