// The real kit as the end-to-end driver and the upgrade benchmark work it:
// its installation record, the files of an installation, the payload it
// carries, real input, and the kit's process and windows.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "driver/Win32TestSupport.h"

namespace e2e {

using namespace testsupport;

//=== Text ====================================================================

// Paths and texts are UTF-8 here, as in the kit; the W functions get them
// as UTF-16, so folders of any name work.
inline std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                             &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

inline std::string Utf8(const std::wstring& wide) {
    std::string text(wide.size() * 3 + 1, '\0');
    text.resize(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                                     static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

//=== Installation record =====================================================

const char kRecordKey[] = "Software\\Varnoti\\82";
const char kVendorKey[] = "Software\\Varnoti";
// The record lives in the 32-bit view, where the 32-bit application's
// installer writes it; a 64-bit prefix also has a 64-bit view.
const REGSAM kRecordView = KEY_WOW64_32KEY;

inline void DeleteRecord(REGSAM view = kRecordView) {
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, view, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kVendorKey, view, 0);
}

inline bool SetRecordValue(const char* name, DWORD type, const void* data, DWORD size, REGSAM view = kRecordView) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | view,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

inline bool SetRecordText(const char* name, const std::string& text, REGSAM view = kRecordView) {
    return SetRecordValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1), view);
}

inline bool SetRecordNumber(const char* name, DWORD value) {
    return SetRecordValue(name, REG_DWORD, &value, sizeof value);
}

// The record as the application's installer leaves it; an empty value is left out.
inline bool SetRecord(const std::string& folder, const std::string& version) {
    DeleteRecord();
    bool ok = true;
    if (!folder.empty()) ok = SetRecordText("CALE", folder) && ok;
    if (!version.empty()) ok = SetRecordText("VER", version) && ok;
    return Check(ok, "record prepared: CALE " + Quoted(folder) + ", VER " + Quoted(version));
}

// Reads a string value; false when the key or the value is missing.
inline bool ReadRecordText(const char* name, std::string& text, REGSAM view = kRecordView) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    // Read as UTF-16, as the system keeps it.
    const std::wstring wideName = Wide(name);
    DWORD type = 0, size = 0;
    bool ok =
        RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ;
    if (ok) {
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        ok = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) ==
             ERROR_SUCCESS;
        text = Utf8(data.substr(0, data.find(L'\0')));
    }
    RegCloseKey(key);
    return ok;
}

inline void CheckRecordedVersion(const std::string& expected) {
    std::string version;
    if (Check(ReadRecordText("VER", version), "VER is readable as a string")) CheckText("VER", version, expected);
}

//=== Files ===================================================================

inline bool Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool ReadBytes(const std::string& path, std::string& bytes) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    for (;;) {
        ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE;
        if (!ok || got == 0) break;
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

inline bool WriteBytes(const std::string& path, const std::string& bytes, bool flush = false) {
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                written == bytes.size());
    if (flush) ok = FlushFileBuffers(file) && ok;
    CloseHandle(file);
    return ok;
}

inline std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Utf8(data.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

inline bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline void RemoveTree(const std::string& path) {
    if (IsFolder(path)) {
        for (const std::string& name : ListFolder(path)) RemoveTree(path + "\\" + name);
        RemoveDirectoryW(Wide(path).c_str());
    } else if (Exists(path)) {
        SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Wide(path).c_str());
    }
}

