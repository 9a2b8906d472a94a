#include "controls/Win32DropDownMenu.h"

#include <windows.h>

#include "framework/Error.h"
#include "framework/Handles.h"
#include "framework/Utf16.h"

namespace lb {

void Win32DropDownMenu::Popup(int screenX, int screenY) {
    fw::unique_hmenu menu(CreatePopupMenu());
    if (!menu) throw fw::Error("Cannot create the popup menu");
    for (std::size_t i = 0; i < Items.size(); ++i)
        AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(i + 1), fw::WideText(Items[i].caption).c_str());
    // The menu needs an owner window of this thread that is active.
    HWND owner = GetActiveWindow();
    if (!owner) owner = GetForegroundWindow();
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, screenX, screenY, 0, owner, nullptr));
    if (chosen >= 1 && chosen <= Items.size() && Items[chosen - 1].onClick) Items[chosen - 1].onClick();
}

}  // namespace lb
