// The kit's file operations on a real folder of this machine, with faults
// to inject: a disk of limited size, a file held by a running program or
// for a while, a read-only file, and a failure or a power cut at any one
// step. Paths use "\" as the kit builds them; they are
// mapped to "/". Links are this machine's symbolic and hard links, and are
// treated as the Win32 file system treats a junction, a symbolic link or a
// second name of a file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "TempFolder.h"
#include "framework/FileSystem.h"

class FolderFileSystem : public fw::FileSystem {
    TempFolder kitHome_;  // where the kit's own folder is, apart from the installation

public:
    static std::string Native(std::string path) {
        for (char& c : path)
            if (c == '\\') c = '/';
        return path;
    }

    fw::Result Examine(const std::string& path, fw::PathKind& kind) override {
        const auto failure = unreadable.find(Native(path));
        if (failure != unreadable.end()) return failure->second;
        const auto status = std::filesystem::symlink_status(Native(path));
        if (!std::filesystem::exists(status)) kind = fw::PathKind::Missing;
        else if (std::filesystem::is_symlink(status) || ReachedThroughLink(path)) kind = fw::PathKind::Redirected;
        else if (std::filesystem::is_directory(status)) kind = fw::PathKind::Folder;
        else
            kind = std::filesystem::hard_link_count(Native(path)) > 1 ? fw::PathKind::SeveralNames : fw::PathKind::File;
        return fw::Result::Success();
    }

    fw::Result HoldFolder(const std::string& path, std::unique_ptr<fw::HeldFolder>& held) override {
        struct stat identity;
        if (!std::filesystem::is_directory(Native(path)) || stat(Native(path).c_str(), &identity) != 0)
            return Failed("The system cannot find the path specified", fw::kPathNotFound);
        // The path as given unless a link on the way leads elsewhere.
        held = std::make_unique<Folder>(
            *this, LinkOnTheWay(Native(path)) ? std::filesystem::canonical(Native(path)).string() : path, identity);
        if (afterHold) std::exchange(afterHold, nullptr)();
        return fw::Result::Success();
    }

    // Every link, and the folder it is in, is an ordinary user's unless
    // linkSecurity says otherwise.
    fw::Result LinksOnPath(const std::string& folder, std::vector<fw::PathLink>& links) override {
        std::filesystem::path prefix;
        for (const auto& part : std::filesystem::path(Native(folder))) {
            prefix /= part;
            if (!std::filesystem::is_symlink(prefix)) continue;
            const auto security = linkSecurity.find(prefix.string());
            const LinkSecurity& found = security == linkSecurity.end() ? LinkSecurity() : security->second;
            links.push_back(
                {prefix.string(), std::filesystem::canonical(prefix).string(), found.sddl, found.parentSddl});
        }
        return fw::Result::Success();
    }

    fw::Result OpenExisting(const std::string& path, std::unique_ptr<fw::HeldFile>& file) override {
        if (Fault()) return kInjected;
        if (IsHeld(path) || heldForever.count(Native(path))) return kHeld;
        if (readOnly.count(Native(path))) return Failed("The specified file is read only", fw::kFileReadOnly);
        const auto failure = failWith.find(Native(path));
        if (failure != failWith.end()) return failure->second;
        if (!std::filesystem::exists(std::filesystem::symlink_status(Native(path))))
            return Failed("The system cannot find the file specified", fw::kFileNotFound);
        if (!IsOwnFile(path)) return kRedirected;
        file = std::make_unique<File>(*this, nullptr, path);
        return fw::Result::Success();
    }

    // Made where missing; anything but a file of its own refused as a link.
    fw::Result OpenForAppend(const std::string& path, const std::string&, std::unique_ptr<fw::HeldFile>& file,
                             bool& created, fw::NotPlainFile& refused) override {
        created = !std::filesystem::exists(std::filesystem::symlink_status(Native(path)));
        if (created ? ReachedThroughLink(path) : !IsOwnFile(path)) {
            refused.kind = fw::NotPlainFile::Kind::Link;
            return kRedirected;
        }
        std::FILE* opened = std::fopen(Native(path).c_str(), "ab");
        if (!opened) return Failed("The system cannot find the path specified", 3);
        file = std::make_unique<File>(*this, opened, path);
        return fw::Result::Success();
    }

    // The kit's folder: kitFolder, made where missing.
    fw::Result HoldKitFolder(std::unique_ptr<fw::HeldFolder>& held) override {
        std::filesystem::create_directories(Native(kitFolder));
        struct stat identity;
        ::stat(Native(kitFolder).c_str(), &identity);
        if (kitOnOtherVolume) ++identity.st_dev;
        held = std::make_unique<Folder>(*this, kitFolder, identity);
        return fw::Result::Success();
    }
    fw::Result HoldLock(const std::string& path, std::unique_ptr<fw::HeldFile>& file) override {
        if (locks_.count(Native(path))) return kHeld;
        std::fclose(std::fopen(Native(path).c_str(), "ab"));
        file = std::make_unique<File>(*this, nullptr, path, true);
        return fw::Result::Success();
    }
    bool KeepsFileSecurity() override { return true; }

