#include "controls/LbButtonThread.h"

#include "framework/Error.h"

namespace lb {

namespace {

constexpr UINT kTickMessage = WM_APP + 1;

fw::unique_handle ManualResetEvent() {
    fw::unique_handle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!event) throw fw::Error("Cannot create an event for the fade ticker");
    return event;
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
    DWORD id = 0;
    thread_.reset(CreateThread(nullptr, 0, &ThreadMain, shared_, 0, &id));
    if (!thread_) {
        delete shared_;
        throw fw::Error("Cannot start the fade ticker");
    }
}

TLbButtonThread::~TLbButtonThread() {
    Stop();
    shared_->Release();
}

void TLbButtonThread::Resume() {
    suspended_ = false;
    SetEvent(shared_->running.get());
}

void TLbButtonThread::Suspend() {
    suspended_ = true;
    ResetEvent(shared_->running.get());
}

void TLbButtonThread::Stop() noexcept {
    if (!thread_) return;
    SetEvent(shared_->stopping.get());
    HANDLE thread = thread_.get();
    for (;;) {
        // Run the tick the thread may be waiting on, then wait for more of
        // them or for the end of the thread.
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        // A wait that fails can't confirm the end: the thread is left to end
        // on its own with its shared block, and the tick window goes, so a
        // tick it still hands over reaches nothing.
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
    }
    thread_.reset();
    tickWindow_.Close();
}

DWORD WINAPI TLbButtonThread::ThreadMain(void* context) noexcept {
    Shared* shared = static_cast<Shared*>(context);
    HANDLE wake[2] = {shared->stopping.get(), shared->running.get()};
    for (;;) {
        // The stop request is tested before each sleep: once asked, the
        // thread finishes the sleep and tick it is in and then ends.
        if (WaitForMultipleObjects(2, wake, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
        if (WaitForSingleObject(shared->stopping.get(), 0) == WAIT_OBJECT_0) break;
        SleepEx(kTickMilliseconds, FALSE);
        SendMessageA(shared->tickWindow, kTickMessage, 0, 0);
    }
    shared->Release();
    return 0;
}

}  // namespace lb