inline void MakeFolders(const std::string& path) {
    for (std::size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\') CreateDirectoryW(Wide(path.substr(0, i)).c_str(), nullptr);
}

// Every file below the folder whose name ends in ".tmp", with its path.
inline void FindTempFiles(const std::string& folder, std::vector<std::string>& found) {
    for (const std::string& name : ListFolder(folder)) {
        const std::string path = folder + "\\" + name;
        if (IsFolder(path)) FindTempFiles(path, found);
        else if (name.size() >= 4 && _stricmp(name.c_str() + name.size() - 4, ".tmp") == 0) found.push_back(path);
    }
}

inline void CheckNoTempFiles(const std::string& folder) {
    std::vector<std::string> found;
    FindTempFiles(folder, found);
    std::string names;
    for (const std::string& path : found) names += " " + path;
    Check(found.empty(), "no temporary file left below " + folder, "found:" + names);
}

inline void CheckFileBytes(const std::string& path, const std::string& expected, const std::string& what) {
    std::string actual;
    if (!Check(ReadBytes(path, actual), path + " exists")) return;
    Check(actual == expected, path + " " + what,
          "size " + std::to_string(actual.size()) + ", expected " + std::to_string(expected.size()) +
              (actual.size() == expected.size() ? " with other bytes" : ""));
}

inline void CheckFolderContents(const std::string& folder, const std::vector<std::string>& expected) {
    std::vector<std::string> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    std::string listing;
    for (const std::string& name : ListFolder(folder)) listing += " " + name;
    Check(ListFolder(folder) == sorted, folder + " holds exactly the expected files", "holds:" + listing);
}

//=== The kit's own payload ===================================================

struct CatalogueEntry {
    const char* code;
    const char* path;  // below the installation folder
    bool onlyIfMissing;
    DWORD size;  // 0: as large as the item, whatever it is
};

// In the order the upgrade writes them. An independent list on purpose: the
// kit's own catalogue is what these tests check.
const CatalogueEntry kCatalogue[] = {
    {"MERIDAL", "\\Meridal_2013.exe", false, 7256064},
    {"RP", "\\Data\\raport.rtf", true, 0},
    {"A3", "\\Data\\Anx3.rtf", false, 0},
    {"AD", "\\Data\\Adev1.rtf", true, 0},
    {"MT", "\\modeltrz.dbf", false, 584},
    {"MF", "\\ModelFin.dbf", false, 552},
    {"A1", "\\1a.dbf", false, 546},
    {"B1", "\\1b.dbf", false, 450},
    {"C1", "\\1c.dbf", false, 450},
    {"MC", "\\Data\\ModelComunicare.rtf", true, 0},
};

class Payload {
public:
    bool Open(const std::string& kitPath) {
        module_ = LoadLibraryExA(kitPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        return module_ != nullptr;
    }
    ~Payload() {
        if (module_) FreeLibrary(module_);
    }
    bool Item(const char* code, std::string& bytes) const {
        HRSRC resource = FindResourceA(module_, "UPGRADE", code);
        if (!resource) return false;
        HGLOBAL loaded = LoadResource(module_, resource);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        const DWORD size = data ? SizeofResource(module_, resource) : 0;
        if (size == 0) return false;  // every item has bytes: 0 is a failure
        bytes.assign(static_cast<const char*>(data), size);
        return true;
    }
    std::string Item(const char* code) const {
        std::string bytes;
        Item(code, bytes);
        return bytes;
    }

private:
    HMODULE module_ = nullptr;
};

//=== Input ===================================================================

inline POINT CentreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return p;
}

inline INPUT PointerAt(int x, int y, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

inline void MovePointer(POINT p) {
    INPUT move = PointerAt(p.x, p.y, MOUSEEVENTF_MOVE);
    SendInput(1, &move, sizeof move);
    WaitUntil(
        [&] {
            POINT now;
            return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
        },
        2000);
}

// A real click: the pointer moves there, the button goes down and up.
inline void ClickOn(HWND window) {
    const POINT p = CentreOf(window);
    MovePointer(p);
    INPUT press[2] = {PointerAt(p.x, p.y, MOUSEEVENTF_LEFTDOWN), PointerAt(p.x, p.y, MOUSEEVENTF_LEFTUP)};
    SendInput(2, press, sizeof press[0]);
}

// Somewhere on the bare screen, away from the kit's centred window.
inline void MovePointerAway() {
    POINT corner = {3, 3};
    MovePointer(corner);
}

inline void PressKey(WORD key) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = key;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof keys[0]);
}

