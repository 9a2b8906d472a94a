// Hardening that must be in force before any other code of the kit runs,
// the C runtime's start-up included: the stack protector seeds itself
// through the crypto API, which loads a provider DLL by its bare name. The
// kit runs elevated, often from a downloads folder where anybody may have
// left a DLL of that name, so DLLs come from System32 only. And junctions
// made by users who are no administrators are not followed, where the
// system offers that guard.
//
// A TLS callback is the earliest code of the executable the loader runs:
// before the entry point and every static initialiser.
#include "kit/guards/ProcessGuards.h"

#include <windows.h>

#include "framework/SystemFunction.h"
#include "kit/KitTexts.h"

namespace {

// Set once, before any thread but the first exists.
struct {
    bool dllSearchRestricted;
    bool redirectionGuard;
} g_hardening = {false, false};

// PROCESS_MITIGATION_POLICY value and flag of the redirection guard, which
// older SDK headers don't name.
const int kProcessRedirectionTrustPolicy = 16;
const DWORD kEnforceRedirectionTrust = 1;

void HardenProcess() {
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    if (auto restrict = fw::SystemFunction<SetDefaultDllDirectoriesCall>(L"kernel32.dll", "SetDefaultDllDirectories"))
        g_hardening.dllSearchRestricted = restrict(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;

    // Asked back rather than taken from the setting call: a system may
    // accept the policy and not apply it.
    using SetProcessMitigationPolicyCall = BOOL(WINAPI*)(int, PVOID, SIZE_T);
    using GetProcessMitigationPolicyCall = BOOL(WINAPI*)(HANDLE, int, PVOID, SIZE_T);
    auto mitigate = fw::SystemFunction<SetProcessMitigationPolicyCall>(L"kernel32.dll", "SetProcessMitigationPolicy");
    auto ask = fw::SystemFunction<GetProcessMitigationPolicyCall>(L"kernel32.dll", "GetProcessMitigationPolicy");
    DWORD redirectionTrust = kEnforceRedirectionTrust, inForce = 0;
    // A system that lacks the policy refuses it; the log then says the guard
    // is not in force. There is nothing else to tell so early.
    g_hardening.redirectionGuard =
        mitigate && ask && mitigate(kProcessRedirectionTrustPolicy, &redirectionTrust, sizeof redirectionTrust) &&
        ask(GetCurrentProcess(), kProcessRedirectionTrustPolicy, &inForce, sizeof inForce) &&
        (inForce & kEnforceRedirectionTrust) != 0;
}

// Nothing in it raises: it runs before the runtime could catch anything.
void NTAPI OnProcessAttach(PVOID, DWORD reason, PVOID) noexcept {
    if (reason == DLL_PROCESS_ATTACH) HardenProcess();
}

}  // namespace

std::string kit::HardeningLine() {
    return text::ProtectionsLine(g_hardening.dllSearchRestricted, g_hardening.redirectionGuard);
}

// The callback's entry in the executable's TLS callback list (.CRT$XLB sorts
// between the runtime's start and end markers).
#if defined(_MSC_VER)
#if defined(_M_IX86)
#pragma comment(linker, "/INCLUDE:__tls_used")
#pragma comment(linker, "/INCLUDE:_kitHardenProcess")
#else
#pragma comment(linker, "/INCLUDE:_tls_used")
#pragma comment(linker, "/INCLUDE:kitHardenProcess")
#endif
#pragma const_seg(".CRT$XLB")
extern "C" const PIMAGE_TLS_CALLBACK kitHardenProcess = OnProcessAttach;
#pragma const_seg()
#else
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK kitHardenProcess = OnProcessAttach;
#endif
