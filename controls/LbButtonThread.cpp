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
    : tick_(std::move(tick)), tickWindow_(tick_), running_(ManualResetEvent()), stopping_(ManualResetEvent()) {
    DWORD id = 0;
    thread_.reset(CreateThread(nullptr, 0, &ThreadMain, this, 0, &id));
    if (!thread_) throw fw::Error("Cannot start the fade ticker");
}

void TLbButtonThread::Resume() {
    suspended_ = false;
    SetEvent(running_.get());
}

void TLbButtonThread::Suspend() {
    suspended_ = true;
    ResetEvent(running_.get());
}

void TLbButtonThread::Stop() noexcept {
    if (!thread_) return;
    SetEvent(stopping_.get());
    HANDLE thread = thread_.get();
    for (;;) {
        // Run the tick the thread may be waiting on, then wait for more of
        // them or for the end of the thread.
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) break;
        // A wait that fails can't be reported from here; the thread must
        // still end before what it uses goes, so poll for its end instead.
        if (woke == WAIT_FAILED && WaitForSingleObject(thread, 1) != WAIT_TIMEOUT) break;
    }
    thread_.reset();
    tickWindow_.Close();
}

DWORD WINAPI TLbButtonThread::ThreadMain(void* self) {
    static_cast<TLbButtonThread*>(self)->Run();
    return 0;
}

void TLbButtonThread::Run() {
    HANDLE wake[2] = {stopping_.get(), running_.get()};
    for (;;) {
        // The stop request is tested before each sleep: once asked, the
        // thread finishes the sleep and tick it is in and then ends.
        if (WaitForMultipleObjects(2, wake, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
        if (WaitForSingleObject(stopping_.get(), 0) == WAIT_OBJECT_0) return;
        SleepEx(kTickMilliseconds, FALSE);
        SendMessageA(tickWindow_.Handle(), kTickMessage, 0, 0);
    }
}

}  // namespace lb
