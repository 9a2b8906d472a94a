// Every text of the kit's own that a user or an administrator sees: log
// lines, captions, dialog texts, error formats and the command-line texts,
// named by their role. The framework's own texts (its dialog titles "Error"
// and "Information", its error messages) stay with the framework.
#pragma once

#include <string>

namespace kit::text {

// The window.
std::string WindowCaption();                             // "Meridal - 2013 - UpGrade v.2.39"
constexpr const char* kUpgradeSearching = "Cautare...";  // the upgrade button before the check
std::string UpgradeCaption();                            // "Actualizare la versiunea 2.39"
constexpr const char* kCloseCaption = "Inchide";

// The version check's log lines.
std::string NotInstalledLine();                       // "Programul Meridal - 2013 NU este instalat aici!"
std::string FolderLine(const std::string& folder);    // "Cale Meridal - 2013 : <folder>"
std::string VersionLine(const std::string& version);  // "Versiune instalata     : <version>"
constexpr const char* kLatestLine = "Aveti deja ultima versiune!";

// The upgrade run, and what only the administrator's log file notes of it.
std::string FinalFolderLine(const std::string& folder);  // "Dosarul programului, cale finala: <folder>"
// "Protectii: cautarea DLL doar in System32 activa|inactiva; Redirection Guard activ|inactiv"
std::string ProtectionsLine(bool dllSearchRestricted, bool redirectionGuard);
std::string CloseFirstText();  // "Inchideti mai intai Meridal - 2013!"
constexpr const char* kUpgradedLine = "Versiune actualizata.";
std::string UpgradedText();     // "Meridal - 2013 a fost actualizata la versiunea 2.39."
std::string RecordedVersion();  // "Meridal - 2013 v.2.39"
constexpr const char* kResourceNotFound = "Resource %s not found";
constexpr const char* kCannotCreateFile = "Cannot create file \"%s\". %s";
// Added to a folder's failure when its drive letter doesn't exist for the kit.
constexpr const char* kDriveNotVisible =
    "Unitatea %s nu exista pentru acest program: o unitate de retea mapata pentru utilizator nu se vede dintr-un "
    "program rulat ca administrator. Inregistrati in locul ei calea de retea a dosarului (\\\\server\\...).";
constexpr const char* kRedirectedPath =
    "Actualizarea a fost oprita si nu s-a scris nimic: \"%s\" este o legatura catre alt loc "
    "(link, jonctiune sau punct de montare) in dosarul programului.";
constexpr const char* kUntrustedLink =
    "Actualizarea a fost oprita si nu s-a scris nimic: \"%s\" este o legatura catre \"%s\", facuta de un "
    "utilizator care nu este administrator sau pe care un astfel de utilizator o poate schimba, pe calea "
    "dosarului programului.";
// A folder of the installation that can't be held or forced to the disk.
constexpr const char* kFolderUnusable = "Dosarul \"%s\" nu poate fi folosit. %s";
constexpr const char* kSeveralNames =
    "Actualizarea a fost oprita si nu s-a scris nimic: \"%s\" are mai multe nume (o legatura fixa, poate catre un "
    "fisier din alt loc) in dosarul programului.";

// The transaction's state in the kit's own folder, and what recovery can't do.
constexpr const char* kKitFolderUnusable = "Dosarul de lucru al kitului nu poate fi folosit. %s";
constexpr const char* kJournalUntrusted =
    "Jurnalul actualizarii \"%s\" poate fi schimbat si de altcineva decat administratorii; nu a fost folosit si "
    "nu s-a schimbat nimic. Verificati-l si stergeti-l.";
constexpr const char* kJournalUnreadable = "Jurnalul actualizarii \"%s\" nu poate fi citit; nu s-a schimbat nimic.";
constexpr const char* kJournalOtherFolder =
    "Jurnalul actualizarii \"%s\" este al dosarului \"%s\", nu al acestei instalari; nu s-a schimbat nimic.";
// A replaced file that couldn't go back to its name: where it is, and why.
constexpr const char* kNotPutBack = "Fisierul vechi \"%s\" nu a putut fi pus la loc si se afla in \"%s\". %s";
constexpr const char* kNameTaken = "Numele este luat de alt fisier.";
constexpr const char* kBackupMissing =
    "Fisierul vechi \"%s\" nu mai este unde l-a pus actualizarea oprita; nu s-a schimbat nimic.";
constexpr const char* kCleanupLeft = "Lucrul cu fisierele vechi din \"%s\" se va termina la urmatoarea rulare. %s";
constexpr const char* kKeptLine = "Fisierele inlocuite sunt pastrate in \"%s\".";

// The undo (/UNDO), which puts the kept version back.
// "Puneti la loc versiunea anterioara <before> in locul versiunii <after>? ..."
std::string UndoQuestion(const std::string& before, const std::string& after);
constexpr const char* kUndoneLine = "Versiunea anterioara a fost pusa la loc.";
std::string UndoneText(const std::string& before);  // "Meridal - 2013 a fost readusa la versiunea <before>."
constexpr const char* kChangedKept =
    "Fisierul \"%s\" a fost schimbat dupa actualizare; nu a fost sters si se afla in \"%s\".";
constexpr const char* kNothingKept = "Nu exista o versiune anterioara pastrata pentru aceasta instalare.";
constexpr const char* kKeptForOtherVersion =
    "Versiunea inregistrata \"%s\" nu este cea la care s-a facut actualizarea (\"%s\"); versiunea pastrata nu "
    "se pune la loc.";
constexpr const char* kKeptFileMissing =
    "Versiunea pastrata este incompleta: fisierul \"%s\" lipseste sau a fost schimbat; nu s-a schimbat nimic.";

// The check of the kit's own payload, before anything is written:
// "Pachetul de actualizare este deteriorat: <file name>. Descarcati-l din nou."
std::string PayloadDamagedText(const std::string& fileName);

// The run log and the command line.
constexpr const char* kLogUnavailable = "Fisierul jurnal \"%s\" nu poate fi deschis. %s";
// Why a log file is refused, in place of the system's reason above: it must
// be a plain file on a disk, with a single name, where its path says.
constexpr const char* kLogIsLink = "Este o legatura catre alt loc (link sau jonctiune)";
constexpr const char* kLogIsFolder = "Este un dosar, nu un fisier";
constexpr const char* kLogIsDevice = "Este un dispozitiv, nu un fisier pe disc";
constexpr const char* kLogHasSeveralNames = "Este un fisier cu mai multe nume (legaturi fixe)";
constexpr const char* kLogElsewhere = "Se afla in alt loc decat spune calea: \"%s\"";
constexpr const char* kLogWriteFailed = "Fisierul jurnal \"%s\" nu poate fi scris. %s";
constexpr const char* kLogPathMissing = "Lipseste calea fisierului jurnal: %s";
constexpr const char* kArgumentNotUnicode = "Argumentul \"%s\" nu este text Unicode valid. %s";
std::string UsageText();
constexpr const char* kAnotherKitRunning = "Un alt kit de actualizare ruleaza deja pe acest calculator.";
// The lock's name held by an object that no kit made (see SingleInstance).
constexpr const char* kLockNameTaken =
    "Numele de blocare \"%s\" a fost luat de alt program; actualizarea continua fara blocare.";
// The result line's words for each way a run ends (see RunOutcome).
constexpr const char* kResultLine = "Rezultat: %s (cod %s)";
constexpr const char* kResultUpgraded = "actualizat la versiunea %s";
constexpr const char* kResultUpToDate = "deja la ultima versiune, nimic scris";
constexpr const char* kResultNotUpgraded = "inchis fara actualizare, nimic scris";
constexpr const char* kResultNotInstalled = "programul nu este instalat, nimic scris";
constexpr const char* kResultVersionUnreadable = "versiunea instalata nu poate fi citita, nimic scris";
constexpr const char* kResultApplicationRunning = "programul ruleaza, nimic scris";
constexpr const char* kResultFailed = "eroare (mesajul de mai sus), versiunea nu a fost inregistrata";
constexpr const char* kResultUnexpectedFailure = "eroare neasteptata";
constexpr const char* kResultBadCommandLine = "linie de comanda gresita, nimic scris";
constexpr const char* kResultLogUnavailable = "fisierul jurnal nu poate fi deschis, nimic scris";
constexpr const char* kResultAnotherKitRunning = "alt kit de actualizare ruleaza, nimic scris";
constexpr const char* kResultPayloadDamaged = "pachet deteriorat, nimic scris";
constexpr const char* kResultLogWriteFailed = "fisierul jurnal nu poate fi scris, jurnal incomplet";
constexpr const char* kResultUsage = "utilizarea scrisa in jurnal, nimic scris";
constexpr const char* kResultUndone = "versiunea anterioara pusa la loc";
constexpr const char* kResultNothingToUndo = "nicio versiune anterioara de pus la loc, nimic schimbat";
constexpr const char* kResultUndoDeclined = "renuntat, nimic schimbat";

}  // namespace kit::text