    fw::Result Random(std::uint64_t& value) override {
        value = 0x5EED000000000000ULL + nextRandom++;
        return fw::Result::Success();
    }
    void Pause(unsigned milliseconds) override { clock += milliseconds; }

    // Faults.
    long long bytesLeftOnDisk = -1;                // below zero: unlimited
    std::set<std::string> heldForever;             // held by a running program
    std::set<std::string> readOnly;                // read-only files
    std::map<std::string, fw::Result> failWith;    // an open of these fails so, every time
    std::map<std::string, fw::Result> unreadable;  // examining or listing these fails so
    struct LinkSecurity {
        std::string sddl = kUsersOwn, parentSddl = kUsersOwn;
    };
    static constexpr const char* kUsersOwn = "O:S-1-5-21-0-0-0-1000D:P(A;OICI;FA;;;S-1-5-21-0-0-0-1000)";
    std::map<std::string, LinkSecurity> linkSecurity;  // the descriptors of a link and its folder, by its path
    std::function<void()> afterHold;                   // runs once, when the next folder is held: a swap then
    std::map<std::string, std::string> fileSecurity;   // a file's SDDL, by its path; else only administrators'
    std::string kitFolder = (kitHome_.Path() / "MeridalUpgrade").string();  // the kit's own folder
    bool kitOnOtherVolume = false;  // its volume is another than the installation's: files are copied there
    std::string heldPath;           // held by another program until the clock reaches heldUntil
    unsigned heldUntil = 0;
    // Every step (create, open, write, flush, move, remove) is counted from 1; failStep is the one that fails, and with
    // failFromThenOn every later one too.
    int failStep = 0;
    bool failFromThenOn = false;
    std::string takenWhenMoved;  // another program creates a file at this path once the kit moves its file away
    std::string failFlushOf;     // a file whose path ends so can't be flushed
    bool powerCut = false;  // failStep stops everything instead, thrown as PowerCut; nothing reaches the disk after
    struct PowerCut {};

    int steps = 0;
    unsigned clock = 0;  // milliseconds paused

    // The machine again, with no fault to come.
    void Restart() {
        off_ = failFromThenOn = powerCut = false;
        failStep = steps = 0;
    }
    std::uint64_t nextRandom = 0;

private:
    static fw::Result Failed(const std::string& text, unsigned long code) { return fw::Result::Failure(code, text); }
    const fw::Result kInjected = Failed("Injected fault", fw::kIoDevice);
    const fw::Result kRedirected = Failed("The file cannot be accessed by the system", fw::kCantAccessFile);

    // Whether path itself or a folder on the way to it is a link.
    static bool LinkOnTheWay(const std::filesystem::path& native) {
        std::filesystem::path prefix;
        for (const auto& part : native) {
            prefix /= part;
            if (std::filesystem::is_symlink(prefix)) return true;
        }
        return false;
    }
    static bool ReachedThroughLink(const std::string& path) {
        return LinkOnTheWay(std::filesystem::path(Native(path)).parent_path());
    }
    // A regular file with a single link, reached through no link.
    static bool IsOwnFile(const std::string& path) {
        const auto status = std::filesystem::symlink_status(Native(path));
        std::error_code failed;
        return std::filesystem::is_regular_file(status) && !ReachedThroughLink(path) &&
               std::filesystem::hard_link_count(Native(path), failed) == 1;
    }
    const fw::Result kHeld =
        Failed("The process cannot access the file because it is being used by another process", fw::kSharingViolation);

    bool IsHeld(const std::string& path) const { return Native(path) == Native(heldPath) && clock < heldUntil; }

    // Counts a step; true when it is the one (or one of those) to fail.
    bool Fault() {
        if (off_) return true;
        ++steps;
        if (failStep == 0 || steps < failStep || (steps > failStep && !failFromThenOn)) return false;
        if (powerCut) {
            off_ = true;
            throw PowerCut{};
        }
        return true;
    }
    bool off_ = false;

    static fw::Result IdentityOf(const std::string& path, fw::FileId& id) {
        struct stat info;
        if (::stat(Native(path).c_str(), &info) != 0)
            return Failed("The system cannot find the file specified", fw::kFileNotFound);
        id = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
        return fw::Result::Success();
    }

    std::set<std::string> locks_;  // locks held, by native path