//=== Windows of the kit ======================================================

inline std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::string TextOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return Utf8(text);
}

struct WindowSearch {
    DWORD pid;
    const char* className;  // null: of any class (top-level windows only)
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window) && (!search->className || ClassOf(window) == search->className))
        search->found.push_back(window);
    return TRUE;
}

inline BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (_stricmp(ClassOf(window).c_str(), search->className) == 0) search->found.push_back(window);
    return TRUE;
}

inline HWND FindTopLevel(DWORD pid, const char* className) {
    WindowSearch search = {pid, className, {}};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

inline std::vector<HWND> FindChildren(HWND parent, const char* className) {
    WindowSearch search = {0, className, {}};
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string ToWindowsPath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path;
    std::string out = "Z:" + path;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

inline std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }
inline std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// A message box: its caption, its text and its OK button.
struct Dialog {
    HWND box = nullptr;
    std::string caption, text;
};

// A program the driver starts besides the kit and ends when done with it.
class Child {
public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { End(); }

    bool Start(const std::string& what, const std::string& exe, const std::string& arguments = std::string(),
               const char* folder = nullptr) {
        return Start(what, exe, Wide(arguments), folder);
    }
    // The arguments as UTF-16, which may hold what no UTF-8 text can.
    bool Start(const std::string& what, const std::string& exe, const std::wstring& arguments,
               const char* folder = nullptr) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::wstring command = Wide("\"" + exe + "\"") + (arguments.empty() ? L"" : L" " + arguments);
        started_ = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  folder ? Wide(folder).c_str() : nullptr, &startup, &process_) != FALSE;
        return Check(started_, what + " started", "CreateProcess error " + std::to_string(GetLastError()));
    }

    DWORD Pid() const { return process_.dwProcessId; }
    DWORD MainThread() const { return process_.dwThreadId; }
    HANDLE Handle() const { return process_.hProcess; }
    bool Running() const { return started_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD timeoutMs = 5000) const {
        return started_ && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }

    // Ends it: a window of its own is asked to close first.
    void End(HWND window = nullptr) {
        if (!started_) return;
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        if (!window || !WaitForExit()) TerminateProcess(process_.hProcess, 1);
        WaitForExit();
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        started_ = false;
    }

private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

class Kit {
public:
    HWND form = nullptr, panel = nullptr, log = nullptr, upgrade = nullptr, close = nullptr;

    ~Kit() { End(); }

    // Starts the kit with the arguments; waits for nothing.
    bool Launch(const std::string& exe, const std::string& arguments = std::string()) {
        return process_.Start("kit", exe, arguments, "C:\\");
    }

