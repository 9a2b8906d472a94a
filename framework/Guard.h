// The one guard at the edge of every window procedure, timer and tick: runs
// a call and hands any failure to the failure report instead of letting it
// cross back into Windows.
#pragma once

#include <exception>
#include <type_traits>

namespace fw {

// Where the guard sends failures: the application's error report, which
// sets itself here when it is first used.
void SetGuardReport(void (*report)(const std::exception& failure));

// Runs run(context); false when it failed. A failure of the report itself
// (memory running out while the report is made) can't be told in the window
// and ends the process as an unexpected failure, which still tells it.
bool RunGuarded(void (*run)(void* context), void* context) noexcept;
template <typename Call>
bool CallGuarded(Call&& call) noexcept {
    using Target = std::remove_reference_t<Call>;
    return RunGuarded([](void* context) { (*static_cast<Target*>(context))(); }, static_cast<void*>(&call));
}

}  // namespace fw
