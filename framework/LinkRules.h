// Which reparse points are links, and which links the kit follows: plain
// rules over the tag and the owner, so they are tested without Windows.
#pragma once

#include <string>

namespace fw {

// Whether a reparse point with this tag names another place (a symbolic
// link, a junction, a mount point: a name surrogate). A tag that couldn't
// be read (0) counts as one. Deduplicated, compressed (WOF) and cloud
// placeholder files are ordinary files to a program, and are not.
bool IsLinkTag(unsigned long tag);

// Whether a link on the way to the installation may be followed: only one
// owned by Administrators, SYSTEM or TrustedInstaller, whom no ordinary user
// can make a link's owner. ownerSid is in its string form; empty when the
// owner can't be read.
bool MayFollowLinkOwnedBy(const std::string& ownerSid);

}  // namespace fw
