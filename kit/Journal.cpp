#include "kit/Journal.h"

#include <cstdint>

namespace kit {

namespace {

const char kHeader[] = "MeridalUpgrade journal 1";

std::string Hex(std::uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

bool ParseHex(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 16) return false;
    value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return false;
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return true;
}

std::string Fields(const fw::FileId& id, const std::string& path) {
    return Hex(id.volume) + '\t' + Hex(id.index) + '\t' + path;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// fields[at], fields[at + 1], fields[at + 2] as an identity and a path.
bool ParseFile(const std::vector<std::string>& fields, std::size_t at, fw::FileId& id, std::string& path) {
    if (fields.size() < at + 3 || fields[at + 2].empty()) return false;
    path = fields[at + 2];
    return ParseHex(fields[at], id.volume) && ParseHex(fields[at + 1], id.index);
}

bool ParseItem(const std::vector<std::string>& fields, JournalItem& item) {
    if (fields.size() < 5 || fields[1].empty()) return false;
    item.target = fields[1];
    if (!ParseFile(fields, 2, item.fresh.id, item.fresh.path)) return false;
    if (fields.size() == 5) return true;
    std::string first;
    if (!ParseFile(fields, 5, item.old, first)) return false;
    item.replaces = true;
    item.backups = {first};
    for (std::size_t i = 8; i < fields.size(); ++i) {
        if (fields[i].empty()) return false;
        item.backups.push_back(fields[i]);
    }
    return true;
}

}  // namespace

std::string JournalHeader(const JournalFile& folder) {
    return std::string(kHeader) + "\nfolder\t" + Fields(folder.id, folder.path) + '\n';
}

std::string TemporaryRecord(const JournalFile& temporary) {
    return "temp\t" + Fields(temporary.id, temporary.path) + '\n';
}

std::string PlacingRecords(const std::vector<JournalItem>& items) {
    std::string text;
    for (const JournalItem& item : items) {
        text += "item\t" + item.target + '\t' + Fields(item.fresh.id, item.fresh.path);
        if (item.replaces) {
            text += '\t' + Fields(item.old, item.backups.front());
            for (std::size_t i = 1; i < item.backups.size(); ++i) text += '\t' + item.backups[i];
        }
        text += '\n';
    }
    return text + "placing\n";
}

bool ParseJournal(const std::string& text, Journal& journal) {
    journal = Journal();
    std::size_t start = 0, lineNumber = 0;
    bool hasFolder = false;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1, ++lineNumber) {
        const std::string line = text.substr(start, end - start);
        if (lineNumber == 0) {
            if (line != kHeader) return false;
            continue;
        }
        if (journal.placing) return false;  // nothing follows the plan
        const std::vector<std::string> fields = Split(line);
        if (fields[0] == "folder" && lineNumber == 1) {
            hasFolder = ParseFile(fields, 1, journal.folder.id, journal.folder.path) && fields.size() == 4;
            if (!hasFolder) return false;
        } else if (fields[0] == "temp" && hasFolder) {
            JournalFile temporary;
            if (fields.size() != 4 || !ParseFile(fields, 1, temporary.id, temporary.path)) return false;
            journal.temporaries.push_back(temporary);
        } else if (fields[0] == "item" && hasFolder) {
            JournalItem item;
            if (!ParseItem(fields, item)) return false;
            journal.items.push_back(item);
        } else if (line == "placing" && hasFolder) {
            journal.placing = true;
        } else {
            return false;
        }
    }
    // Items without the line that completes them were cut short: no plan.
    if (!journal.placing) journal.items.clear();
    // A journal cut short before its folder was written down names no file.
    return hasFolder || lineNumber <= 1;
}

}  // namespace kit
