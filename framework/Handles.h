// RAII owners for Win32 handles and COM references. Each type is named after
// the call that releases its handle, so a handle can only be released the
// right way. Non-copyable, movable.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

template <typename T, typename Traits>
class unique_any {
public:
    unique_any() noexcept : value_(Traits::invalid()) {}
    explicit unique_any(T value) noexcept : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
    T release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }

private:
    T value_;
};

struct DestroyWindowTraits {
    static HWND invalid() noexcept { return nullptr; }
    static void close(HWND h) noexcept { ::DestroyWindow(h); }
};
struct DeleteDCTraits {
    static HDC invalid() noexcept { return nullptr; }
    static void close(HDC h) noexcept { ::DeleteDC(h); }
};
struct RegCloseKeyTraits {
    static HKEY invalid() noexcept { return nullptr; }
    static void close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct CloseHandleTraits {
    static HANDLE invalid() noexcept { return nullptr; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
// CreateFile reports failure as INVALID_HANDLE_VALUE, not as null.
struct CloseFileTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindCloseTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::FindClose(h); }
};
template <typename G>
struct DeleteObjectTraits {
    static G invalid() noexcept { return nullptr; }
    static void close(G h) noexcept { ::DeleteObject(h); }
};

using unique_hwnd = unique_any<HWND, DestroyWindowTraits>;
using unique_hdc = unique_any<HDC, DeleteDCTraits>;
using unique_hkey = unique_any<HKEY, RegCloseKeyTraits>;
using unique_handle = unique_any<HANDLE, CloseHandleTraits>;
using unique_hfile = unique_any<HANDLE, CloseFileTraits>;
using unique_hfind = unique_any<HANDLE, FindCloseTraits>;
using unique_hbitmap = unique_any<HBITMAP, DeleteObjectTraits<HBITMAP>>;
using unique_hbrush = unique_any<HBRUSH, DeleteObjectTraits<HBRUSH>>;
using unique_hpen = unique_any<HPEN, DeleteObjectTraits<HPEN>>;
using unique_hfont = unique_any<HFONT, DeleteObjectTraits<HFONT>>;

struct DestroyMenuTraits {
    static HMENU invalid() noexcept { return nullptr; }
    static void close(HMENU h) noexcept { ::DestroyMenu(h); }
};
using unique_hmenu = unique_any<HMENU, DestroyMenuTraits>;

// Memory the system allocated for the caller with LocalAlloc (a converted
// security descriptor or SID text, an argument list), given back with
// LocalFree; T is the pointer type the call hands out.
template <typename T>
struct LocalFreeTraits {
    static T invalid() noexcept { return nullptr; }
    static void close(T memory) noexcept { ::LocalFree(memory); }
};
template <typename T>
using unique_local = unique_any<T, LocalFreeTraits<T>>;

// The owner of one COM reference (or one of any object counted the same
// way, with AddRef and Release): Release at its end.
template <typename T>
class com_ptr {
public:
    com_ptr() noexcept = default;
    // Takes over a reference the caller holds (a new object's first one).
    explicit com_ptr(T* adopted) noexcept : object_(adopted) {}
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    com_ptr(com_ptr&& other) noexcept : object_(other.release()) {}
    com_ptr& operator=(com_ptr&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~com_ptr() { reset(); }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    // Gives the reference up to the caller.
    T* release() noexcept { return std::exchange(object_, nullptr); }
    void reset(T* adopted = nullptr) noexcept {
        T* old = std::exchange(object_, adopted);
        if (old) old->Release();
    }

private:
    T* object_ = nullptr;
};

// The scope types below take their handle themselves and give it back at the
// end of the scope; non-copyable, not movable.

// GetDC for a scope (the screen's DC for a null window), given back with
// ReleaseDC to the window it came from.
class window_dc {
public:
    explicit window_dc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    ~window_dc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint for the scope of a WM_PAINT answer, EndPaint at its end.
class paint_dc {
public:
    explicit paint_dc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
    paint_dc(const paint_dc&) = delete;
    paint_dc& operator=(const paint_dc&) = delete;
    ~paint_dc() { ::EndPaint(hwnd_, &paint_); }
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

// Selects a GDI object into a DC for a scope and puts the old one back.
class unique_select {
public:
    unique_select(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    unique_select(const unique_select&) = delete;
    unique_select& operator=(const unique_select&) = delete;
    ~unique_select() {
        if (old_) ::SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace fw
