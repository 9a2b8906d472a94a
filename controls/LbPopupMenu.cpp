#include "controls/LbPopupMenu.h"

#include <windows.h>

#include <stdexcept>

namespace {
struct MenuHandle {
    HMENU handle;
    ~MenuHandle() {
        if (handle) DestroyMenu(handle);
    }
};
}  // namespace

void TLbPopupMenu::Popup(int screenX, int screenY) {
    MenuHandle menu{CreatePopupMenu()};
    if (!menu.handle) throw std::runtime_error("Cannot create the popup menu");
    for (std::size_t i = 0; i < Items.size(); ++i)
        AppendMenuA(menu.handle, MF_STRING, static_cast<UINT_PTR>(i + 1), Items[i].caption.c_str());
    // The menu needs an owner window of this thread that is active.
    HWND owner = GetActiveWindow();
    if (!owner) owner = GetForegroundWindow();
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.handle, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, screenX, screenY, 0, owner, nullptr));
    if (chosen >= 1 && chosen <= Items.size() && Items[chosen - 1].onClick) Items[chosen - 1].onClick();
}
