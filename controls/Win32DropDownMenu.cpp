#include "controls/Win32DropDownMenu.h"

#include <windows.h>

#include "framework/Handles.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace lb {

void Win32DropDownMenu::Popup(int screenX, int screenY) {
    fw::unique_hmenu menu(fw::ThrowLastErrorIfNull(CreatePopupMenu(), "Cannot create the popup menu"));
    for (std::size_t i = 0; i < Items.size(); ++i)
        fw::ThrowLastErrorIf(
            !AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(i + 1), fw::WideText(Items[i].caption).c_str()),
            "Cannot add an item to the popup menu");
    // The menu needs an owner window of this thread that is active.
    HWND owner = GetActiveWindow();
    if (!owner) owner = GetForegroundWindow();
    // With TPM_RETURNCMD a failure returns 0 as a menu closed without a
    // choice does, and the last error after the menu's own message loop may
    // be any window's: either way nothing was chosen.
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, screenX, screenY, 0, owner, nullptr));
    if (chosen >= 1 && chosen <= Items.size() && Items[chosen - 1].onClick) Items[chosen - 1].onClick();
}

}  // namespace lb
