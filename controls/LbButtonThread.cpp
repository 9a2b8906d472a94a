#include "controls/LbButtonThread.h"

#include "framework/Win32Error.h"

namespace lb {

namespace {

constexpr UINT kTickMessage = WM_APP + 1;

fw::unique_handle ManualResetEvent() {
    return fw::unique_handle(fw::ThrowLastErrorIfNull(CreateEventW(nullptr, TRUE, FALSE, nullptr),
                                                      "Cannot create an event for the fade ticker"));
}

}  // namespace

TLbButtonThread::TickWindow::TickWindow(const std::function<void()>& tick) : tick_(tick) {
    CreateHandle({"TLbButtonThreadTick"}, 0, "", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

LRESULT TLbButtonThread::TickWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kTickMessage) return DefaultHandler(msg, wParam, lParam);
    if (tick_) tick_();
    return 0;
}

TLbButtonThread::TLbButtonThread(std::function<void()> tick)
    : tick_(std::move(tick)), tickWindow_(tick_), shared_(new Shared{ManualResetEvent(), ManualResetEvent()}) {
    shared_->tickWindow = tickWindow_.Handle();
    // The thread's reference, handed over only once the thread runs.
    shared_->AddRef();
    fw::com_ptr<Shared> share(shared_.get());
    DWORD id = 0;
    thread_.reset(fw::ThrowLastErrorIfNull(CreateThread(nullptr, 0, &ThreadMain, share.get(), 0, &id),
                                           "Cannot start the fade ticker"));
    share.release();  // now the thread's
}

TLbButtonThread::~TLbButtonThread() { Stop(); }

void TLbButtonThread::Resume() {
    fw::ThrowLastErrorIf(!SetEvent(shared_->running.get()), "Cannot resume the fade ticker");
    suspended_ = false;
}

void TLbButtonThread::Suspend() {
    fw::ThrowLastErrorIf(!ResetEvent(shared_->running.get()), "Cannot suspend the fade ticker");
    suspended_ = true;
}

void TLbButtonThread::Stop() noexcept {
    if (!thread_) return;
    if (SetEvent(shared_->stopping.get())) {
        HANDLE thread = thread_.get();
        for (;;) {
            // Run the tick the thread may be waiting on, then wait for more
            // of them or for the end of the thread. PeekMessageW only serves
            // the calls sent meanwhile: whether a message is there doesn't
            // matter.
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
            if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
        }
    }
    // Ended, or its end can't be asked for or confirmed: then the thread is
    // left to end on its own with its share, and the tick window goes, so a
    // tick it still hands over reaches nothing.
    thread_.reset();
    tickWindow_.Close();
}

DWORD WINAPI TLbButtonThread::ThreadMain(void* context) noexcept {
    const fw::com_ptr<Shared> shared(static_cast<Shared*>(context));
    HANDLE wake[2] = {shared->stopping.get(), shared->running.get()};
    for (;;) {
        // The stop request is tested before each sleep: once asked, the
        // thread finishes the sleep and tick it is in and then ends. A wait
        // that fails ends the thread too: it can no longer tell a stop.
        if (WaitForMultipleObjects(2, wake, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
        if (WaitForSingleObject(shared->stopping.get(), 0) != WAIT_TIMEOUT) break;
        SleepEx(kTickMilliseconds, FALSE);
        // Fails only once the tick window is gone, when there is no button
        // left to tick.
        SendMessageW(shared->tickWindow, kTickMessage, 0, 0);
    }
    return 0;
}

}  // namespace lb
