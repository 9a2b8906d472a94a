// The fade ticker on real threads: leaving a SlowDecease button repaints it
// eight times about 30 ms apart, then the ticker idles; stopping the ticker
// or destroying the button mid-fade returns promptly, also when the ticker
// is waiting for the GUI thread at that moment. Bounds are generous: this
// checks behaviour, not timing precision.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "controls/LbSpeedButton.h"
#include "kit/window/KitButtonLook.h"
#include "wine/LbWineSupport.h"

using namespace lb;
using lbtest::Check;

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Serves messages (the ticks among them) for the given time, calling watch
// after each wake-up.
template <typename Watch>
void RunFor(double ms, Watch watch) {
    const double end = NowMs() + ms;
    while (NowMs() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT | QS_SENDMESSAGE);
        lbtest::PumpMessages();
        watch();
    }
}

std::unique_ptr<TLbSpeedButton> MakeFadingButton(HWND panel) {
    auto button = std::make_unique<TLbSpeedButton>();
    button->SetCaption("Inchide");
    kit::ApplyKitButtonLook(*button);
    button->Create(panel, 300, 120, 108, 31);
    button->SetSlowDecease(true);
    return button;
}

TColor InnerOutlineOnScreen(HWND button) { return GetPixel(fw::window_dc(button).get(), 1, 15); }

void CheckFadeOut(HWND panel) {
    auto button = MakeFadingButton(panel);
    Check(button->HasFadeTicker() && !button->FadeTickerRunning(), "ticker created idle");
    button->MouseEnter();
    Check(button->FadeLevel() == 8, "entering sets level 8");

    struct Step {
        int level;
        double at;
        TColor outline;
    };
    std::vector<Step> steps;
    const double left = NowMs();
    button->MouseLeave();
    int last = button->FadeLevel();
    RunFor(1500, [&] {
        if (button->FadeLevel() == last) return;
        last = button->FadeLevel();
        steps.push_back({last, NowMs() - left, InnerOutlineOnScreen(button->Handle())});
    });

    Check(steps.size() == 8, "eight repaints after leaving (" + std::to_string(steps.size()) + ")");
    for (size_t i = 0; i < steps.size(); ++i) {
        const int expected = 7 - static_cast<int>(i);
        Check(steps[i].level == expected, "step " + std::to_string(i) + " at level " + std::to_string(steps[i].level));
        // The painted face colour is the blend for that level.
        const int green = (0xC0 * (8 - steps[i].level) + 0xDF * steps[i].level + 4) / 8;
        const int actual = GreenOf(steps[i].outline);
        Check(std::abs(actual - green) <= 1, "step " + std::to_string(i) + " painted " + lbtest::Hex(steps[i].outline));
        std::printf("  level %d at %.0f ms\n", steps[i].level, steps[i].at);
    }
    if (steps.size() == 8) {
        const double total = steps.back().at;
        Check(total >= 8 * 15 && total <= 1200, "fade takes about 8 x 30 ms (" + std::to_string(total) + " ms)");
        for (size_t i = 1; i < steps.size(); ++i)
            Check(steps[i].at - steps[i - 1].at >= 10,
                  "ticks are apart (" + std::to_string(steps[i].at - steps[i - 1].at) + " ms)");
    }
    Check(!button->FadeTickerRunning(), "ticker idles once faded out");
    Check(button->FadeLevel() == 0, "level ends at 0");
}

// Stopping while the ticker may be inside its hand-over to the GUI thread:
// the GUI thread is kept busy just past a tick so the ticker is left waiting.
void CheckPromptStops(HWND panel) {
    double worstDestroy = 0, worstTurnOff = 0;
    for (int round = 0; round < 12; ++round) {
        auto button = MakeFadingButton(panel);
        button->MouseEnter();
        button->MouseLeave();
        RunFor(45 + round * 7, [] {});
        Sleep(round % 3 == 0 ? 0 : 35);  // a tick is now due and waiting for us
        double start = NowMs();
        if (round % 2 == 0) {
            button.reset();
            worstDestroy = std::max(worstDestroy, NowMs() - start);
        } else {
            button->SetSlowDecease(false);
            worstTurnOff = std::max(worstTurnOff, NowMs() - start);
            Check(!button->HasFadeTicker() && button->FadeLevel() == 0, "SlowDecease off drops ticker and level");
            start = NowMs();
            button.reset();
            worstDestroy = std::max(worstDestroy, NowMs() - start);
        }
    }
    std::printf("  slowest stop: destroy %.1f ms, SlowDecease off %.1f ms\n", worstDestroy, worstTurnOff);
    Check(worstDestroy < 1000, "destroying mid-fade returns promptly");
    Check(worstTurnOff < 1000, "turning SlowDecease off mid-fade returns promptly");
}

}  // namespace

int main() {
    lbtest::PrintPasses() = false;  // failures only
    lbtest::StartWatchdog(60);      // a deadlock between the GUI thread and a ticker fails here
    lbtest::HostForm form;
    HWND panel = form.Panel();
    CheckFadeOut(panel);
    CheckPromptStops(panel);
    if (lbtest::Failures()) std::printf("%d check(s) failed\n", lbtest::Failures());
    else std::printf("all fade checks passed\n");
    return lbtest::Failures() ? 1 : 0;
}
