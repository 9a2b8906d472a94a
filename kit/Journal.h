// What an upgrade transaction writes down in the kit's own folder before it
// changes anything, so that the next run can undo or finish a run stopped
// short (see Transaction.h). Every file is named by its path and by its
// identity: recovery acts on a file only where both still match.
//
// Text, one record a line, fields separated by tabs (no file name holds one):
//   MeridalUpgrade journal 1
//   folder <volume> <index> <path>    the installation folder held
//   temp <index> <path>               a temporary file staged so far
//   item <target> <index> <temporary> [<index> <backup>]
//                                     a target, its new file, and the file it replaces with where it goes
//   placing                           the items are complete: files may move from here on
// Numbers are hexadecimal. A file is known by its index on its volume: every
// file named here is directly in a folder the kit holds (the installation's,
// its Data folder, the kit's own), and no file is a mount point, so its
// volume is its folder's. A last line without its line end was cut short
// by a power cut while it was appended, and is no record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/FileSystem.h"

namespace kit {

struct JournalFile {
    std::string path;
    std::uint64_t index = 0;
};

struct JournalItem {
    std::string target;
    JournalFile fresh;  // the new file, under its temporary name
    bool replaces = false;
    JournalFile old;  // the target it replaces, under the name it is moved to
};

struct Journal {
    std::string folder;  // empty when the journal was cut short before naming it
    fw::FileId folderId;
    std::vector<JournalFile> temporaries;
    std::vector<JournalItem> items;
    bool placing = false;
};

std::string JournalHeader(const std::string& folder, const fw::FileId& folderId);
std::string TemporaryRecord(const JournalFile& temporary);
// Every item, then the line that makes them the rollback's plan.
std::string PlacingRecords(const std::vector<JournalItem>& items);

// False when text is no journal of this kit's.
bool ParseJournal(const std::string& text, Journal& journal);

}  // namespace kit
