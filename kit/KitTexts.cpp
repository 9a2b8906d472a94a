#include "kit/KitTexts.h"

#include "kit/KitConstants.h"

namespace kit::text {

std::string WindowCaption() { return std::string(ProductName) + " - UpGrade v." + KitVersionText(); }
std::string UpgradeCaption() { return "Actualizare la versiunea " + KitVersionText(); }

std::string NotInstalledLine() { return std::string("Programul ") + ProductName + " NU este instalat aici!"; }
std::string FolderLine(const std::string& folder) { return std::string("Cale ") + ProductName + " : " + folder; }
std::string VersionLine(const std::string& version) { return "Versiune instalata     : " + version; }

std::string CloseFirstText() { return std::string("Inchideti mai intai ") + ProductName + "!"; }
std::string UpgradedText() {
    return std::string(ProductName) + " a fost actualizata la versiunea " + KitVersionText() + ".";
}
std::string RecordedVersion() { return std::string(ProductName) + " v." + KitVersionText(); }

std::string PayloadDamagedText(const std::string& fileName) {
    return "Pachetul de actualizare este deteriorat: " + fileName + ". Descarcati-l din nou.";
}

std::string UsageText() {
    return "MeridalUpgrade.exe [/UNDO] [/S] [/LOG=<fisier>]\n"
           "\n"
           "/UNDO\tpune la loc versiunea anterioara, pastrata de ultima actualizare\n"
           "/S\tfara fereastra si fara dialoguri\n"
           "/LOG=<fisier>\tadauga in fisier tot ce se intampla\n"
           "/?\tacest mesaj\n"
           "\n"
           "Coduri de iesire:\n"
           "0\tactualizat, deja la ultima versiune sau versiunea anterioara pusa la loc\n"
           "1\tprogramul nu este instalat, nimic scris\n"
           "2\tprogramul ruleaza, nimic scris\n"
           "3\teroare (mesajul ei in jurnal), versiunea nu a fost inregistrata\n"
           "4\tlinie de comanda gresita\n"
           "5\tfisierul jurnal nu poate fi deschis (nimic scris) sau scris\n"
           "6\talt kit de actualizare ruleaza, nimic scris\n"
           "7\tpachet deteriorat, nimic scris\n"
           "8\t/UNDO: nicio versiune anterioara pastrata pentru versiunea inregistrata, nimic schimbat";
}

std::string UndoQuestion(const std::string& before, const std::string& after) {
    return "Puneti la loc versiunea anterioara \"" + before + "\" in locul versiunii \"" + after +
           "\"?\n\nFisierele scrise de actualizare vor fi inlocuite cu cele pastrate.";
}

std::string UndoneText(const std::string& before) {
    return std::string(ProductName) + " a fost readusa la versiunea \"" + before + "\".";
}

std::string FinalFolderLine(const std::string& folder) { return "Dosarul programului, cale finala: " + folder; }

std::string ProtectionsLine(bool dllSearchRestricted, bool redirectionGuard) {
    return std::string("Protectii: cautarea DLL doar in System32 ") + (dllSearchRestricted ? "activa" : "inactiva") +
           "; Redirection Guard " + (redirectionGuard ? "activ" : "inactiv");
}

}  // namespace kit::text
