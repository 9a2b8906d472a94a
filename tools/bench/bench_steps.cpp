// Where the upgrade's and the undo's time goes: runs the upgrade run itself
// (no window) under Wine on the real Win32 file system, timing every file
// operation by kind, beside a plain flushed write of the same items to a
// temporary name renamed into place, and times the Information box that ends
// a click. Both run into an empty folder and into one holding an older file
// at every target, as a user's installation does: they replace each, but
// keep the templates written only when missing. The upgrade is timed twice:
// the installation's first, with nothing kept yet, and the next one, which
// replaces the version the first kept, as every later upgrade does. The
// undo (/UNDO, answered Yes) is timed right after the second: it puts the
// kept files back, or removes what the upgrade added.
// Figures, not a test. Run by tools/bench_upgrade.sh:
//   bench_steps.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/ModuleResources.h"
#include "framework/Win32FileSystem.h"
#include "framework/Win32Registry.h"
#include "kit/upgrade/InstallationRecord.h"
#include "kit/window/KitWindow.h"
#include "kit/upgrade/UndoRun.h"
#include "kit/upgrade/UpgradeRun.h"
#include "payload/Catalogue.h"

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Step {
    double ms = 0;
    int count = 0;
};
std::map<std::string, Step> g_steps;

// Times a call under the given name.
template <typename Call>
auto Timed(const char* name, Call call) {
    const double start = Now();
    auto result = call();
    Step& step = g_steps[name];
    step.ms += Now() - start;
    ++step.count;
    return result;
}

class TimedFile : public fw::HeldFile {
public:
    explicit TimedFile(std::unique_ptr<fw::HeldFile> file) : file_(std::move(file)) {}
    ~TimedFile() override {
        Timed("close file", [&] {
            file_.reset();
            return 0;
        });
    }
    fw::Result Write(const void* data, std::size_t size) override {
        return Timed("write", [&] { return file_->Write(data, size); });
    }
    fw::Result Flush() override {
        return Timed("flush file", [&] { return file_->Flush(); });
    }
    fw::Result MoveTo(fw::HeldFolder& folder, const std::string& name) override {
        return Timed("rename open file", [&] { return file_->MoveTo(folder, name); });
    }
    fw::Result Remove() override {
        return Timed("remove open file", [&] { return file_->Remove(); });
    }
    fw::Result Index(std::uint64_t& index) override {
        return Timed("file index", [&] { return file_->Index(index); });
    }
    fw::Result ReadAll(std::string& bytes) override {
        return Timed("read whole file", [&] { return file_->ReadAll(bytes); });
    }
    fw::Result Security(std::string& sddl) override {
        return Timed("file security", [&] { return file_->Security(sddl); });
    }

private:
    std::unique_ptr<fw::HeldFile> file_;
};

class TimedFolder : public fw::HeldFolder {
public:
    explicit TimedFolder(std::unique_ptr<fw::HeldFolder> folder) : folder_(std::move(folder)) {}
    const std::string& FinalPath() const override { return folder_->FinalPath(); }
    fw::Result Identity(fw::FileId& id) override {
        return Timed("folder identity", [&] { return folder_->Identity(id); });
    }
    fw::Result CreateNew(const std::string& name, std::unique_ptr<fw::HeldFile>& file) override {
        std::unique_ptr<fw::HeldFile> created;
        const fw::Result result = Timed("create new file", [&] { return folder_->CreateNew(name, created); });
        if (result) file = std::make_unique<TimedFile>(std::move(created));
        return result;
    }
    void* SystemHandle() override { return folder_->SystemHandle(); }
    fw::Result SameAs(const std::string& path, bool& same) override {
        return Timed("same folder as held", [&] { return folder_->SameAs(path, same); });
    }

private:
    std::unique_ptr<fw::HeldFolder> folder_;
};

