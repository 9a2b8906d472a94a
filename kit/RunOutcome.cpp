#include "kit/RunOutcome.h"

#include "framework/Error.h"
#include "kit/KitConstants.h"

namespace kit {

namespace {
struct OutcomeRow {
    RunOutcome outcome;
    int exitCode;
    const char* result;
};

const OutcomeRow kOutcomes[] = {
    {RunOutcome::Upgraded, 0, "actualizat la versiunea %s"},
    {RunOutcome::UpToDate, 0, "deja la ultima versiune, nimic scris"},
    {RunOutcome::NotUpgraded, 0, "inchis fara actualizare, nimic scris"},
    {RunOutcome::NotInstalled, 1, "programul nu este instalat, nimic scris"},
    {RunOutcome::VersionUnreadable, 1, "versiunea instalata nu poate fi citita, nimic scris"},
    {RunOutcome::ApplicationRunning, 2, "programul ruleaza, nimic scris"},
    {RunOutcome::FailedAfterFirstItem, 3, "eroare dupa primul fisier, versiunea nu a fost inregistrata"},
    {RunOutcome::BadCommandLine, 4, "linie de comanda gresita, nimic scris"},
    {RunOutcome::LogUnavailable, 5, "fisierul jurnal nu poate fi deschis, nimic scris"},
};

const OutcomeRow& RowOf(RunOutcome outcome) {
    for (const OutcomeRow& row : kOutcomes)
        if (row.outcome == outcome) return row;
    return kOutcomes[0];  // unreachable: every outcome has a row
}
}  // namespace

int ExitCodeOf(RunOutcome outcome) { return RowOf(outcome).exitCode; }

std::string ResultLine(RunOutcome outcome) {
    const OutcomeRow& row = RowOf(outcome);
    return "Rezultat: " + fw::FormatMessageText(row.result, {KitVersionText()}) + " (cod " +
           std::to_string(row.exitCode) + ")";
}

}  // namespace kit