    // Starts the kit and waits for its window and controls.
    bool Start(const std::string& exe, const std::string& arguments = std::string()) {
        if (!Launch(exe, arguments)) return false;
        if (!Check(WaitUntil([&] { return (form = FindTopLevel(process_.Pid(), "TForm1")) != nullptr; }),
                   "kit window TForm1 visible"))
            return false;
        shownAt_ = GetTickCount();
        std::vector<HWND> panels = FindChildren(form, "TPanel");
        if (!panels.empty()) panel = panels.front();
        std::vector<HWND> edits = panel ? FindChildren(panel, "EDIT") : std::vector<HWND>();
        if (!edits.empty()) log = edits.front();
        std::vector<HWND> buttons = panel ? FindChildren(panel, "TLbSpeedButton") : std::vector<HWND>();
        std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) { return CentreOf(a).x < CentreOf(b).x; });
        if (buttons.size() == 2) upgrade = buttons[0], close = buttons[1];
        return Check(panel && log && upgrade && close, "panel, log and two buttons found",
                     "panel " + std::to_string(panel != nullptr) + ", log " + std::to_string(log != nullptr) +
                         ", buttons " + std::to_string(buttons.size()));
    }

    DWORD Pid() const { return process_.Pid(); }
    // When the driver first saw the window; the kit starts its one-second
    // timer for the version check before it shows the window.
    DWORD ShownAt() const { return shownAt_; }
    DWORD GuiThread() const { return process_.MainThread(); }
    HANDLE Process() const { return process_.Handle(); }
    bool Running() const { return process_.Running(); }

    // Read as UTF-16, as the log holds it.
    std::string LogText() const {
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(log, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return "<no answer>";
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(log, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000,
                            &copied);
        text.resize(copied);
        return Utf8(text);
    }

    // The log's lines; each line of the log ends with CR LF.
    std::vector<std::string> LogLines() const {
        const std::string text = LogText();
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        if (start < text.size()) lines.push_back(text.substr(start) + "<no line end>");
        return lines;
    }

    // The version check has run once the log has text: it writes its lines
    // and sets the buttons in one go on the kit's GUI thread.
    bool WaitForCheck() {
        return Check(WaitUntil([&] { return !LogText().empty(); }), "version check ran (log written)");
    }

    bool WaitForDialog(Dialog& dialog, DWORD timeoutMs = 15000) const {
        if (!WaitUntil([&] { return (dialog.box = FindTopLevel(Pid(), "#32770")) != nullptr; }, timeoutMs))
            return false;
        dialog.caption = TextOf(dialog.box);
        wchar_t text[2048] = {};
        GetDlgItemTextW(dialog.box, 0xFFFF, text, 2048);
        dialog.text = Utf8(text);
        return true;
    }

    bool NoDialog() const { return FindTopLevel(Pid(), "#32770") == nullptr; }

    // The window with the keyboard focus in the kit's GUI thread.
    HWND Focus() const {
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof gui;
        return GetGUIThreadInfo(GuiThread(), &gui) ? gui.hwndFocus : nullptr;
    }

    // The kit's GUI thread takes sent messages before posted ones and
    // timers. Once three WM_NULL round trips have gone through it one after
    // another, what was posted or due before them has been handled (a modal
    // box's loop answers them too). Not so input, which under Wine may come
    // later: see InputHandled.
    bool CaughtUp() const {
        for (int i = 0; i < 3; ++i) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result)) return false;
        }
        return true;
    }

    // Where Tab moves the focus from the window given: the log, the upgrade
    // button when enabled, the close button, and round again.
    HWND NextByTab(HWND from) const {
        if (from == log) return IsWindowEnabled(upgrade) ? upgrade : close;
        return from == upgrade ? close : log;
    }

    // Keys, moves and clicks reach the kit through one input queue, in the
    // order they were made: once a Tab pressed after them has moved the focus
    // on from where it was before them, the kit has handled all of them.
    bool InputHandled(HWND focusBefore) const {
        if (GetForegroundWindow() != form) SetForegroundWindow(form);
        PressKey(VK_TAB);
        const HWND next = NextByTab(focusBefore);
        return WaitUntil([&] { return Focus() == next; });
    }

    bool PressOk(const Dialog& dialog) const {
        HWND ok = GetDlgItem(dialog.box, IDOK);
        DWORD_PTR result = 0;
        if (ok) SendMessageTimeoutA(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        return Check(ok && WaitUntil([&] { return !IsWindow(dialog.box) || !IsWindowVisible(dialog.box); }),
                     "OK closes the box");
    }

    bool WaitForExit(DWORD& code) const {
        if (!process_.WaitForExit(15000)) return false;
        GetExitCodeProcess(process_.Handle(), &code);
        return true;
    }

    void CheckEndsWithZero(const std::string& how) const {
        DWORD code = 1;
        if (Check(WaitForExit(code), how + " ends the kit"))
            Check(code == 0, "exit code 0", "got " + std::to_string(code));
    }

    // Ends a kit that is still running, politely first.
    void End() { process_.End(form); }

private:
    Child process_;
    DWORD shownAt_ = 0;
};

}  // namespace e2e
