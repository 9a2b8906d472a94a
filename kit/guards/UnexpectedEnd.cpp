#include "kit/guards/ProcessGuards.h"

#include <windows.h>

#include <exception>

#include "framework/HexDigits.h"

namespace kit {

namespace {

void (*g_report)(const std::string& text) = nullptr;
UINT g_exitCode = 0;
LONG g_ending = 0;

// Reports once, also when the report itself fails or ends the same way,
// then ends at once: no destructors or exit handlers run in a broken
// process, and every log line is already on the disk.
[[noreturn]] void End(const char* text) noexcept {
    if (InterlockedExchange(&g_ending, 1) == 0 && g_report) {
        try {
            g_report(text);
        } catch (...) {}
    }
    TerminateProcess(GetCurrentProcess(), g_exitCode);
    ExitProcess(g_exitCode);  // not reached
}

// The exception being handled, if any, stays alive while terminate runs,
// and with it the text its what() gives. Rethrowing where there is none
// calls terminate again, which then ends without the exception's text.
[[noreturn]] void Terminated() noexcept {
    static bool asked = false;
    const char* text = "Unknown failure";
    if (!asked) {
        asked = true;
        try {
            throw;
        } catch (const std::exception& failure) {
            text = failure.what();
        } catch (...) {}
    }
    End(text);
}

LONG WINAPI Unhandled(EXCEPTION_POINTERS* exception) noexcept {
    // "Unexpected failure 0xC0000005", built in place: the heap may be what broke.
    char text[] = "Unexpected failure 0x00000000";
    const DWORD code = exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode : 0;
    for (int i = 0; i < 8; ++i) text[sizeof text - 2 - i] = fw::HexDigit(code >> (4 * i));
    End(text);
}

}  // namespace

void EndUnexpectedFailures(void (*report)(const std::string& text), unsigned exitCode) {
    g_report = report;
    g_exitCode = exitCode;
    std::set_terminate(&Terminated);
    SetUnhandledExceptionFilter(&Unhandled);
}

}  // namespace kit