class TimedFileSystem : public fw::FileSystem {
public:
    fw::Result Examine(const std::string& path, fw::PathKind& kind) override {
        return Timed("examine (links)", [&] { return files_.Examine(path, kind); });
    }
    fw::Result HoldFolder(const std::string& path, std::unique_ptr<fw::HeldFolder>& held) override {
        std::unique_ptr<fw::HeldFolder> folder;
        const fw::Result result = Timed("hold folder", [&] { return files_.HoldFolder(path, folder); });
        if (result) held = std::make_unique<TimedFolder>(std::move(folder));
        return result;
    }
    fw::Result LinksOnPath(const std::string& folder, std::vector<fw::PathLink>& links) override {
        return Timed("links on the path", [&] { return files_.LinksOnPath(folder, links); });
    }
    fw::Result HoldKitFolder(std::unique_ptr<fw::HeldFolder>& held) override {
        std::unique_ptr<fw::HeldFolder> folder;
        const fw::Result result = Timed("hold the kit's folder", [&] { return files_.HoldKitFolder(folder); });
        if (result) held = std::make_unique<TimedFolder>(std::move(folder));
        return result;
    }
    fw::Result HoldLock(const std::string& path, std::unique_ptr<fw::HeldFile>& file) override {
        return Timed("hold the lock", [&] { return files_.HoldLock(path, file); });
    }
    bool KeepsFileSecurity() override { return files_.KeepsFileSecurity(); }
    fw::Result OpenExisting(const std::string& path, std::unique_ptr<fw::HeldFile>& file) override {
        std::unique_ptr<fw::HeldFile> opened;
        const fw::Result result = Timed("open existing target", [&] { return files_.OpenExisting(path, opened); });
        if (result) file = std::make_unique<TimedFile>(std::move(opened));
        return result;
    }
    fw::Result OpenForAppend(const std::string& path, const std::string& newFileSddl,
                             std::unique_ptr<fw::HeldFile>& file, bool& created, fw::NotPlainFile& refused) override {
        return Timed("open to append", [&] { return files_.OpenForAppend(path, newFileSddl, file, created, refused); });
    }
    fw::Result Random(std::uint64_t& value) override {
        return Timed("random tail", [&] { return files_.Random(value); });
    }
    void Pause(unsigned milliseconds) override { files_.Pause(milliseconds); }

private:
    fw::Win32FileSystem files_;
};

// Answers the undo's question Yes, as KitWindow does by default.
struct NoWindow : kit::KitWindow {
    void AppendLog(const std::string&) override {}
    void SetUpgradeCaption(const std::string&) override {}
    void SetUpgradeEnabled(bool) override {}
    void ShowErrorDialog(const std::string& text) override { std::printf("error: %s\n", text.c_str()); }
    void ShowInformationDialog(const std::string&) override {}
};

void MakeFolders(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\Data").c_str(), nullptr);
}

void RemoveFiles(const std::string& folder) {
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i)
        DeleteFileA((folder + payload::Catalogue()[i].targetPath).c_str());
}

// Writes the bytes to a new file at path, or over the file there, and
// forces them to the disk.
bool WriteFlushed(const std::string& path, const void* data, std::size_t size) {
    const fw::unique_hfile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size &&
           FlushFileBuffers(file.get());
}

bool FindItem(fw::PayloadStore& payload, std::size_t position, fw::Blob& item) {
    return static_cast<bool>(payload.Find(payload::Catalogue()[position].code, payload::kItemName, item));
}

// The folder as the run finds it: without the targets, or with an older
// file at each, the item's size with every byte inverted, on the disk; the
// record naming the version before.
bool PrepareFolder(fw::PayloadStore& payload, fw::RegistryStore& registry, const std::string& folder, bool oldFiles) {
    kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.35");
    MakeFolders(folder);
    RemoveFiles(folder);
    for (std::size_t i = 0; oldFiles && i < payload::CatalogueSize(); ++i) {
        fw::Blob item;
        if (!FindItem(payload, i, item)) return false;
        std::vector<unsigned char> old(static_cast<const unsigned char*>(item.data),
                                       static_cast<const unsigned char*>(item.data) + item.size);
        for (unsigned char& byte : old) byte = static_cast<unsigned char>(~byte);
        if (!WriteFlushed(folder + payload::Catalogue()[i].targetPath, old.data(), old.size())) return false;
    }
    return true;
}

