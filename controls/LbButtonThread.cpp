#include "controls/LbButtonThread.h"

#include <stdexcept>

#include "framework/Application.h"

namespace {

const char kTickWindowClass[] = "TLbButtonThreadTick";
constexpr UINT kTickMessage = WM_APP + 1;

void RegisterTickWindowClass(WNDPROC proc) {
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kTickWindowClass, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kTickWindowClass;
    if (!RegisterClassA(&wc)) throw std::runtime_error("Cannot register the fade ticker's window class");
}

fw::unique_handle ManualResetEvent() {
    fw::unique_handle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!event) throw std::runtime_error("Cannot create an event for the fade ticker");
    return event;
}

}  // namespace

TLbButtonThread::TLbButtonThread(std::function<void()> tick)
    : tick_(std::move(tick)), running_(ManualResetEvent()), stopping_(ManualResetEvent()) {
    RegisterTickWindowClass(&TickWindowProc);
    tickWindow_.reset(CreateWindowExA(0, kTickWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
    if (!tickWindow_) throw std::runtime_error("Cannot create the fade ticker's window");
    SetWindowLongPtrA(tickWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DWORD id = 0;
    thread_.reset(CreateThread(nullptr, 0, &ThreadMain, this, 0, &id));
    if (!thread_) throw std::runtime_error("Cannot start the fade ticker");
}

TLbButtonThread::~TLbButtonThread() {
    try {
        Stop();
    } catch (...) {
        // Nothing sensible is left to do in a destructor.
    }
}

void TLbButtonThread::Resume() {
    suspended_ = false;
    SetEvent(running_.get());
}

void TLbButtonThread::Suspend() {
    suspended_ = true;
    ResetEvent(running_.get());
}

void TLbButtonThread::Stop() {
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
        if (woke == WAIT_FAILED) throw std::runtime_error("Cannot wait for the fade ticker to end");
    }
    thread_.reset();
    tickWindow_.reset();
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
        SendMessageA(tickWindow_.get(), kTickMessage, 0, 0);
    }
}

LRESULT CALLBACK TLbButtonThread::TickWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTickMessage) {
        auto* self = reinterpret_cast<TLbButtonThread*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        try {
            if (self && self->tick_) self->tick_();
        } catch (const std::exception& e) {
            fw::ReportException(e);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
