#include "kit/Leftovers.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "kit/PathFailures.h"
#include "kit/RetryWhileHeld.h"

namespace kit {

namespace {

struct Extension {
    Leftover kind;
    const char* text;
};
const Extension kExtensions[] = {{Leftover::Temporary, ".tmp"}, {Leftover::Backup, ".bak"}, {Leftover::Run, ".run"}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }
std::string Lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

struct Found {
    std::string path;
    Leftover kind;
    std::uint64_t tail;
};

// The kit's files beside each target, from one listing per folder.
class LeftoverFinder {
public:
    explicit LeftoverFinder(fw::FileSystem& files) : files_(files) {}

    std::vector<Found> Of(const std::string& target) {
        std::vector<Found> found;
        const std::size_t slash = target.find_last_of('\\');
        if (slash == std::string::npos) return found;
        const std::string folder = target.substr(0, slash), name = target.substr(slash + 1);
        auto listing =
            std::find_if(listings_.begin(), listings_.end(), [&](const auto& l) { return l.first == folder; });
        if (listing == listings_.end()) {
            std::vector<std::string> names;
            const fw::Result listed = files_.FilesIn(folder, names);
            // Leftovers unseen would be left behind, or a backup not put back.
            if (!listed) throw FolderUnusable(folder, listed);
            listing = listings_.insert(listings_.end(), {folder, std::move(names)});
        }
        for (const std::string& entry : listing->second) {
            std::uint64_t tail = 0;
            const Leftover kind = LeftoverKind(entry, name, &tail);
            if (kind != Leftover::None) found.push_back({folder + "\\" + entry, kind, tail});
        }
        return found;
    }

private:
    fw::FileSystem& files_;
    std::vector<std::pair<std::string, std::vector<std::string>>> listings_;
};

// Removes the file at path when it is one of the kit's kind, waiting for
// another program's hold only when asked to.
fw::Result RemoveOwn(fw::FileSystem& files, const std::string& path, bool wait) {
    std::unique_ptr<fw::HeldFile> file;
    const fw::Result opened =
        wait ? RetryWhileHeld(files, [&] { return files.OpenExisting(path, file); }) : files.OpenExisting(path, file);
    return opened ? file->Remove() : opened;
}

// Puts the backup back as target, in place of what target holds now.
fw::Result PutBack(fw::FileSystem& files, const std::string& backup, const std::string& target) {
    std::unique_ptr<fw::HeldFile> old;
    fw::Result result = RetryWhileHeld(files, [&] { return files.OpenExisting(backup, old); });
    bool present = false;
    if (result) result = fw::IsPresent(files, target, present);
    if (result && present) result = RemoveOwn(files, target, true);
    return result ? old->MoveTo(target) : result;
}

// A file that isn't the kit's kind (a planted link, a second name) is left
// alone; any other failure to bring a target back stops the run.
void Require(const fw::Result& result, const std::string& target) {
    if (!result && result.code != fw::kCantAccessFile) throw CannotCreate(target, result);
}

}  // namespace

std::string LeftoverPath(const std::string& target, std::uint64_t tail, Leftover kind) {
    static const char digits[] = "0123456789ABCDEF";
    std::string path = target + ".~";
    for (int shift = 60; shift >= 0; shift -= 4) path += digits[(tail >> shift) & 0xF];
    for (const Extension& extension : kExtensions)
        if (extension.kind == kind) path += extension.text;
    return path;
}

Leftover LeftoverKind(const std::string& name, const std::string& targetName, std::uint64_t* tail) {
    const std::string text = Lowered(name), prefix = Lowered(targetName) + ".~";
    if (text.compare(0, prefix.size(), prefix) != 0) return Leftover::None;
    std::size_t i = prefix.size();
    std::uint64_t value = 0;
    for (; i < text.size() && IsHexDigit(text[i]); ++i)
        value = value << 4 | (IsDigit(text[i]) ? text[i] - '0' : text[i] - 'a' + 10);
    const std::size_t digits = i - prefix.size();
    if (digits == 0 || (digits > 8 && digits != 16)) return Leftover::None;
    // Earlier kits added ".<attempt>" to a process id taken already.
    if (digits <= 8 && i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1])) {
        const std::size_t attempt = ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        if (i - attempt > 2) return Leftover::None;
    }
    const std::string rest = text.substr(i);
    for (const Extension& extension : kExtensions) {
        if (rest != extension.text) continue;
        if (tail) *tail = value;
        return extension.kind;
    }
    return Leftover::None;
}

void RecoverLeftovers(fw::FileSystem& files, const std::string& program, const std::vector<std::string>& targets) {
    LeftoverFinder finder(files);
    const std::vector<Found> beside = finder.Of(program);
    bool placing = false;
    std::uint64_t addedTargets = 0;
    for (const Found& found : beside) {
        if (found.kind != Leftover::Run) continue;
        placing = true;
        addedTargets |= found.tail & kAddedTargetsMask;
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::string& target = targets[i];
        const std::vector<Found> leftovers = finder.Of(target);
        const bool added = placing && (addedTargets >> i & 1);
        bool present = false;
        if (added || std::any_of(leftovers.begin(), leftovers.end(),
                                 [](const Found& found) { return found.kind == Leftover::Backup; }))
            Require(fw::IsPresent(files, target, present), target);
        if (added && present) Require(RemoveOwn(files, target, true), target);
        for (const Found& found : leftovers) {
            if (found.kind == Leftover::Temporary) {
                RemoveOwn(files, found.path, false);  // else a later run removes it
            } else if (found.kind == Leftover::Backup) {
                // A backup is the only copy of the old file when its target is missing.
                if (placing || !present) Require(PutBack(files, found.path, target), target);
                else RemoveOwn(files, found.path, false);
            }
        }
    }
    // Last, so that a recovery stopped short is done again by the next run.
    for (const Found& found : beside)
        if (found.kind == Leftover::Run) RemoveOwn(files, found.path, false);
}

}  // namespace kit
