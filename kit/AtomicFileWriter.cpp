#include "kit/AtomicFileWriter.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/Error.h"
#include "kit/KitTexts.h"

namespace kit {

namespace {

const char kTemporaryExtension[] = ".tmp";
const char kBackupExtension[] = ".bak";
const unsigned kMaxAttempts = 10;       // names tried when earlier ones are taken
const unsigned kHoldPatienceMs = 2000;  // how long a held file is waited for

std::string Hex(unsigned long value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return text;
}

// "<target>.~<run id>[.<attempt>]<extension>": short, so that a target near
// the path length limit still gets one.
std::string LeftoverPath(fw::FileSystem& files, const std::string& target, unsigned attempt, const char* extension) {
    std::string path = target + ".~" + Hex(files.RunId());
    if (attempt > 0) path += "." + std::to_string(attempt);
    return path + extension;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }
std::string Lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

enum class Leftover { None, Temporary, Backup };

// Whether name is one of the names LeftoverPath gives for a target named
// targetName, in any case as file names compare. Earlier kits wrote the
// process id in decimal, which also reads as hexadecimal.
Leftover LeftoverKind(const std::string& name, const std::string& targetName) {
    const std::string text = Lowered(name), prefix = Lowered(targetName) + ".~";
    if (text.compare(0, prefix.size(), prefix) != 0) return Leftover::None;
    std::size_t i = prefix.size();
    const std::size_t id = i;
    while (i < text.size() && IsHexDigit(text[i])) ++i;
    if (i == id || i - id > 8) return Leftover::None;
    if (i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1])) {
        const std::size_t attempt = ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        if (i - attempt > 2) return Leftover::None;
    }
    const std::string rest = text.substr(i);
    if (rest == kTemporaryExtension) return Leftover::Temporary;
    if (rest == kBackupExtension) return Leftover::Backup;
    return Leftover::None;
}

// Runs step again while it fails because something holds the file, with
// pauses growing from 25 to 250 ms, for about two seconds in all; gives the
// last attempt's result.
template <typename Step>
fw::FileResult RetryWhileHeld(fw::FileSystem& files, Step step) {
    unsigned waited = 0, pause = 25;
    for (;;) {
        fw::FileResult result = step();
        if (result || !result.held || waited >= kHoldPatienceMs) return result;
        files.Pause(pause);
        waited += pause;
        pause = std::min(pause * 2, 250u);
    }
}

fw::FileResult CreateTemporary(fw::FileSystem& files, const std::string& target, std::string& path,
                               std::unique_ptr<fw::OutputFile>& file) {
    // A name that is taken is a leftover that couldn't be removed: try the next.
    fw::FileResult result;
    for (unsigned attempt = 0; attempt < kMaxAttempts; ++attempt) {
        path = LeftoverPath(files, target, attempt, kTemporaryExtension);
        if ((result = files.CreateNew(path, file)) || !files.Exists(path)) break;
    }
    return result;
}

std::string FreeBackupPath(fw::FileSystem& files, const std::string& target) {
    std::string path;
    for (unsigned attempt = 0; attempt < kMaxAttempts; ++attempt)
        if (!files.Exists(path = LeftoverPath(files, target, attempt, kBackupExtension))) break;
    return path;
}

// Puts the flushed, closed temporary file in place of the existing target.
// Whatever fails, target ends with its old bytes or its new ones, except
// when even renaming back fails: then the old bytes stay under the backup
// name, where the next run's RemoveLeftovers finds them and puts them back.
void ReplaceTarget(fw::FileSystem& files, const std::string& temp, const std::string& target) {
    const std::string backup = FreeBackupPath(files, target);
    const fw::FileResult replaced = RetryWhileHeld(files, [&] { return files.Replace(temp, target, backup); });
    if (replaced) {
        files.Remove(backup);  // if this fails, a later run removes it
        return;
    }
    // The replace may have failed after moving the old file to the backup
    // name: put it back, or else put the new one in place. A scanner may
    // hold either for a moment, as it may hold the target.
    auto putBack = [&](const std::string& from) {
        return RetryWhileHeld(files, [&] { return files.Rename(from, target); });
    };
    if (!files.Exists(target) && !putBack(backup) && putBack(temp)) {
        files.Remove(backup);
        return;
    }
    files.Remove(temp);
    throw CannotCreate(target, replaced);
}

// Removes the leftovers named for targetName among the folder's files, and
// puts a backup back where its target is missing.
void RemoveLeftoversOf(fw::FileSystem& files, const std::string& folder, const std::string& targetName,
                       const std::vector<std::string>& names) {
    const std::string target = folder + "\\" + targetName;
    std::vector<std::string> backups;
    for (const std::string& name : names) {
        const Leftover kind = LeftoverKind(name, targetName);
        // One that can't be removed now (held) is removed by a later run.
        if (kind == Leftover::Temporary) files.Remove(folder + "\\" + name);
        if (kind == Leftover::Backup) backups.push_back(folder + "\\" + name);
    }
    // A backup is the only copy of the old file when the target is missing.
    for (const std::string& backup : backups) {
        if (files.Exists(target)) files.Remove(backup);
        else RetryWhileHeld(files, [&] { return files.Rename(backup, target); });
    }
}

}  // namespace

fw::Error CannotCreate(const std::string& path, const fw::FileResult& result) {
    return fw::Error(fw::FormatMessageText(text::kCannotCreateFile, {path, result.error}), result.code);
}

void WriteFileAtomically(fw::FileSystem& files, const std::string& target, const void* data, std::size_t size) {
    std::string temp;
    std::unique_ptr<fw::OutputFile> out;
    const fw::FileResult created = CreateTemporary(files, target, temp, out);
    if (!created) throw CannotCreate(target, created);

    fw::FileResult written = out->Write(data, size);
    if (written) written = out->Flush();
    if (written && !files.Exists(target)) {
        // A new file: renamed into place while still open, in one step.
        const fw::FileResult moved = RetryWhileHeld(files, [&] { return out->MoveTo(target); });
        if (moved) return;
        out.reset();
        files.Remove(temp);
        throw CannotCreate(target, moved);
    }
    out.reset();  // closed before it replaces the target
    if (!written) {
        files.Remove(temp);
        throw CannotCreate(target, written);
    }
    ReplaceTarget(files, temp, target);
}

void RemoveLeftovers(fw::FileSystem& files, const std::vector<std::string>& targets) {
    // Each folder is listed once, for all its targets.
    std::vector<std::pair<std::string, std::vector<std::string>>> listings;
    for (const std::string& target : targets) {
        const std::size_t slash = target.find_last_of('\\');
        if (slash == std::string::npos) continue;
        const std::string folder = target.substr(0, slash);
        auto listing = std::find_if(listings.begin(), listings.end(), [&](const auto& l) { return l.first == folder; });
        if (listing == listings.end()) listing = listings.insert(listings.end(), {folder, files.FilesIn(folder)});
        RemoveLeftoversOf(files, folder, target.substr(slash + 1), listing->second);
    }
}

}  // namespace kit
