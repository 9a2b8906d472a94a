// Times one full paint of the kit's 201 x 31 upgrade button on real GDI: the
// face drawn off-screen, composed over the parent panel's background and
// copied to the window, averaged over many paints. Not a test; prints the
// figures.
#include <windows.h>

#include <cstdio>

#include "controls/LbSpeedButton.h"
#include "framework/Controls.h"
#include "framework/Window.h"
#include "kit/window/KitButtonLook.h"

using namespace lb;

namespace {

// A visible top-level window holding a panel of the kit's colour, as the
// kit's window holds its buttons.
class HostForm : public fw::Window {
public:
    HostForm() {
        CreateHandle({"BenchPaintForm"}, 0, "Buttons", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 441, 177,
                     nullptr);
        panel_.Create(Handle(), 8, 8, 425, 161, 0x005BCECB);
        UpdateWindow(Handle());
    }
    ~HostForm() override { DestroyHandle(); }
    HWND Panel() const { return panel_.Handle(); }

private:
    fw::Panel panel_;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Paint>
double AverageMs(int count, Paint paint) {
    for (int i = 0; i < 50; ++i) paint();  // warm up caches and fonts
    GdiFlush();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i) paint();
    GdiFlush();
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end) / count;
}

}  // namespace

int main() {
    HostForm form;
    HWND panel = form.Panel();
    TLbSpeedButton button;
    button.SetCaption("Actualizare la versiunea 2.39");
    kit::ApplyKitButtonLook(button);
    button.Create(panel, 16, 120, 201, 31);

    constexpr int kPaints = 5000;
    HDC window = GetDC(button.Handle());
    const double full = AverageMs(kPaints, [&] { button.PaintTo(window); });
    button.MouseEnter();
    const double hot = AverageMs(kPaints, [&] { button.PaintTo(window); });
    const double faceOnly = AverageMs(kPaints, [&] { button.PaintFaceTo(window); });
    ReleaseDC(button.Handle(), window);

    std::printf("full paint of the 201x31 upgrade button, average of %d: %.4f ms\n", kPaints, full);
    std::printf("same, hot face: %.4f ms\n", hot);
    std::printf("face alone, no parent background: %.4f ms\n", faceOnly);
    return 0;
}
