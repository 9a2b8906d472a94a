// A Win32 popup menu of plain items behind the button's DropDownMenu.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/DropDownMenu.h"

namespace lb {

class Win32DropDownMenu final : public DropDownMenu {
public:
    struct Item {
        std::string caption;
        std::function<void()> onClick;
    };
    std::vector<Item> Items;

    void Popup(int screenX, int screenY) override;
};

}  // namespace lb
