// What a transaction writes down in the kit's own folder before it changes
// anything, so that the next run can undo or finish a run stopped short (see
// Transaction.h). Every file is named by its path and by its identity:
// recovery acts on a file only where both still match. A committed upgrade's
// journal becomes the kept version of its installation (see KeptVersion.h).
//
// Text, one record a line, fields separated by tabs (no file name holds one):
//   MeridalUpgrade journal 2
//   folder <volume> <index> <path>    the installation folder held
//   record <before> <after>           the recorded version before the run and after it, as hexadecimal bytes
//   undo                              the run puts a kept version back
//   temp <index> <path>               a temporary file staged so far
//   item <target> <size> <crc> <keep> <index> <new> [<index> <old>]
//                                     a target; the size and CRC-32 of the new file; whether the file it
//                                     replaces is kept when the run ends (1) or removed (0); the new file,
//                                     none where index and path are empty; the file it replaces, and where
//                                     it goes
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
    std::string path;  // empty: no file
    std::uint64_t index = 0;
};

struct JournalItem {
    std::string target;
    JournalFile fresh;  // the new file, under its temporary name; none when the run removes the target
    bool replaces = false;
    JournalFile old;  // the target it replaces, under the name it is moved to
    std::uint64_t size = 0;
    std::uint32_t crc = 0;  // of the new file, to tell later whether it changed
    bool keepOld = false;   // the replaced target stays in the kit's folder
};

struct Journal {
    std::string folder;  // empty when the journal was cut short before naming it
    fw::FileId folderId;
    std::string before, after;  // the recorded version
    bool undo = false;
    std::vector<JournalFile> temporaries;
    std::vector<JournalItem> items;
    bool placing = false;
};

std::string JournalHeader(const std::string& folder, const fw::FileId& folderId);
std::string TemporaryRecord(const JournalFile& temporary);
// The recorded versions, every item, then the line that makes them the
// rollback's plan.
std::string PlacingRecords(const Journal& journal);
// The whole journal, as a committed run leaves it.
std::string JournalText(const Journal& journal);

// False when text is no journal of this kit's.
bool ParseJournal(const std::string& text, Journal& journal);

}  // namespace kit
