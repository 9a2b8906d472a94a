#include "kit/unattended/RunOutcome.h"

#include "framework/Error.h"
#include "kit/KitConstants.h"
#include "kit/KitTexts.h"

namespace kit {

namespace {
struct OutcomeRow {
    RunOutcome outcome;
    int exitCode;
    const char* result;
};

const OutcomeRow kOutcomes[] = {
    {RunOutcome::Upgraded, 0, text::kResultUpgraded},
    {RunOutcome::UpToDate, 0, text::kResultUpToDate},
    {RunOutcome::NotUpgraded, 0, text::kResultNotUpgraded},
    {RunOutcome::NotInstalled, 1, text::kResultNotInstalled},
    {RunOutcome::VersionUnreadable, 1, text::kResultVersionUnreadable},
    {RunOutcome::ApplicationRunning, 2, text::kResultApplicationRunning},
    {RunOutcome::Failed, 3, text::kResultFailed},
    {RunOutcome::UnexpectedFailure, 3, text::kResultUnexpectedFailure},
    {RunOutcome::BadCommandLine, 4, text::kResultBadCommandLine},
    {RunOutcome::LogUnavailable, 5, text::kResultLogUnavailable},
    {RunOutcome::AnotherKitRunning, 6, text::kResultAnotherKitRunning},
    {RunOutcome::PayloadDamaged, 7, text::kResultPayloadDamaged},
    {RunOutcome::LogWriteFailed, 5, text::kResultLogWriteFailed},
    {RunOutcome::UsageWritten, 0, text::kResultUsage},
    {RunOutcome::Undone, 0, text::kResultUndone},
    {RunOutcome::NothingToUndo, 8, text::kResultNothingToUndo},
    {RunOutcome::UndoDeclined, 0, text::kResultUndoDeclined},
};

const OutcomeRow& RowOf(RunOutcome outcome) {
    for (const OutcomeRow& row : kOutcomes)
        if (row.outcome == outcome) return row;
    return kOutcomes[0];  // unreachable: every outcome has a row
}
}  // namespace

int ExitCodeOf(RunOutcome outcome) { return RowOf(outcome).exitCode; }

RunOutcome AfterLogFailure(RunOutcome outcome) {
    return ExitCodeOf(outcome) == 0 ? RunOutcome::LogWriteFailed : outcome;
}

std::string ResultLine(RunOutcome outcome) {
    const OutcomeRow& row = RowOf(outcome);
    return fw::FormatMessageText(text::kResultLine,
                                 {fw::FormatMessageText(row.result, {KitVersionText()}), std::to_string(row.exitCode)});
}

}  // namespace kit
