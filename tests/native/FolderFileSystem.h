// The kit's file operations on a real folder of this machine, with faults
// to inject: a write that fails after some bytes, a disk of limited size, a
// file that can't be created or replaced. Paths use "\" as the kit builds
// them; they are mapped to "/".
#pragma once

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "framework/FileSystem.h"

class FolderFileSystem : public fw::FileSystem {
public:
    static std::string Native(std::string path) {
        for (char& c : path)
            if (c == '\\') c = '/';
        return path;
    }

    bool Exists(const std::string& path) override { return std::filesystem::exists(Native(path)); }

    std::unique_ptr<fw::OutputFile> CreateTempBeside(const std::string& target, std::string& tempPath) override {
        tempPath = target + ".~" + std::to_string(++tempCount) + ".tmp";
        std::FILE* file = lockedTargets.count(Native(target)) ? nullptr : std::fopen(Native(tempPath).c_str(), "wb");
        if (!file) {
            error = "The system cannot find the path specified";
            return nullptr;
        }
        return std::make_unique<File>(*this, file);
    }

    bool Replace(const std::string& from, const std::string& target) override {
        if (replaceFails.count(Native(target))) {
            error = "Access is denied";
            return false;
        }
        std::error_code failed;
        std::filesystem::rename(Native(from), Native(target), failed);
        return !failed;
    }

    void Remove(const std::string& path) override { std::filesystem::remove(Native(path)); }
    std::string LastErrorText() override { return error; }

    // Faults.
    long long bytesLeftOnDisk = -1;           // below zero: unlimited
    std::set<std::string> lockedTargets;  // no temporary file can be created beside these
    std::set<std::string> replaceFails;   // these can't be replaced (in use, read-only)

    std::string error;
    int tempCount = 0;

private:
    class File : public fw::OutputFile {
    public:
        File(FolderFileSystem& owner, std::FILE* file) : owner_(owner), file_(file) {}
        ~File() override { std::fclose(file_); }
        bool Write(const void* data, std::size_t size) override {
            std::size_t allowed = size;
            if (owner_.bytesLeftOnDisk >= 0 && static_cast<long long>(size) > owner_.bytesLeftOnDisk)
                allowed = static_cast<std::size_t>(owner_.bytesLeftOnDisk);
            std::size_t written = std::fwrite(data, 1, allowed, file_);
            if (owner_.bytesLeftOnDisk >= 0) owner_.bytesLeftOnDisk -= static_cast<long long>(written);
            return written == size;
        }
        bool Flush() override { return std::fflush(file_) == 0; }

    private:
        FolderFileSystem& owner_;
        std::FILE* file_;
    };
};
