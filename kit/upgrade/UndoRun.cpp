#include "kit/upgrade/UndoRun.h"

#include <memory>
#include <vector>

#include "framework/Error.h"
#include "kit/upgrade/InstallationRecord.h"
#include "kit/upgrade/KeptVersion.h"
#include "kit/KitTexts.h"
#include "kit/upgrade/PathFailures.h"
#include "kit/upgrade/Transaction.h"
#include "kit/upgrade/UpgradeRun.h"
#include "kit/upgrade/VersionCheck.h"

namespace kit {

namespace {

// "2.35" from "Meridal - 2013 v.2.35"; a record of another form as it is.
std::string Shown(const std::string& recorded) {
    const std::string version = InstalledVersionText(recorded);
    return version.empty() ? recorded : version;
}

RunOutcome Refuse(KitWindow& window, const std::string& text) {
    window.ShowErrorDialog(text);
    return RunOutcome::NothingToUndo;
}

// The kept version's files, held, and the position of each item's target.
struct KeptFiles {
    std::vector<std::size_t> positions;
    std::vector<std::unique_ptr<fw::HeldFile>> held;  // none for a target the upgrade added
};

// Fails naming what is missing or doesn't belong to the installation.
KeptFiles HoldKept(fw::FileSystem& files, KitFolder& kit, const Journal& kept, const std::vector<std::string>& targets,
                   const std::string& keptPath) {
    KeptFiles found;
    found.held.resize(kept.items.size());
    for (std::size_t i = 0; i < kept.items.size(); ++i) {
        const JournalItem& item = kept.items[i];
        std::size_t position = 0;
        while (position < targets.size() && targets[position] != item.target) ++position;
        if (position == targets.size()) RaiseText(text::kJournalUnreadable, {keptPath});
        found.positions.push_back(position);
        if (!item.replaces) continue;
        Found same = Found::Other;
        const fw::Result result = kit.Holds(item.old.path)
                                      ? FindFile(files, item.old.path, item.old.index, same, found.held[i])
                                      : fw::Result::Success();
        if (!result) RaiseCannotCreate(item.old.path, result);
        if (same != Found::Same) RaiseText(text::kKeptFileMissing, {item.old.path});
    }
    return found;
}

// Step 2: each kept file staged for its target, each added target to go.
void StageUndo(Transaction& transaction, const Journal& kept, KeptFiles& found) {
    for (std::size_t i = 0; i < kept.items.size(); ++i) {
        if (found.held[i]) {
            std::string bytes;
            const fw::Result read = found.held[i]->ReadAll(bytes);
            if (!read) RaiseCannotCreate(kept.items[i].old.path, read);
            transaction.Stage(found.positions[i], bytes.data(), bytes.size(), 0);
        } else {
            transaction.Remove(found.positions[i]);
        }
        transaction.KeepIfChanged(found.positions[i], kept.items[i]);
    }
}

}  // namespace

RunOutcome RunUndo(fw::FileSystem& files, fw::RegistryStore& registry, KitWindow& window,
                   const std::string& installFolder) {
    if (installFolder.empty()) return RunOutcome::NotInstalled;

    CheckedInstallation installation(files, installFolder);
    std::string program;
    const std::vector<std::string> targets = CatalogueTargets(installation, program);
    window.Note(text::FinalFolderLine(installation.Folder()));

    Journal kept;
    fw::Result cleanedUp;
    try {
        // The lock first: the kept version is read as no other kit changes it.
        Transaction transaction(files, registry, installation, targets, program);
        // An undo stopped after its commit point is complete now.
        const Journal* finished = transaction.Finished();
        if (finished && finished->undo) {
            kept.before = finished->after;
        } else {
            fw::FileId folder;
            const fw::Result known = installation.Identity(folder);
            if (!known) RaiseFolderUnusable(installation.Folder(), known);
            KitFolder& kit = transaction.Kit();
            if (!ReadKept(kit, folder, kept)) return Refuse(window, text::kNothingKept);
            const std::string recorded = ReadRecordValue(registry, "VER");
            if (recorded != kept.after)
                return Refuse(window, fw::FormatMessageText(text::kKeptForOtherVersion, {recorded, kept.after}));

            KeptFiles found = HoldKept(files, kit, kept, targets, kit.Path(KeptName(folder)));
            if (!window.Ask(text::UndoQuestion(Shown(kept.before), Shown(kept.after)))) return RunOutcome::UndoDeclined;
            installation.HoldData();
            StageUndo(transaction, kept, found);
            found.held.clear();
            cleanedUp = transaction.Commit(kept.after, kept.before, true);
            for (const JournalItem& item : transaction.Plan().items)
                if (item.keepOld)
                    window.AppendLog(fw::FormatMessageText(text::kChangedKept, {item.target, item.old.path}));
        }
    } catch (const ProgramHeld&) {
        window.ShowErrorDialog(text::CloseFirstText());
        return RunOutcome::ApplicationRunning;
    } catch (const AnotherKitRunning& another) {
        window.ShowInformationDialog(another.what());
        return RunOutcome::AnotherKitRunning;
    }
    if (!cleanedUp) window.Note(cleanedUp.text);
    window.AppendLog(text::kUndoneLine);
    TellDone(window, text::UndoneText(Shown(kept.before)));
    return RunOutcome::Undone;
}

}  // namespace kit
