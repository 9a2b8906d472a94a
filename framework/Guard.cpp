#include "framework/Guard.h"

#include "framework/Error.h"

namespace fw {

namespace {
void (*g_report)(const std::exception& failure) = nullptr;
}  // namespace

void SetGuardReport(void (*report)(const std::exception& failure)) { g_report = report; }

bool RunGuarded(void (*run)(void* context), void* context) noexcept {
    try {
        run(context);
        return true;
    } catch (const std::exception& failure) {
        if (g_report) g_report(failure);
    } catch (...) {
        if (g_report) g_report(Error("Unknown failure"));
    }
    return false;
}

}  // namespace fw
