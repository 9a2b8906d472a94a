// A command a button can stand for: caption, enabled state and an image of
// its action list's image list, and what to run when the button is clicked.
#pragma once

#include <functional>
#include <string>

namespace lb {

class ImageList;

struct ActionList {
    ImageList* Images = nullptr;
};

struct ButtonAction {
    std::string Caption;
    std::string Hint;
    bool Enabled = true;
    int ImageIndex = -1;
    lb::ActionList* ActionList = nullptr;
    std::function<void()> OnExecute;

    // Runs the command; false when there is none.
    bool Execute() const {
        if (!OnExecute) return false;
        OnExecute();
        return true;
    }
};

}  // namespace lb
