// The drop-down menu a speed button opens on click, as the button sees it.
#pragma once

namespace lb {

class DropDownMenu {
public:
    virtual ~DropDownMenu() = default;
    // Shows the menu with its top-left corner at the screen point and runs the
    // chosen item before returning.
    virtual void Popup(int screenX, int screenY) = 0;
};

}  // namespace lb