// What a safe write of the items the run writes needs at least: each
// written to a temporary name, flushed, and renamed over its target. Like
// the run, it keeps a present target that is written only when missing.
bool WriteReference(fw::PayloadStore& payload, const std::string& folder) {
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        fw::Blob item;
        const std::string target = folder + payload::Catalogue()[i].targetPath, temp = target + ".tmp";
        if (payload::Catalogue()[i].rule == payload::WriteRule::OnlyIfMissing &&
            GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (!FindItem(payload, i, item) || !WriteFlushed(temp, item.data, item.size) ||
            !MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            return false;
    }
    return true;
}

double g_boxShown = 0;  // when CloseInformationBox saw the box

DWORD WINAPI CloseInformationBox(void*) {
    for (int i = 0; i < 5000; ++i) {
        HWND box = FindWindowA("#32770", "Information");
        if (box && IsWindowVisible(box)) {
            g_boxShown = Now();
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(1);
    }
    return 1;
}

// The time from asking for an Information box to the box being on screen,
// which every click of the kit ends with; a second thread closes it.
double InformationBoxTime() {
    const double start = Now();
    HANDLE closer = CreateThread(nullptr, 0, &CloseInformationBox, nullptr, 0, nullptr);
    MessageBoxA(nullptr, "Meridal - 2013 a fost actualizata.", "Information", MB_OK | MB_ICONINFORMATION);
    WaitForSingleObject(closer, INFINITE);
    CloseHandle(closer);
    return g_boxShown - start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// What is timed of each run, in the order it runs.
enum Phase { FirstUpgrade, NextUpgrade, Undo, Reference, Phases };
const char* const kPhaseNames[Phases] = {"first upgrade (nothing kept yet)", "next upgrade (replaces the kept)",
                                         "undo run right after it", "temporary name, flush, rename"};
const char* const kRatioNames[Reference] = {"first upgrade / reference", "next upgrade / reference",
                                            "undo / reference"};

// The figures of one kind of folder.
struct Figures {
    const char* folder;
    bool oldFiles;
    std::vector<double> times[Phases];
    std::map<std::string, Step> steps[Phases];  // mean of the runs
};

// Times one phase of a run, and adds its steps to their means.
template <typename Call>
bool TimePhase(Figures& kind, Phase phase, int runs, Call call) {
    g_steps.clear();
    const double start = Now();
    const bool done = call();
    kind.times[phase].push_back(Now() - start);
    for (const auto& step : g_steps) {
        kind.steps[phase][step.first].ms += step.second.ms / runs;
        kind.steps[phase][step.first].count = step.second.count;
    }
    return done;
}

void PrintSteps(const char* title, Figures (&figures)[2], Phase phase) {
    std::printf("%-34s %21s %21s\n", title, figures[0].folder, figures[1].folder);
    // A kind of step one folder never needs shows 0 calls there.
    std::set<std::string> names;
    for (const Figures& kind : figures)
        for (const auto& step : kind.steps[phase]) names.insert(step.first);
    for (const std::string& name : names) {
        const Step& empty = figures[0].steps[phase][name];
        const Step& old = figures[1].steps[phase][name];
        std::printf("  %-32s %8.2f ms %3d calls %8.2f ms %3d calls\n", name.c_str(), empty.ms, empty.count, old.ms,
                    old.count);
    }
}

}  // namespace

int main() {
    const int runs = 15;
    const std::string folder = "C:\\BenchSteps", plain = "C:\\BenchPlain";
    fw::ModuleResources payload;
    TimedFileSystem files;
    fw::Win32Registry registry;
    NoWindow window;
    kit::UpgradeServices services{payload, files, registry, window};
    Figures figures[] = {{"empty folder", false, {}, {}}, {"old files", true, {}, {}}};
    const auto upgrade = [&] { return kit::RunUpgrade(services, folder) == kit::RunOutcome::Upgraded; };
    // The two kinds take turns, so a change of the machine's pace meets both.
    for (int run = 0; run < runs; ++run) {
        for (Figures& kind : figures) {
            const auto prepare = [&](const std::string& path) {
                if (PrepareFolder(payload, registry, path, kind.oldFiles)) return true;
                std::printf("error: the folder %s could not be prepared (system code %lu)\n", path.c_str(),
                            GetLastError());
                return false;
            };
            // The first upgrade keeps what it replaced; the second, into the
            // folder as it was, replaces that kept version with its own.
            if (!prepare(folder) || !TimePhase(kind, FirstUpgrade, runs, upgrade) || !prepare(folder) ||
                !TimePhase(kind, NextUpgrade, runs, upgrade)) {
                std::printf("error: the upgrade didn't complete\n");
                return 1;
            }
            if (!TimePhase(kind, Undo, runs,
                           [&] { return kit::RunUndo(files, registry, window, folder) == kit::RunOutcome::Undone; })) {
                std::printf("error: the undo didn't complete\n");
                return 1;
            }
            if (!prepare(plain) || !TimePhase(kind, Reference, runs, [&] { return WriteReference(payload, plain); })) {
                std::printf("error: the reference write failed (system code %lu)\n", GetLastError());
                return 1;
            }
        }
    }
    std::printf("\n=== upgrade and undo runs without their window (%d runs, median) ===\n", runs);
    std::printf("%-34s %14s %14s\n", "", figures[0].folder, figures[1].folder);
    for (int phase = 0; phase < Phases; ++phase)
        std::printf("%-34s %11.1f ms %11.1f ms\n", kPhaseNames[phase], Median(figures[0].times[phase]),
                    Median(figures[1].times[phase]));
    for (int phase = 0; phase < Reference; ++phase)
        std::printf("ratio %-28s %14.2f %14.2f\n", kRatioNames[phase],
                    Median(figures[0].times[phase]) / Median(figures[0].times[Reference]),
                    Median(figures[1].times[phase]) / Median(figures[1].times[Reference]));
    std::vector<double> boxes;
    for (int run = 0; run < runs; ++run) boxes.push_back(InformationBoxTime());
    std::printf("%-34s %11.1f ms\n", "Information box, asked to shown", Median(boxes));
    PrintSteps("next upgrade, per step (mean):", figures, NextUpgrade);
    PrintSteps("undo, per step (mean):", figures, Undo);
    return 0;
}
