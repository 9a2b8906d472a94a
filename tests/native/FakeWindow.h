// A kit window that remembers what the check and the run did to it.
#pragma once

#include <string>
#include <vector>

#include "kit/KitWindow.h"

struct FakeWindow : kit::KitWindow {
    std::vector<std::string> log;
    std::string caption = "Cautare...";
    bool enabled = false;
    std::vector<std::string> errors, informations, questions;
    bool answer = true;  // to every question

    void AppendLog(const std::string& line) override { log.push_back(line); }
    void SetUpgradeCaption(const std::string& text) override { caption = text; }
    void SetUpgradeEnabled(bool on) override { enabled = on; }
    void ShowErrorDialog(const std::string& text) override { errors.push_back(text); }
    void ShowInformationDialog(const std::string& text) override { informations.push_back(text); }
    bool Ask(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }
};
