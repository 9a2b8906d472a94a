// A command a button can stand for: caption, enabled state, visibility, hint
// and an image of its action list's image list, and what to run when the
// button is clicked. The buttons linked to it follow its later changes.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace lb {

class ImageList;

struct ActionList {
    ImageList* Images = nullptr;
};

// What an action tells the controls linked to it.
class ActionClient {
public:
    virtual void ActionChanged() = 0;
    virtual void ActionFreed() = 0;  // the action is going: forget it

protected:
    ~ActionClient() = default;
};

struct ButtonAction {
    std::string Caption;
    std::string Hint;
    bool Enabled = true;
    bool Visible = true;
    int ImageIndex = -1;
    lb::ActionList* ActionList = nullptr;
    std::function<void()> OnExecute;

    ButtonAction() = default;
    ButtonAction(const ButtonAction&) = delete;
    ButtonAction& operator=(const ButtonAction&) = delete;
    ~ButtonAction() {
        const std::vector<ActionClient*> clients = std::move(clients_);
        for (ActionClient* client : clients) client->ActionFreed();
    }

    // Runs the command; false when there is none.
    bool Execute() const {
        if (!OnExecute) return false;
        OnExecute();
        return true;
    }

    // Each setter tells the linked controls; after changing the fields
    // directly, call Changed.
    void SetCaption(const std::string& value) { Caption = value, Changed(); }
    void SetHint(const std::string& value) { Hint = value, Changed(); }
    void SetEnabled(bool value) { Enabled = value, Changed(); }
    void SetVisible(bool value) { Visible = value, Changed(); }
    void SetImageIndex(int value) { ImageIndex = value, Changed(); }
    void Changed() {
        const std::vector<ActionClient*> clients = clients_;  // a client may unlink meanwhile
        for (ActionClient* client : clients) client->ActionChanged();
    }

    void Link(ActionClient* client) { clients_.push_back(client); }
    void Unlink(ActionClient* client) {
        clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
    }

private:
    std::vector<ActionClient*> clients_;
};

}  // namespace lb
