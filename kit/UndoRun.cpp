#include "kit/UndoRun.h"

#include <memory>
#include <vector>

#include "framework/Error.h"
#include "kit/InstallationRecord.h"
#include "kit/KeptVersion.h"
#include "kit/KitTexts.h"
#include "kit/PathFailures.h"
#include "kit/Transaction.h"
#include "kit/UpgradeRun.h"
#include "kit/VersionCheck.h"

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

}  // namespace

RunOutcome RunUndo(fw::FileSystem& files, fw::RegistryStore& registry, KitWindow& window,
                   const std::string& installFolder) {
    if (installFolder.empty()) return RunOutcome::NotInstalled;

    CheckedInstallation installation(files, installFolder);
    std::string program;
    const std::vector<std::string> targets = CatalogueTargets(installation, program);
    window.Note(text::FinalFolderLine(installation.Folder()));

    Journal kept;
    try {
        // The lock first: the kept version is read as no other kit changes it.
        Transaction transaction(files, registry, installation, targets, program);
        fw::FileId folder;
        const fw::Result known = installation.Identity(folder);
        if (!known) RaiseFolderUnusable(installation.Folder(), known);
        KitFolder& kit = transaction.Kit();
        if (!ReadKept(kit, folder, kept)) return Refuse(window, text::kNothingKept);
        const std::string recorded = ReadRecordValue(registry, "VER");
        if (recorded != kept.after)
            return Refuse(window, fw::FormatMessageText(text::kKeptForOtherVersion, {recorded, kept.after}));

        // Every kept file, held, before anything is asked or changed.
        std::vector<std::size_t> positions;
        std::vector<std::unique_ptr<fw::HeldFile>> held(kept.items.size());
        for (std::size_t i = 0; i < kept.items.size(); ++i) {
            const JournalItem& item = kept.items[i];
            std::size_t position = 0;
            while (position < targets.size() && targets[position] != item.target) ++position;
            if (position == targets.size()) RaiseText(text::kJournalUnreadable, {kit.Path(KeptName(folder))});
            positions.push_back(position);
            if (!item.replaces) continue;
            Found found = Found::Other;
            const fw::Result result = kit.Holds(item.old.path)
                                          ? FindFile(files, item.old.path, item.old.index, found, held[i])
                                          : fw::Result::Success();
            if (!result) RaiseCannotCreate(item.old.path, result);
            if (found != Found::Same) RaiseText(text::kKeptFileMissing, {item.old.path});
        }
        if (!window.Ask(text::UndoQuestion(Shown(kept.before), Shown(kept.after)))) return RunOutcome::UndoDeclined;

        installation.HoldData();
        for (std::size_t i = 0; i < kept.items.size(); ++i) {
            if (held[i]) {
                std::string bytes;
                const fw::Result read = held[i]->ReadAll(bytes);
                if (!read) RaiseCannotCreate(kept.items[i].old.path, read);
                transaction.Stage(positions[i], bytes.data(), bytes.size(), 0);
            } else {
                transaction.Remove(positions[i]);
            }
            transaction.KeepIfChanged(positions[i], kept.items[i]);
        }
        held.clear();
        const fw::Result finished = transaction.Commit(kept.after, kept.before, true);
        if (!finished) window.Note(finished.text);
        for (const JournalItem& item : transaction.Plan().items)
            if (item.keepOld) window.AppendLog(fw::FormatMessageText(text::kChangedKept, {item.target, item.old.path}));
    } catch (const ProgramHeld&) {
        window.ShowErrorDialog(text::CloseFirstText());
        return RunOutcome::ApplicationRunning;
    } catch (const AnotherKitRunning& another) {
        window.ShowInformationDialog(another.what());
        return RunOutcome::AnotherKitRunning;
    }
    window.SetUpgradeEnabled(false);
    window.AppendLog(text::kUndoneLine);
    window.ShowInformationDialog(text::UndoneText(Shown(kept.before)));
    return RunOutcome::Undone;
}

}  // namespace kit
