// Scenarios of the buttons' look and of the kit without a mouse: hot
// tracking, the keyboard and the focus cue, and what a screen reader finds.
#include <oleacc.h>

#include "e2e/DriverSteps.h"

namespace e2e {

//=== Pixels ==================================================================

// One row of a window's pixels as the screen shows them. (The window's own
// DC, read from another process, gives black for a child of the kit's
// layered form under Wine.)
std::vector<COLORREF> PixelRow(HWND window, int y) {
    const Image image = CaptureFromScreen(window);
    if (y < 0 || y >= image.height) return {};
    return std::vector<COLORREF>(image.pixels.begin() + y * image.width, image.pixels.begin() + (y + 1) * image.width);
}

// Row 7 of a 31-pixel button starts the lower gradient, from the face colour
// towards the light colour 0x0000FFFF over 23 rows in 32 one-row bands; the
// first two bands fall on row 7 and the second wins, one 31st of the way to
// the light: face 0x0000C0C0 shows as 0x0000C2C2, hot 0x0000DFDF as 0x0000E0E0.
const COLORREF kFaceColor = 0x0000C2C2, kHotColor = 0x0000E0E0;

// The colours across the middle of row 7, left quarter, centre, right quarter.
std::vector<COLORREF> FaceSamples(HWND button) {
    const std::vector<COLORREF> row = PixelRow(button, 7);
    if (row.empty()) return row;
    const std::size_t w = row.size();
    return {row[w / 4], row[w / 2], row[3 * w / 4]};
}

bool FaceIs(HWND button, COLORREF color) {
    const std::vector<COLORREF> samples = FaceSamples(button);
    return !samples.empty() && std::all_of(samples.begin(), samples.end(), [&](COLORREF p) { return p == color; });
}

std::string FaceText(HWND button) {
    std::string text;
    // 0x00BBGGRR written as RRGGBB.
    for (COLORREF p : FaceSamples(button)) text += " " + Hex(RGB(GetBValue(p), GetGValue(p), GetRValue(p)), 6);
    return "row 7 reads (RRGGBB)" + text;
}

// The pointer over an enabled button lights its face; over a disabled one nothing changes.
void ScenarioButtonLook() {
    PrepareFolder(kFolder, true);
    {
        Note("enabled upgrade button");
        SetRecord(kFolder, kOldVersion);
        Kit kit;
        if (!StartArmed(kit)) return;
        MovePointerAway();
        Check(WaitUntil([&] { return FaceIs(kit.upgrade, kFaceColor); }, 5000),
              "face C0C0 00 with the pointer away (row 7: C2C2 00)", FaceText(kit.upgrade));
        MovePointer(CentreOf(kit.upgrade));
        Check(WaitUntil([&] { return FaceIs(kit.upgrade, kHotColor); }, 5000),
              "face DFDF 00 with the pointer on it (row 7: E0E0 00)", FaceText(kit.upgrade));
        MovePointerAway();
        Check(WaitUntil([&] { return FaceIs(kit.upgrade, kFaceColor); }, 5000),
              "face C0C0 00 again after leaving (row 7: C2C2 00)", FaceText(kit.upgrade));
    }
    {
        Note("disabled upgrade button (no installation)");
        DeleteRecord();
        Kit kit;
        if (!StartNotInstalled(kit)) return;
        MovePointer(CentreOf(kit.upgrade));
        // A hover drawn for the move would show by the time the focus cue
        // drawn for a Tab after it does.
        const std::vector<COLORREF> closeRow = PixelRow(kit.close, 4);
        Check(kit.InputHandled(kit.log) && WaitUntil([&] { return PixelRow(kit.close, 4) != closeRow; }, 5000),
              "a Tab after the move gives the close button the focus cue");
        Check(FaceIs(kit.upgrade, kFaceColor), "face stays C0C0 00 with the pointer on it (row 7: C2C2 00)",
              FaceText(kit.upgrade));
        const HWND focus = kit.Focus();
        ClickOn(kit.upgrade);
        CheckClickShowsNothing(kit, focus, "a click");
        CheckLines("log unchanged", kit.LogLines(), {kNotInstalled});
        Check(!IsWindowEnabled(kit.upgrade), "button still disabled");
        CheckText("caption unchanged", TextOf(kit.upgrade), kSearching);
        MovePointerAway();
    }
}

// Tab to the upgrade button, Space for the upgrade, Tab on and Enter to end:
// the whole kit from the keyboard. The focus cue shows once the keyboard is
// in use, not after the mouse gave a button the focus.
void ScenarioKeyboard() {
    PrepareOldInstallation();
    Kit kit;
    if (!StartArmed(kit)) return;
    if (!Check(GetForegroundWindow() == kit.form, "kit window in the foreground, where keys go")) return;
    Check(kit.Focus() == kit.log, "the log has the focus", "focus on " + ClassOf(kit.Focus()));
    MovePointerAway();
    const std::vector<COLORREF> upgradeRow = PixelRow(kit.upgrade, 4), closeRow = PixelRow(kit.close, 4);

    // Pressed and let go away from it: the focus, no click.
    const POINT close = CentreOf(kit.close);
    MovePointer(close);
    INPUT press = PointerAt(close.x, close.y, MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &press, sizeof press);
    Check(WaitUntil([&] { return kit.Focus() == kit.close; }, 5000), "a press on the close button gives it the focus");
    MovePointerAway();
    INPUT release = PointerAt(3, 3, MOUSEEVENTF_LEFTUP);
    SendInput(1, &release, sizeof release);
    Check(WaitUntil([&] { return FaceIs(kit.close, kFaceColor) && PixelRow(kit.close, 4) == closeRow; }, 5000),
          "no focus cue after the mouse", FaceText(kit.close));

    PressKey(VK_TAB);
    Check(WaitUntil([&] { return kit.Focus() == kit.log; }, 5000), "Tab from the last button wraps to the log");
    PressKey(VK_TAB);
    if (!Check(WaitUntil([&] { return kit.Focus() == kit.upgrade; }, 5000),
               "Tab takes the focus to the upgrade button"))
        return;
    Check(WaitUntil([&] { return PixelRow(kit.upgrade, 4) != upgradeRow; }, 5000), "the focus cue shows on it");

    PressKey(VK_SPACE);
    Dialog box;
    if (!Check(kit.WaitForDialog(box), "Space on the upgrade button: a message box of the kit")) return;
    CheckDialog(box, "Information", kUpgraded);
    CheckRecordedVersion(kNewVersion);
    kit.PressOk(box);
    // The upgrade button, disabled after the upgrade, handed the focus on.
    Check(WaitUntil([&] { return kit.Focus() == kit.close; }, 5000), "the focus is on the close button",
          "focus on " + ClassOf(kit.Focus()));
    PressKey(VK_RETURN);
    kit.CheckEndsWithZero("Enter on \"Inchide\"");
}

// What a screen reader reads of a control through its accessible object.
struct ReaderView {
    bool found = false;
    LONG role = 0, state = 0;
    std::string name, action;
    HRESULT pressed = E_FAIL;  // of the default action, when asked to do it
};

std::string Narrow(BSTR text) {
    std::string narrow;
    for (const wchar_t* c = text; c && *c; ++c) narrow += *c < 128 ? static_cast<char>(*c) : '?';
    SysFreeString(text);
    return narrow;
}

ReaderView ReadAsReader(HWND window, bool press = false) {
    ReaderView view;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return view;
    view.found = true;
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT value = {};
    if (SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4) view.role = value.lVal;
    value.vt = VT_EMPTY;
    if (SUCCEEDED(object->get_accState(self, &value)) && value.vt == VT_I4) view.state = value.lVal;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(self, &text))) view.name = Narrow(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accDefaultAction(self, &text))) view.action = Narrow(text);
    if (press) view.pressed = object->accDoDefaultAction(self);
    object->Release();
    return view;
}

