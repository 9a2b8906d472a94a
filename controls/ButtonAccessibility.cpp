#include "controls/ButtonAccessibility.h"

#include <oleacc.h>

#include <string>

#include "controls/SpeedButtonCore.h"
#include "framework/SystemFunction.h"
#include "framework/Utf16.h"

namespace lb {

namespace {

// The accessibility library and the two COM functions the object needs,
// from System32 only and looked up when a reader first asks: the kit starts
// without them. The libraries stay loaded for the process's life, since a
// reader's calls reach the objects through them until the kit ends.
struct Library {
    LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
    HRESULT(WINAPI* objectFromWindow)(HWND, DWORD, REFIID, void**) = nullptr;
    BSTR(WINAPI* allocString)(const OLECHAR*) = nullptr;
};

template <typename Function>
void Find(HMODULE module, const char* name, Function& function) {
    function = fw::SystemFunction<Function>(module, name);
}

const Library& Accessibility() {
    static const Library library = [] {
        Library found;
        const HMODULE oleacc = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        const HMODULE oleaut = LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        const HMODULE ole = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        // A library that didn't load leaves its functions null: then the
        // system's stand-in answers.
        Find(oleacc, "LresultFromObject", found.lresultFromObject);
        Find(oleacc, "AccessibleObjectFromWindow", found.objectFromWindow);
        Find(oleaut, "SysAllocString", found.allocString);
        // The object is handed to readers through COM, in the apartment of
        // the window's thread, the only thread with windows. A thread already
        // in another apartment serves them from there; without COM the
        // system's stand-in answers instead.
        HRESULT(WINAPI * initialize)(void*, DWORD) = nullptr;
        Find(ole, "CoInitializeEx", initialize);
        const HRESULT joined = initialize ? initialize(nullptr, COINIT_APARTMENTTHREADED) : E_NOTIMPL;
        if (FAILED(joined) && joined != RPC_E_CHANGED_MODE) return Library();
        return found;
    }();
    return library;
}

HRESULT NewText(const wchar_t* text, BSTR* out) noexcept {
    *out = Accessibility().allocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// The button's client area as a reader sees it. The reader holds it through
// COM on the window's thread; it reads the button live, until the button's
// window goes.
class AccessibleButton final : public IAccessible {
public:
    // Starts with one reference, its maker's.
    AccessibleButton(HWND window, const SpeedButtonCore& button) noexcept : window_(window), button_(&button) {}
    void Disconnect() noexcept { window_ = nullptr, button_ = nullptr; }

    //--- IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) noexcept override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (id != __uuidof(IUnknown) && id != __uuidof(IDispatch) && id != __uuidof(IAccessible)) return E_NOINTERFACE;
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    //--- IDispatch: no type information; readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_INVALIDARG;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override {
        return DISP_E_MEMBERNOTFOUND;
    }

    //--- IAccessible: one element, the button itself (CHILDID_SELF)
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) noexcept override {
        if (!parent) return E_INVALIDARG;
        *parent = nullptr;
        if (!button_) return CO_E_OBJNOTCONNECTED;
        return Accessibility().objectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                                reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) noexcept override {
        if (!count) return E_INVALIDARG;
        *count = 0;
        return button_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) noexcept override {
        if (!child) return E_INVALIDARG;
        *child = nullptr;
        return button_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;  // it has no children
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) noexcept override {
        const HRESULT usable = Usable(child, name);
        if (usable != S_OK) return usable;
        try {
            return NewText(fw::WideText(WithoutAccelerator(button_->Caption())).c_str(), name);
        } catch (...) {
            return E_OUTOFMEMORY;  // nothing may cross back into the caller
        }
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) noexcept override {
        return NoText(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) noexcept override {
        return NoText(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) noexcept override {
        const HRESULT usable = Usable(child, role);
        if (usable != S_OK) return usable;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) noexcept override {
        const HRESULT usable = Usable(child, state);
        if (usable != S_OK) return usable;
        LONG flags = 0;
        if (!IsWindowVisible(window_)) flags |= STATE_SYSTEM_INVISIBLE;
        if (!button_->Enabled()) flags |= STATE_SYSTEM_UNAVAILABLE;
        else flags |= STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == window_) flags |= STATE_SYSTEM_FOCUSED;
        if (button_->Down()) flags |= STATE_SYSTEM_PRESSED;
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) noexcept override { return NoText(child, text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) noexcept override {
        if (topic) *topic = 0;
        return NoText(child, file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) noexcept override {
        return NoText(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) noexcept override {
        if (!focus) return E_INVALIDARG;
        focus->vt = VT_EMPTY;
        if (!button_) return CO_E_OBJNOTCONNECTED;
        if (GetFocus() != window_) return S_FALSE;
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) noexcept override {
        if (!selection) return E_INVALIDARG;
        selection->vt = VT_EMPTY;
        return button_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) noexcept override {
        const HRESULT usable = Usable(child, action);
        return usable == S_OK ? NewText(L"Press", action) : usable;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) noexcept override {
        const HRESULT usable = Usable(child);
        if (usable != S_OK) return usable;
        if (flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;  // nothing to select
        return button_->Enabled() && SetFocus(window_) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) noexcept override {
        if (!left || !top || !width || !height) return E_INVALIDARG;
        const HRESULT usable = Usable(child, left);
        if (usable != S_OK) return usable;
        RECT r = {};
        if (!GetWindowRect(window_, &r)) return E_FAIL;
        *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) noexcept override {
        if (!end) return E_INVALIDARG;
        end->vt = VT_EMPTY;
        // The window's own object leads to the siblings; the button has no children.
        return button_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) noexcept override {
        if (!hit) return E_INVALIDARG;
        hit->vt = VT_EMPTY;
        if (!button_) return CO_E_OBJNOTCONNECTED;
        RECT r = {};
        if (!GetWindowRect(window_, &r) || !PtInRect(&r, POINT{x, y})) return S_FALSE;
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    // Posted, as a reader's call must return at once: the click may open a
    // modal box. The window presses only while it can take input.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) noexcept override {
        const HRESULT usable = Usable(child);
        if (usable != S_OK) return usable;
        if (!button_->Enabled()) return E_FAIL;
        return PostMessageW(window_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }

private:
    ~AccessibleButton() = default;  // only Release deletes it

    // S_OK when the object may answer about child (into out).
    HRESULT Usable(const VARIANT& child) const noexcept {
        if (!button_) return CO_E_OBJNOTCONNECTED;
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_OK : E_INVALIDARG;
    }
    HRESULT Usable(const VARIANT& child, const void* out) const noexcept { return out ? Usable(child) : E_INVALIDARG; }
    // A text property the button doesn't have.
    HRESULT NoText(const VARIANT& child, BSTR* text) const noexcept {
        if (text) *text = nullptr;
        const HRESULT usable = Usable(child, text);
        return usable == S_OK ? DISP_E_MEMBERNOTFOUND : usable;
    }

    LONG references_ = 1;
    HWND window_;
    const SpeedButtonCore* button_;  // null once disconnected
};

ButtonAccessibility::ButtonAccessibility() = default;

ButtonAccessibility::~ButtonAccessibility() { Disconnect(); }

bool ButtonAccessibility::Answer(HWND window, const SpeedButtonCore& button, WPARAM wParam, LRESULT& result) {
    const Library& library = Accessibility();
    if (!library.lresultFromObject || !library.objectFromWindow || !library.allocString) return false;
    if (!object_) object_.reset(new AccessibleButton(window, button));
    result = library.lresultFromObject(__uuidof(IAccessible), wParam, object_.get());
    return result >= 0;  // a failure comes as a negative HRESULT
}

void ButtonAccessibility::Disconnect() {
    if (!object_) return;
    object_->Disconnect();
    object_.reset();
}

}  // namespace lb
