// The fade ticker of a speed button: a thread that sleeps 30 ms and then has
// the GUI thread run the tick, waiting until it has run.
//
// Suspending is an event the thread waits on between ticks, never
// SuspendThread, which could stop the thread while it holds a lock such as the
// heap's. The tick is handed over with SendMessage to a message-only window of
// the GUI thread; while the GUI thread waits for the ticker to end it keeps
// serving those calls, so stopping never deadlocks. The thread touches only
// a block it shares with this object: should its end not be confirmed, the
// block stays for it while this object goes, and its ticks reach no button.
#pragma once

#include <windows.h>

#include <functional>

#include "controls/SpeedButtonCore.h"
#include "framework/Handles.h"
#include "framework/Window.h"

namespace lb {

class TLbButtonThread final : public FadeTicker {
public:
    static constexpr DWORD kTickMilliseconds = 30;

    // Created on the GUI thread, suspended; tick runs on that thread. Fails
    // with fw::Error when a system object can't be made.
    explicit TLbButtonThread(std::function<void()> tick);
    ~TLbButtonThread() override;
    TLbButtonThread(const TLbButtonThread&) = delete;
    TLbButtonThread& operator=(const TLbButtonThread&) = delete;

    void Resume() override;
    void Suspend() override;
    bool Suspended() const override { return suspended_; }
    // Asks the thread to end and waits for it, serving its last tick.
    void Stop() noexcept override;

private:
    // The message-only window of the GUI thread that runs each tick.
    class TickWindow final : public fw::Window {
    public:
        explicit TickWindow(const std::function<void()>& tick);
        void Close() { DestroyHandle(); }

    protected:
        LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    private:
        const std::function<void()>& tick_;
    };

    // What the thread uses, owned by this object and the thread together,
    // each through a com_ptr: it goes with whichever of the two lets it go
    // last. (std::shared_ptr would do the same for 4 KB more of the kit.)
    struct Shared {
        fw::unique_handle running;   // manual reset: set while ticking
        fw::unique_handle stopping;  // manual reset: set once to end the thread
        HWND tickWindow = nullptr;
        LONG owners = 1;
        void AddRef() noexcept { InterlockedIncrement(&owners); }
        void Release() noexcept {
            if (InterlockedDecrement(&owners) == 0) delete this;
        }
    };
    // context is the thread's reference to Shared, which it takes over.
    static DWORD WINAPI ThreadMain(void* context) noexcept;

    std::function<void()> tick_;
    TickWindow tickWindow_;
    fw::com_ptr<Shared> shared_;
    fw::unique_handle thread_;
    bool suspended_ = true;
};

}  // namespace lb
