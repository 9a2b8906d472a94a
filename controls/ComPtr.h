// The owner of one COM reference (or one of any object counted the same
// way, with AddRef and Release): Release at its end. Non-copyable, movable.
#pragma once

#include <utility>

namespace lb {

template <typename T>
class com_ptr {
public:
    com_ptr() noexcept = default;
    // Takes over a reference the caller holds (a new object's first one).
    explicit com_ptr(T* adopted) noexcept : object_(adopted) {}
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    com_ptr(com_ptr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    com_ptr& operator=(com_ptr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.object_, nullptr));
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

}  // namespace lb
