// Which reparse points are links: a plain rule over the tag, so it is tested
// without Windows. Which links the kit follows is in SecurityRules.h.
#pragma once

namespace fw {

// Whether a reparse point with this tag names another place (a symbolic
// link, a junction, a mount point: a name surrogate). A tag that couldn't
// be read (0) counts as one. Deduplicated, compressed (WOF) and cloud
// placeholder files are ordinary files to a program, and are not.
bool IsLinkTag(unsigned long tag);

}  // namespace fw
