// Payload items held in memory, stored under "UPGRADE" and looked up without
// regard to case, as the kit's resources are; remembers what was asked for.
#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "framework/PayloadStore.h"

struct FakePayload : fw::PayloadStore {
    std::map<std::string, std::string> items;
    std::vector<std::string> asked;

    static std::string Upper(std::string text) {
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }
    bool Find(const std::string& type, const std::string& name, fw::Blob& blob) override {
        asked.push_back(type);
        auto it = items.find(Upper(type));
        if (Upper(name) != "UPGRADE" || it == items.end()) return false;
        blob = {it->second.data(), it->second.size()};
        return true;
    }
};
