#include "kit/upgrade/Journal.h"

#include <cstdint>

#include "framework/HexDigits.h"

namespace kit {

namespace {

const char kHeader[] = "MeridalUpgrade journal 2";

bool ParseHex(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 16) return false;
    value = 0;
    for (char c : text) {
        if (fw::HexValue(c) < 0) return false;
        value = value << 4 | static_cast<std::uint64_t>(fw::HexValue(c));
    }
    return true;
}

// Any text, tabs and line ends included, as two digits a byte.
std::string HexBytes(const std::string& text) {
    std::string hex;
    for (unsigned char c : text) hex += std::string{fw::HexDigit(c >> 4), fw::HexDigit(c)};
    return hex;
}

bool ParseHexBytes(const std::string& hex, std::string& text) {
    text.clear();
    if (hex.size() % 2) return false;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = fw::HexValue(hex[i]), low = fw::HexValue(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        text += static_cast<char>(high << 4 | low);
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

// fields[at] and fields[at + 1] as a file's index and path; both empty for
// no file where that is allowed.
bool ParseFile(const std::vector<std::string>& fields, std::size_t at, JournalFile& file, bool optional = false) {
    if (fields.size() < at + 2) return false;
    file.path = fields[at + 1];
    if (file.path.empty()) return optional && fields[at].empty();
    return ParseHex(fields[at], file.index);
}

bool ParseItem(const std::vector<std::string>& fields, JournalItem& item) {
    std::uint64_t crc = 0;
    if ((fields.size() != 7 && fields.size() != 9) || fields[1].empty() || !ParseHex(fields[2], item.size) ||
        !ParseHex(fields[3], crc) || crc > 0xFFFFFFFFu || (fields[4] != "0" && fields[4] != "1"))
        return false;
    item.target = fields[1];
    item.crc = static_cast<std::uint32_t>(crc);
    item.keepOld = fields[4] == "1";
    item.replaces = fields.size() == 9;
    return ParseFile(fields, 5, item.fresh, true) && (!item.replaces || ParseFile(fields, 7, item.old)) &&
           (item.replaces || !item.fresh.path.empty());
}

}  // namespace

std::string JournalHeader(const std::string& folder, const fw::FileId& folderId) {
    return std::string(kHeader) + "\nfolder\t" + fw::HexDigits(folderId.volume) + '\t' +
           Fields(folderId.index, folder) + '\n';
}

std::string TemporaryRecord(const JournalFile& temporary) {
    return "temp\t" + Fields(temporary.index, temporary.path) + '\n';
}

std::string PlacingRecords(const Journal& journal) {
    std::string text = "record\t" + HexBytes(journal.before) + '\t' + HexBytes(journal.after) + '\n';
    if (journal.undo) text += "undo\n";
    for (const JournalItem& item : journal.items) {
        text += "item\t" + item.target + '\t' + fw::HexDigits(item.size) + '\t' + fw::HexDigits(item.crc) +
                (item.keepOld ? "\t1\t" : "\t0\t") +
                (item.fresh.path.empty() ? std::string("\t") : Fields(item.fresh.index, item.fresh.path));
        if (item.replaces) text += '\t' + Fields(item.old.index, item.old.path);
        text += '\n';
    }
    return text + "placing\n";
}

std::string JournalText(const Journal& journal) {
    std::string text = JournalHeader(journal.folder, journal.folderId);
    for (const JournalFile& temporary : journal.temporaries) text += TemporaryRecord(temporary);
    return text + PlacingRecords(journal);
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
        } else if (fields[0] == "record" && hasFolder) {
            if (fields.size() != 3 || !ParseHexBytes(fields[1], journal.before) ||
                !ParseHexBytes(fields[2], journal.after))
                return false;
        } else if (line == "undo" && hasFolder) {
            journal.undo = true;
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