void CheckReaderButton(const std::string& what, const ReaderView& view, const std::string& name, bool enabled) {
    if (!Check(view.found, what + ": an accessible object")) return;
    Check(view.role == ROLE_SYSTEM_PUSHBUTTON, what + ": role push button", "role " + std::to_string(view.role));
    CheckText(what + ": name", view.name, name);
    const LONG expected = enabled ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
    Check((view.state & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE)) == expected,
          what + (enabled ? ": focusable, available" : ": unavailable, not focusable"), "state " + Hex(view.state));
    CheckText(what + ": default action", view.action, "Press");
}

// The upgrade button as a screen reader finds it, armed or not, then pressed
// by its default action; gives what the press returned.
HRESULT PressUpgradeAsReader(const Kit& kit, bool armed) {
    const ReaderView upgrade = ReadAsReader(kit.upgrade, true);
    CheckReaderButton("upgrade button", upgrade, armed ? kUpgradeCaption : kSearching, armed);
    return upgrade.pressed;
}

// Both buttons as a screen reader finds them, disabled and enabled; the
// default action presses them; the log is read-only text.
void ScenarioScreenReader() {
    CoInitialize(nullptr);
    PrepareFolder(kFolder, true);
    {
        Note("no installation: the upgrade button stays as before the check");
        DeleteRecord();
        Kit kit;
        if (!StartNotInstalled(kit)) return;
        const HRESULT pressed = PressUpgradeAsReader(kit, false);
        Check(pressed == E_FAIL, "its default action fails while disabled", Hex(pressed));
        // Whatever the action posted has been handled once the kit caught up.
        Check(kit.CaughtUp() && kit.NoDialog() && IsWindowEnabled(kit.form), "and shows nothing");
        CheckReaderButton("close button", ReadAsReader(kit.close), "Inchide", true);
        const ReaderView log = ReadAsReader(kit.log);
        Check(log.found && log.role == ROLE_SYSTEM_TEXT && (log.state & STATE_SYSTEM_READONLY),
              "the log: read-only text", "role " + std::to_string(log.role) + ", state " + Hex(log.state));
    }
    {
        Note("an older installation: the armed button");
        PrepareOldInstallation();
        Kit kit;
        if (!StartArmed(kit)) return;
        Dialog box;
        if (!Check(PressUpgradeAsReader(kit, true) == S_OK && kit.WaitForDialog(box),
                   "its default action runs the upgrade"))
            return;
        CheckDialog(box, "Information", kUpgraded);
        kit.PressOk(box);
        Check(ReadAsReader(kit.close, true).pressed == S_OK, "the close button's default action");
        kit.CheckEndsWithZero("\"Inchide\" pressed by a reader");
    }
    CoUninitialize();
}

}  // namespace e2e
