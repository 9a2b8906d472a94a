// A kit window that remembers what the check and the run did to it.
#pragma once

#include <string>
#include <vector>

#include "framework/Error.h"
#include "kit/window/KitWindow.h"

struct FakeWindow : kit::KitWindow {
    std::vector<std::string> log;
    std::string caption = "Cautare...";
    bool enabled = false;
    std::vector<std::string> errors, informations, questions;
    bool answer = true;      // to every question
    bool boxesFail = false;  // no dialog can be shown
    std::vector<std::string> notes;

    void AppendLog(const std::string& line) override { log.push_back(line); }
    void SetUpgradeCaption(const std::string& text) override { caption = text; }
    void SetUpgradeEnabled(bool on) override { enabled = on; }
    void ShowErrorDialog(const std::string& text) override { errors.push_back(text); }
    void ShowInformationDialog(const std::string& text) override {
        if (boxesFail) throw fw::Error("Cannot show a message box", fw::kNotEnoughMemory);
        informations.push_back(text);
    }
    void Note(const std::string& line) override { notes.push_back(line); }
    bool Ask(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }
};
