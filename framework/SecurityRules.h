// Who can change a file or folder, judged on its security descriptor in
// SDDL text (owner and DACL, as ConvertSecurityDescriptorToStringSecurityDescriptor
// writes them): plain rules, so they are tested without Windows. The parser
// is strict: whatever it does not understand makes the object untrusted.
#pragma once

#include <string>

namespace fw {

// The accounts no ordinary user can act as, nor make an object's owner.
extern const char kAdministratorsSid[];    // S-1-5-32-544, "BA"
extern const char kSystemSid[];            // S-1-5-18, "SY"
extern const char kTrustedInstallerSid[];  // NT SERVICE\TrustedInstaller

// Whether only Administrators, SYSTEM and TrustedInstaller can change the
// object or what is in it: for the kit's own folders and files. The owner
// is Administrators or SYSTEM, the DACL is present and not NULL, and no
// allow entry, inherited ones to come included, gives anybody else more
// than to read, list, execute or synchronise. CREATOR OWNER counts only in
// an inherit-only entry (then it is whoever creates a child: the kit), and
// OWNER RIGHTS as the owner.
bool OnlyAdministratorsCanChange(const std::string& sddl);

// Whether a link on the way to the installation may be followed: only when
// nobody but Administrators, SYSTEM and TrustedInstaller can retarget,
// replace or remove it. Both the link (linkSddl, read from the link itself)
// and the folder it is in (parentSddl) are owned by one of them; nobody
// else may write the link's reparse data, delete it or change its
// security, nor delete or replace a child of the folder or change the
// folder's security. An empty descriptor (one that couldn't be read) is
// trusted by neither rule.
bool MayFollowLink(const std::string& linkSddl, const std::string& parentSddl);

}  // namespace fw