    fw::Result CreateAt(const std::string& path, std::unique_ptr<fw::HeldFile>& file) {
        if (Fault()) return kInjected;
        if (std::filesystem::exists(std::filesystem::symlink_status(Native(path))))
            return Failed("The file exists", fw::kFileExists);
        std::FILE* created = std::fopen(Native(path).c_str(), "wb");
        if (!created) return Failed("The system cannot find the path specified", fw::kPathNotFound);
        file = std::make_unique<File>(*this, created, path);
        return fw::Result::Success();
    }

    class Folder : public fw::HeldFolder {
    public:
        Folder(FolderFileSystem& owner, std::string path, const struct stat& identity)
            : owner_(owner), path_(std::move(path)), identity_(identity) {}
        fw::Result CreateNew(const std::string& name, std::unique_ptr<fw::HeldFile>& file) override {
            return owner_.CreateAt(path_ + "\\" + name, file);
        }
        void* SystemHandle() override { return this; }
        const std::string& FinalPath() const override { return path_; }
        fw::Result Identity(fw::FileId& id) override {
            id = {static_cast<std::uint64_t>(identity_.st_dev), static_cast<std::uint64_t>(identity_.st_ino)};
            return fw::Result::Success();
        }
        fw::Result SameAs(const std::string& path, bool& same) override {
            struct stat found;
            if (stat(Native(path).c_str(), &found) != 0)
                return Failed("The system cannot find the path specified", fw::kPathNotFound);
            same = found.st_dev == identity_.st_dev && found.st_ino == identity_.st_ino;
            return fw::Result::Success();
        }

    private:
        FolderFileSystem& owner_;
        std::string path_;
        struct stat identity_;  // the device and inode of the folder held
    };

    class File : public fw::HeldFile {
    public:
        File(FolderFileSystem& owner, std::FILE* file, std::string path, bool lock = false)
            : owner_(owner), file_(file), path_(std::move(path)), lock_(lock) {
            if (lock_) owner_.locks_.insert(Native(path_));
        }
        ~File() override {
            Close();
            if (lock_) owner_.locks_.erase(Native(path_));
        }
        fw::Result Write(const void* data, std::size_t size) override {
            if (owner_.Fault()) return owner_.kInjected;
            std::size_t allowed = size;
            if (owner_.bytesLeftOnDisk >= 0 && static_cast<long long>(size) > owner_.bytesLeftOnDisk)
                allowed = static_cast<std::size_t>(owner_.bytesLeftOnDisk);
            std::size_t written = std::fwrite(data, 1, allowed, file_);
            if (owner_.bytesLeftOnDisk >= 0) owner_.bytesLeftOnDisk -= static_cast<long long>(written);
            return written == size ? fw::Result::Success()
                                   : Failed("There is not enough space on the disk", fw::kDiskFull);
        }
        fw::Result Flush() override {
            if (owner_.Fault()) return owner_.kInjected;
            const std::string& failing = owner_.failFlushOf;
            if (!failing.empty() && path_.size() >= failing.size() &&
                path_.compare(path_.size() - failing.size(), failing.size(), failing) == 0)
                return Failed("The request could not be performed because of an I/O device error", fw::kIoDevice);
            return std::fflush(file_) == 0 ? fw::Result::Success() : Failed("The request failed", fw::kIoDevice);
        }
        fw::Result MoveTo(fw::HeldFolder& folder, const std::string& name) override {
            if (owner_.Fault()) return owner_.kInjected;
            const std::string path = folder.FinalPath() + "\\" + name;
            if (std::filesystem::exists(std::filesystem::symlink_status(Native(path))))
                return Failed("Cannot create a file when that file already exists", fw::kAlreadyExists);
            std::filesystem::rename(Native(path_), Native(path));
            if (Native(path_) == Native(owner_.takenWhenMoved)) std::ofstream(Native(path_)) << "taken meanwhile";
            path_ = path;
            return fw::Result::Success();
        }
        fw::Result Remove() override {
            if (owner_.Fault()) return owner_.kInjected;
            Close();
            std::filesystem::remove(Native(path_));
            return fw::Result::Success();
        }
        fw::Result Index(std::uint64_t& index) override {
            fw::FileId id;
            const fw::Result result = IdentityOf(path_, id);
            index = id.index;
            return result;
        }
        fw::Result ReadAll(std::string& bytes) override {
            if (file_) std::fflush(file_);
            std::ifstream in(Native(path_), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
            return fw::Result::Success();
        }
        fw::Result Security(std::string& sddl) override {
            const auto found = owner_.fileSecurity.find(Native(path_));
            sddl = found != owner_.fileSecurity.end() ? found->second : "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
            return fw::Result::Success();
        }

    private:
        void Close() {
            if (file_) std::fclose(file_);
            file_ = nullptr;
        }
        FolderFileSystem& owner_;
        std::FILE* file_;
        std::string path_;
        bool lock_;
    };
};
