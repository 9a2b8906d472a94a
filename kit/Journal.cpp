#include "kit/Journal.h"

#include <cstdint>

#include "framework/HexDigits.h"

namespace kit {

namespace {

const char kHeader[] = "MeridalUpgrade journal 1";

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

std::string Fields(std::uint64_t index, const std::string& path) { return fw::HexDigits(index) + '\t' + path; }

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// fields[at] and fields[at + 1] as a file's index and path.
bool ParseFile(const std::vector<std::string>& fields, std::size_t at, JournalFile& file) {
    if (fields.size() < at + 2 || fields[at + 1].empty()) return false;
    file.path = fields[at + 1];
    return ParseHex(fields[at], file.index);
}

bool ParseItem(const std::vector<std::string>& fields, JournalItem& item) {
    if ((fields.size() != 4 && fields.size() != 6) || fields[1].empty()) return false;
    item.target = fields[1];
    item.replaces = fields.size() == 6;
    return ParseFile(fields, 2, item.fresh) && (!item.replaces || ParseFile(fields, 4, item.old));
}

}  // namespace

std::string JournalHeader(const std::string& folder, const fw::FileId& folderId) {
    return std::string(kHeader) + "\nfolder\t" + fw::HexDigits(folderId.volume) + '\t' +
           Fields(folderId.index, folder) + '\n';
}

std::string TemporaryRecord(const JournalFile& temporary) {
    return "temp\t" + Fields(temporary.index, temporary.path) + '\n';
}

std::string PlacingRecords(const std::vector<JournalItem>& items) {
    std::string text;
    for (const JournalItem& item : items) {
        text += "item\t" + item.target + '\t' + Fields(item.fresh.index, item.fresh.path);
        if (item.replaces) text += '\t' + Fields(item.old.index, item.old.path);
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
            JournalFile folder;
            hasFolder =
                fields.size() == 4 && ParseHex(fields[1], journal.folderId.volume) && ParseFile(fields, 2, folder);
            if (!hasFolder) return false;
            journal.folder = folder.path;
            journal.folderId.index = folder.index;
        } else if (fields[0] == "temp" && hasFolder) {
            JournalFile temporary;
            if (fields.size() != 3 || !ParseFile(fields, 1, temporary)) return false;
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
