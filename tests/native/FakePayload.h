// Payload items held in memory, stored under "UPGRADE" and looked up without
// regard to case, as the kit's resources are; remembers what was asked for.
// Unless a test stores its own, the checksums are those a build would store
// for the items held.
#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "framework/PayloadStore.h"
#include "payload/Catalogue.h"
#include "payload/Crc32.h"

struct FakePayload : fw::PayloadStore {
    std::map<std::string, std::string> items;
    std::vector<std::string> asked;

    static std::string Upper(std::string text) {
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }
    fw::Result Find(const std::string& type, const std::string& name, fw::Blob& blob) override {
        if (Upper(type) == payload::kChecksumsType && !items.count(payload::kChecksumsType)) {
            if (Upper(name) != "UPGRADE")
                return fw::Result::Failure(fw::kResourceNameNotFound,
                                           "The specified resource name cannot be found in the image file");
            checksums_.clear();
            for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
                auto item = items.find(payload::Catalogue()[i].code);
                const std::uint32_t crc =
                    item == items.end() ? 0 : payload::Crc32(item->second.data(), item->second.size());
                for (int shift = 0; shift < 32; shift += 8) checksums_ += static_cast<char>(crc >> shift);
            }
            blob = {checksums_.data(), checksums_.size()};
            return fw::Result::Success();
        }
        asked.push_back(type);
        auto it = items.find(Upper(type));
        // ERROR_RESOURCE_NAME_NOT_FOUND, as the kit's own resources say it
        if (Upper(name) != "UPGRADE" || it == items.end())
            return fw::Result::Failure(fw::kResourceNameNotFound,
                                       "The specified resource name cannot be found in the image file");
        blob = {it->second.data(), it->second.size()};
        return fw::Result::Success();
    }

    // Changes one byte of an item after its checksum was taken, as a cut
    // download or a bad disk would.
    void Damage(const std::string& code) {
        fw::Blob stored;
        Find(payload::kChecksumsType, "UPGRADE", stored);
        items[payload::kChecksumsType] = checksums_;
        items[code][items[code].size() / 2] ^= 0x01;
    }

private:
    std::string checksums_;
};
