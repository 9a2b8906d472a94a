// Times, under Wine, the kit's upgrade (click to the Information box)
// against a plain copy, a plain flushed write, and a flushed write to a
// temporary name renamed into place, of the same ten files, the kit's check
// of its payload and the wait from its window to the armed button, and
// prints the kit's private memory idle and during the run. Figures, not a
// test: slowness never fails it. Run by tools/bench_upgrade.sh:
//   bench_upgrade.exe <path of MeridalUpgrade.exe>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/KitHarness.h"
#include "framework/PayloadStore.h"
#include "kit/upgrade/PayloadCheck.h"

using namespace e2e;

namespace {

std::string g_kitPath;  // Windows path of MeridalUpgrade.exe
Payload g_payload;

const char kFolder[] = "C:\\Apps\\Meridal";
const char kOldVersion[] = "Meridal - 2013 v.2.35";

// An empty installation folder with its Data subfolder.
void PrepareFolder(const std::string& folder, bool withData) {
    RemoveTree(folder);
    MakeFolders(withData ? folder + "\\Data" : folder);
    Check(IsFolder(folder), "folder " + folder + " prepared");
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Starts the kit on the installation and waits until the check arms the
// upgrade button; notes how long that took after the window showed.
bool StartArmed(Kit& kit, std::vector<double>& shownToArmed) {
    if (!kit.Start(g_kitPath)) return false;
    LARGE_INTEGER shown, armed;
    QueryPerformanceCounter(&shown);
    if (!Check(WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }), "upgrade button armed")) return false;
    QueryPerformanceCounter(&armed);
    shownToArmed.push_back(Milliseconds(shown, armed));
    return true;
}

// The kit's resources as the kit finds its own, from its file loaded as an
// image, so its payload check can be timed here.
class KitResources : public fw::PayloadStore {
public:
    explicit KitResources(const std::string& kitPath)
        : module_(LoadLibraryExA(kitPath.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~KitResources() override {
        if (module_) FreeLibrary(module_);
    }
    KitResources(const KitResources&) = delete;
    KitResources& operator=(const KitResources&) = delete;
    bool Loaded() const { return module_ != nullptr; }
    fw::Result Find(const std::string& type, const std::string& name, fw::Blob& blob) override {
        HRSRC info = FindResourceA(module_, name.c_str(), type.c_str());
        HGLOBAL loaded = info ? LoadResource(module_, info) : nullptr;
        blob.data = loaded ? LockResource(loaded) : nullptr;
        SetLastError(ERROR_SUCCESS);
        blob.size = blob.data ? SizeofResource(module_, info) : 0;
        const DWORD code = GetLastError();  // 0 for an empty resource found
        return blob.data && code == ERROR_SUCCESS ? fw::Result::Success() : fw::Result::Failure(code, "not found");
    }

private:
    HMODULE module_;
};

bool MemoryOf(HANDLE process, PROCESS_MEMORY_COUNTERS_EX& counters) {
    counters = PROCESS_MEMORY_COUNTERS_EX();
    counters.cb = sizeof counters;
    return K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters) !=
           FALSE;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double KiB(SIZE_T bytes) { return static_cast<double>(bytes) / 1024.0; }

// Times the kit's upgrade (click to the Information box) against copying the
// same ten files, and reports the kit's private memory. Prints, never fails on figures.
void RunBenchmark() {
    const int runs = 5;
    const std::string bench = "C:\\Bench";
    std::vector<double> upgrades, clickToLog, copies, writes, safeWrites, shownToArmed, checks;
    PROCESS_MEMORY_COUNTERS_EX idle = {}, after = {};
    for (int run = 0; run < runs; ++run) {
        SetRecord(kFolder, kOldVersion);
        PrepareFolder(kFolder, true);
        Kit kit;
        if (!StartArmed(kit, shownToArmed)) return;
        MovePointerAway();
        Sleep(300);  // let the idle kit settle before measuring it
        Check(MemoryOf(kit.Process(), idle), "memory counters of the idle kit");
        const POINT p = CentreOf(kit.upgrade);
        MovePointer(p);
        INPUT press[2] = {PointerAt(p.x, p.y, MOUSEEVENTF_LEFTDOWN), PointerAt(p.x, p.y, MOUSEEVENTF_LEFTUP)};
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        SendInput(2, press, sizeof press[0]);
        HWND box = nullptr;
        LARGE_INTEGER logged = {};  // when the log said the files were done
        const DWORD begun = GetTickCount();
        for (;;) {
            box = FindTopLevel(kit.Pid(), "#32770");
            if (!logged.QuadPart && kit.LogText().find("Versiune actualizata.") != std::string::npos)
                QueryPerformanceCounter(&logged);
            if (box || GetTickCount() - begun > 30000) break;
            Sleep(1);
        }
        QueryPerformanceCounter(&end);
        if (!Check(box != nullptr && TextOf(box) == "Information", "upgrade ends with the Information box")) return;
        upgrades.push_back(Milliseconds(start, end));
        if (logged.QuadPart) clickToLog.push_back(Milliseconds(start, logged));
        MemoryOf(kit.Process(), after);
    }

    // The same ten files: extracted once, then copied; or written from memory
    // with a flush each, which is the kit's own work without its window.
    const std::string source = bench + "\\src";
    PrepareFolder(source, true);
    for (const CatalogueEntry& entry : kCatalogue) WriteBytes(source + entry.path, g_payload.Item(entry.code));
    std::vector<std::string> items;
    for (const CatalogueEntry& entry : kCatalogue) items.push_back(g_payload.Item(entry.code));
    for (int run = 0; run < runs; ++run) {
        const std::string target = bench + "\\copy" + std::to_string(run);
        PrepareFolder(target, true);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        bool ok = true;
        for (const CatalogueEntry& entry : kCatalogue)
            ok = CopyFileA((source + entry.path).c_str(), (target + entry.path).c_str(), FALSE) && ok;
        QueryPerformanceCounter(&end);
        Check(ok, "plain copy of the ten files");
        copies.push_back(Milliseconds(start, end));

        const std::string written = bench + "\\write" + std::to_string(run);
        PrepareFolder(written, true);
        QueryPerformanceCounter(&start);
        ok = true;
        for (std::size_t i = 0; i < items.size(); ++i)
            ok = WriteBytes(written + kCatalogue[i].path, items[i], true) && ok;
        QueryPerformanceCounter(&end);
        Check(ok, "plain write of the ten items from memory");
        writes.push_back(Milliseconds(start, end));

        // What a safe write needs at least: each file written to a temporary
        // name, flushed and renamed into place.
        const std::string renamed = bench + "\\rename" + std::to_string(run);
        PrepareFolder(renamed, true);
        QueryPerformanceCounter(&start);
        ok = true;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string item = renamed + kCatalogue[i].path, temp = item + ".tmp";
            ok = WriteBytes(temp, items[i], true) &&
                 MoveFileExA(temp.c_str(), item.c_str(), MOVEFILE_REPLACE_EXISTING) && ok;
        }
        QueryPerformanceCounter(&end);
        Check(ok, "write to a temporary name, flush and rename of the ten items");
        safeWrites.push_back(Milliseconds(start, end));
    }
    RemoveTree(bench);

    // The kit's check of its ten items against their checksums, as it runs
    // in the second before the version check; the first run also reads the
    // items' pages from the file.
    KitResources resources(g_kitPath);
    if (!Check(resources.Loaded(), "kit loaded as an image for its payload check")) return;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const char* damaged = kit::FindDamagedItem(resources);
        QueryPerformanceCounter(&end);
        if (!Check(damaged == nullptr, "the kit's payload matches its checksums", damaged ? damaged : "")) return;
        checks.push_back(Milliseconds(start, end));
    }

