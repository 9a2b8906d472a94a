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
    fw::Status Find(const std::string& type, const std::string& name, fw::Blob& blob) override {
        asked.push_back(type);
        auto it = items.find(Upper(type));
        // ERROR_RESOURCE_NAME_NOT_FOUND, as the kit's own resources say it
        if (Upper(name) != "UPGRADE" || it == items.end())
            return fw::Status::Failure(1814, "The specified resource name cannot be found in the image file");
        blob = {it->second.data(), it->second.size()};
        return fw::Status::Success();
    }
};
