// The file operations the upgrade needs, behind a small interface: Win32
// files in the kit, fakes with fault injection in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Result.h"

namespace fw {

// Which file or folder a handle holds, whatever its names: the serial number
// of its volume and its index there. A file keeps it when renamed on its volume.
struct FileId {
    std::uint64_t volume = 0, index = 0;
    bool operator==(const FileId& other) const { return volume == other.volume && index == other.index; }
    bool operator!=(const FileId& other) const { return !(*this == other); }
};

class HeldFolder;

// A file the kit holds open, shared with nobody, from the moment it is opened
// until it is let go (destroyed): nobody else can write, rename or remove it
// meanwhile, and the kit never names it again but to move it.
class HeldFile {
public:
    virtual ~HeldFile() = default;  // lets the file go
    virtual Result Write(const void* data, std::size_t size) = 0;
    // Forces the written bytes to the disk.
    virtual Result Flush() = 0;
    // Renames the open file to name in folder, on the same volume; fails
    // when anything of that name is there.
    virtual Result MoveTo(HeldFolder& folder, const std::string& name) = 0;
    // Removes the file and lets it go.
    virtual Result Remove() = 0;
    // Which file the handle holds on its volume: its index there.
    virtual Result Index(std::uint64_t& index) = 0;
    // Every byte of the file, from its start.
    virtual Result ReadAll(std::string& bytes) = 0;
    // Its owner and DACL in SDDL text ("O:BAD:P(A;;FA;;;BA)").
    virtual Result Security(std::string& sddl) = 0;
};

// What a path names, seen without following a link at its end.
enum class PathKind {
    Missing,
    File,
    Folder,
    Redirected,    // a link, junction or mount point, or a name whose final path lies elsewhere
    SeveralNames,  // a file with more than one name (hard links)
};

// Why what a path names was refused where a plain file on a disk, with a
// single name, found where the path says, was asked for.
struct NotPlainFile {
    enum class Kind { None, Link, Folder, Device, SeveralNames, Elsewhere };
    Kind kind = Kind::None;
    // Elsewhere: where it lies, as PlainPath gives it; empty where the system
    // can't tell (beyond the final path Wine gives, about 263 characters).
    std::string place;
};

// A folder held open so that it can't be renamed, moved or replaced by
// another folder or a link while the kit works in it. Let go when destroyed.
class HeldFolder {
public:
    virtual ~HeldFolder() = default;
    // The final path of the folder held, without a trailing "\".
    virtual const std::string& FinalPath() const = 0;
    virtual Result Identity(FileId& id) = 0;
    // Creates a new, empty file named name in the folder, held; fails when
    // anything of that name exists. Named relative to the folder held, so a
    // folder on the way swapped for a link since can't lead it elsewhere.
    virtual Result CreateNew(const std::string& name, std::unique_ptr<HeldFile>& file) = 0;
    // The system's own handle of the folder, for the file system that made it.
    virtual void* SystemHandle() = 0;
    // Whether path, every link on the way followed, names the very folder
    // held now (the same volume and file index): a folder swapped or linked
    // elsewhere since it was held is another.
    virtual Result SameAs(const std::string& path, bool& same) = 0;
};

// A link met on the way to a folder, with who can change it: the owner and
// DACL, as SDDL text, of the link itself and of the folder it is in.
struct PathLink {
    std::string path;        // the link itself
    std::string leadsTo;     // the final path it leads to; empty when that can't be read
    std::string sddl;        // the link's own ("O:BAD:P(A;;FA;;;BA)")
    std::string parentSddl;  // the folder's it is in, once every link on the way to it is followed
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // What path names; Missing only when nothing is there, any other
    // failure to tell is a failure.
    virtual Result Examine(const std::string& path, PathKind& kind) = 0;
    // Holds the folder that path names once every link on the way is
    // followed; its FinalPath is read from the handle that holds it.
    virtual Result HoldFolder(const std::string& path, std::unique_ptr<HeldFolder>& held) = 0;
    // The links on the way from the drive or share down to folder, folder
    // itself included, nearest the drive first. A part of the way that is
    // missing ends it; any other failure to tell fails.
    virtual Result LinksOnPath(const std::string& folder, std::vector<PathLink>& links) = 0;
    // Holds the existing file at path itself, never what a link at its end
    // points to; fails with kCantAccessFile unless it is a regular file with
    // a single name found where path says, and as held while another program
    // has it open (a running program, a scanner).
    virtual Result OpenExisting(const std::string& path, std::unique_ptr<HeldFile>& file) = 0;
    // Opens the file at path itself for appending, never what a link at its
    // end leads to; others may read it meanwhile, nobody else write. Where
    // nothing is there, creates it, with the security newFileSddl describes
    // ("D:P(A;;FA;;;BA)"), in its folder held and found where the path says
    // first, and sets created; one another makes meanwhile is opened as one
    // that was there. Anything but a plain file on a disk with a single name,
    // found where path says, is refused before a byte is written: fails with
    // kCantAccessFile, refused telling what it is.
    virtual Result OpenForAppend(const std::string& path, const std::string& newFileSddl,
                                 std::unique_ptr<HeldFile>& file, bool& created, NotPlainFile& refused) = 0;
    // The kit's own folder, outside every installation, that only
    // Administrators and SYSTEM can change (see KeepsFileSecurity), made
    // where there is none. A folder of its name that anyone else can change
    // (made in advance by a user) is passed over, never used.
    virtual Result HoldKitFolder(std::unique_ptr<HeldFolder>& held) = 0;
    // Holds the file at path, made where missing, shared with nobody: a
    // second holder fails as held.
    virtual Result HoldLock(const std::string& path, std::unique_ptr<HeldFile>& file) = 0;
    // Whether the system keeps owners and DACLs of files. Wine keeps none:
    // there every file reads as its one user's, and no descriptor tells an
    // administrator's file from another's.
    virtual bool KeepsFileSecurity() = 0;
    // A number from the system's random source, for names nobody can foresee.
    virtual Result Random(std::uint64_t& value) = 0;
    // Waits before the next attempt on a held file.
    virtual void Pause(unsigned milliseconds) = 0;
};

// Whether anything (a file, a folder, a link) is at path.
Result IsPresent(FileSystem& files, const std::string& path, bool& present);

}  // namespace fw