    auto show = [&](const char* what, const std::vector<double>& values) {
        std::printf("%-42s", what);
        for (double v : values) std::printf(" %8.1f", v);
        std::printf("   median %8.1f ms\n", Median(values));
    };
    std::printf("\n=== upgrade benchmark (%d runs, ten files, %.0f KiB) ===\n", runs,
                KiB(static_cast<SIZE_T>(7256064 + 30821 + 8862 + 3041 + 584 + 552 + 546 + 450 + 450 + 8697)));
    show("kit upgrade, click to Information box", upgrades);
    show("kit upgrade, click to its last log line", clickToLog);
    show("CopyFileA of the ten files", copies);
    show("CreateFile+WriteFile+Flush from memory", writes);
    show("the same to a temporary name, then renamed", safeWrites);
    show("payload check, CRC-32 of the ten items", checks);
    show("window shown to upgrade button armed", shownToArmed);
    std::printf("ratio kit / copy  %.2f\n", Median(copies) > 0 ? Median(upgrades) / Median(copies) : 0.0);
    std::printf("ratio kit / write %.2f\n", Median(writes) > 0 ? Median(upgrades) / Median(writes) : 0.0);
    std::printf("ratio kit / temporary and rename %.2f\n",
                Median(safeWrites) > 0 ? Median(upgrades) / Median(safeWrites) : 0.0);
    // PagefileUsage is the private commit; Wine leaves PrivateUsage at 0 for another process.
    std::printf("kit private memory, idle:        %9.0f KiB (peak so far %9.0f KiB)\n", KiB(idle.PagefileUsage),
                KiB(idle.PeakPagefileUsage));
    std::printf("kit private memory, after run:   %9.0f KiB (peak       %9.0f KiB)\n", KiB(after.PagefileUsage),
                KiB(after.PeakPagefileUsage));
    std::printf("peak during the run above idle:  %9.0f KiB\n", KiB(after.PeakPagefileUsage) - KiB(idle.PagefileUsage));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_upgrade <path of MeridalUpgrade.exe>\n");
        return 2;
    }
    PrintPasses() = false;  // the figures, and failures only
    g_kitPath = ToWindowsPath(argv[1]);
    if (Check(g_payload.Open(g_kitPath), "kit executable loaded as data: " + g_kitPath)) RunBenchmark();
    return Failures() ? 1 : 0;
}
