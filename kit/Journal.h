// What an upgrade transaction writes down in the kit's own folder before it
// changes anything, so that the next run can undo or finish a run stopped
// short (see Transaction.h). Every file is named by its path and by its
// identity: recovery acts on a file only where both still match.
//
// Text, one record a line, fields separated by tabs (no file name holds one):
//   MeridalUpgrade journal 1
//   folder <volume> <index> <path>            the installation folder held
//   temp <volume> <index> <path>              a temporary file staged so far
//   item <target> <volume> <index> <temporary> [<volume> <index> <backup>...]
//                                             a target, its new file, and the file it replaces with where it goes
//   placing                                   the items are complete: files may move from here on
// Identities are hexadecimal. A last line without its line end was cut short
// by a power cut while it was appended, and is no record.
#pragma once

#include <string>
#include <vector>

#include "framework/FileSystem.h"

namespace kit {

struct JournalFile {
    std::string path;
    fw::FileId id;
};

struct JournalItem {
    std::string target;
    JournalFile fresh;  // the new file, under its temporary name
    bool replaces = false;
    fw::FileId old;                    // the target it replaces
    std::vector<std::string> backups;  // where that one may be moved: the kit's folder, or beside the target
};

struct Journal {
    JournalFile folder;
    std::vector<JournalFile> temporaries;
    std::vector<JournalItem> items;
    bool placing = false;
};

std::string JournalHeader(const JournalFile& folder);
std::string TemporaryRecord(const JournalFile& temporary);
// Every item, then the line that makes them the rollback's plan.
std::string PlacingRecords(const std::vector<JournalItem>& items);

// False when text is no journal of this kit's.
bool ParseJournal(const std::string& text, Journal& journal);

}  // namespace kit
