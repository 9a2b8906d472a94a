// The drop-down menu a speed button opens on click. The interface is what the
// button needs; TLbPopupMenu is the Win32 menu of plain items.
#pragma once

#include <functional>
#include <string>
#include <vector>

class ILbPopupMenu {
public:
    virtual ~ILbPopupMenu() = default;
    // Shows the menu with its top-left corner at the screen point and runs the
    // chosen item before returning.
    virtual void Popup(int screenX, int screenY) = 0;
};

class TLbPopupMenu final : public ILbPopupMenu {
public:
    struct Item {
        std::string caption;
        std::function<void()> onClick;
    };
    std::vector<Item> Items;

    void Popup(int screenX, int screenY) override;
};
