#include "framework/SecurityRules.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

#include "framework/Ascii.h"

namespace fw {

const char kAdministratorsSid[] = "S-1-5-32-544";
const char kSystemSid[] = "S-1-5-18";
const char kTrustedInstallerSid[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

namespace {

// Access rights by bit, as a file or folder reads them.
const unsigned long kReadData = 0x1;   // list a folder
const unsigned long kWriteData = 0x2;  // add a file
const unsigned long kReadEa = 0x8;
const unsigned long kWriteEa = 0x10;
const unsigned long kExecute = 0x20;  // traverse a folder
const unsigned long kDeleteChild = 0x40;
const unsigned long kReadAttributes = 0x80;
const unsigned long kWriteAttributes = 0x100;
const unsigned long kDelete = 0x10000;
const unsigned long kReadControl = 0x20000;
const unsigned long kWriteDac = 0x40000;
const unsigned long kWriteOwner = 0x80000;
const unsigned long kSynchronize = 0x100000;
const unsigned long kMaximumAllowed = 0x2000000;
const unsigned long kGenericAll = 0x10000000;
const unsigned long kGenericExecute = 0x20000000;
const unsigned long kGenericWrite = 0x40000000;
const unsigned long kGenericRead = 0x80000000;

// The rights that change nothing; any other bit, known or not, may.
const unsigned long kOnlyReading =
    kReadData | kReadEa | kExecute | kReadAttributes | kReadControl | kSynchronize | kGenericExecute | kGenericRead;
// The rights that retarget a link, remove or replace it, or let its security
// be changed. Setting or deleting a reparse point takes a handle with
// FILE_WRITE_DATA or FILE_WRITE_ATTRIBUTES (the file system's checks of
// FSCTL_SET_REPARSE_POINT and FSCTL_DELETE_REPARSE_POINT); FILE_WRITE_EA
// counts too, to be safe.
const unsigned long kChangesLink = kWriteData | kWriteEa | kWriteAttributes | kDelete | kWriteDac | kWriteOwner |
                                   kGenericWrite | kGenericAll | kMaximumAllowed;
// The rights on a folder that delete or replace a child whatever the
// child's own security says, or let the folder's security be changed.
const unsigned long kReplacesChild = kDeleteChild | kWriteDac | kWriteOwner | kGenericAll | kMaximumAllowed;

// Who an entry or the owner names, as far as the rules tell people apart.
enum class Who { Administrators, System, TrustedInstaller, CreatorOwner, OwnerRights, SomebodyElse };

bool IsTrusted(Who who) { return who == Who::Administrators || who == Who::System || who == Who::TrustedInstaller; }

// What the rules need of a descriptor, read in one pass.
struct Summary {
    Who owner = Who::SomebodyElse;
    bool daclPresent = false;
    bool nullDacl = false;
    // The rights others have on the object itself: allow entries that are
    // not inherit-only, for anybody but the trusted accounts and OWNER
    // RIGHTS (the owner, itself trusted where it matters).
    unsigned long othersOnItself = 0;
    // Whether anybody else may change the object or what is made in it;
    // CREATOR OWNER in an inherit-only entry is whoever makes the child.
    bool othersChange = false;
};

// The text still to read.
struct Cursor {
    const char* at;
    const char* end;
    char Peek() const { return at < end ? *at : '\0'; }
    // Reads word when the text goes on with it.
    bool Take(const char* word) {
        const std::size_t length = std::strlen(word);
        if (static_cast<std::size_t>(end - at) < length || std::memcmp(at, word, length) != 0) return false;
        at += length;
        return true;
    }
};

// A field of an entry.
struct Field {
    const char* text;
    std::size_t length;
    bool Is(const char* word) const { return std::strlen(word) == length && std::memcmp(text, word, length) == 0; }
};

// Reads a field of an entry and the ";" after it.
bool TakeField(Cursor& cursor, Field& field) {
    field.text = cursor.at;
    while (cursor.at < cursor.end && *cursor.at != ';' && *cursor.at != '(' && *cursor.at != ')') ++cursor.at;
    field.length = static_cast<std::size_t>(cursor.at - field.text);
    return cursor.Take(";");
}

bool IsHexDigit(char c) { return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsHex(const Field& field) { return field.length > 0 && field.text[0] == '0'; }

// A "0x..." number of at most 32 bits.
bool ParseHex(const Field& field, unsigned long& value) {
    if (field.length < 3 || field.length > 10 || field.text[0] != '0' || (field.text[1] | 0x20) != 'x') return false;
    value = 0;
    for (std::size_t i = 2; i < field.length; ++i) {
        const char c = field.text[i];
        if (!IsHexDigit(c)) return false;
        value = value * 16 + static_cast<unsigned long>(IsAsciiDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return true;
}

// Two-letter codes, each with its bits: "OICI" is OI and CI. Unknown codes fail.
bool ParseCodes(const Field& field, const char* codes, const unsigned long* bits, unsigned long& value) {
    if (field.length % 2 != 0) return false;
    value = 0;
    for (std::size_t i = 0; i < field.length; i += 2) {
        std::size_t code = 0;
        while (codes[2 * code] != '\0' && std::memcmp(codes + 2 * code, field.text + i, 2) != 0) ++code;
        if (codes[2 * code] == '\0') return false;
        value |= bits[code];
    }
    return true;
}

bool ParseRights(const Field& field, unsigned long& rights) {
    static const char kCodes[] = "GAGRGWGXRCSDWDWOCCDCLCSWRPWPDTLOCRFAFRFWFXKAKRKWKX";
    static const unsigned long kBits[] = {kGenericAll,  kGenericRead, kGenericWrite, kGenericExecute,
                                          kReadControl, kDelete,      kWriteDac,     kWriteOwner,
                                          0x1,          0x2,          0x4,           0x8,
                                          0x10,         0x20,         0x40,          0x80,
                                          0x100,        0x1F01FF,     0x120089,      0x120116,
                                          0x1200A0,     0xF003F,      0x20019,       0x20006,
                                          0x20019};
    return IsHex(field) ? ParseHex(field, rights) : ParseCodes(field, kCodes, kBits, rights);
}

// Whether the entry's flags, known ones only, make it inherit-only.
bool ParseAceFlags(const Field& field, bool& inheritOnly) {
    static const char kCodes[] = "OICINPIOIDSAFATPCR";
    static const unsigned long kBits[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x40, 0x80, 0x40, 0x20};
    unsigned long flags = 0;
    const bool parsed = IsHex(field) ? ParseHex(field, flags) : ParseCodes(field, kCodes, kBits, flags);
    inheritOnly = (flags & 0x8) != 0;  // INHERIT_ONLY_ACE
    return parsed;
}

// A SID, full ("S-1-5-18") or abbreviated (two capitals); of the
// abbreviations only those of the accounts the rules name are told apart.
bool ParseSid(Cursor& cursor, Who& who) {
    const char* begin = cursor.at;
    if (cursor.Take("S-1-")) {
        while (IsAsciiDigit(cursor.Peek()) || (cursor.Peek() == '-' && IsAsciiDigit(cursor.at[-1]))) ++cursor.at;
        if (!IsAsciiDigit(cursor.at[-1])) return false;
    } else {
        for (int letter = 0; letter < 2; ++letter, ++cursor.at)
            if (!IsAsciiUpper(cursor.Peek())) return false;
    }
    static const struct {
        const char* sid;
        Who who;
    } kKnown[] = {
        {"BA", Who::Administrators},
        {kAdministratorsSid, Who::Administrators},
        {"SY", Who::System},
        {kSystemSid, Who::System},
        {"CO", Who::CreatorOwner},
        {"S-1-3-0", Who::CreatorOwner},
        {"OW", Who::OwnerRights},
        {"S-1-3-4", Who::OwnerRights},
        {kTrustedInstallerSid, Who::TrustedInstaller},
    };
    const Field sid = {begin, static_cast<std::size_t>(cursor.at - begin)};
    who = Who::SomebodyElse;
    for (const auto& known : kKnown)
        if (sid.Is(known.sid)) who = known.who;
    return true;
}

// One entry after its "(": type;flags;rights;object;inherited object;SID).
// A conditional entry, with a seventh field, is not understood.
bool ParseAce(Cursor& cursor, Summary& summary) {
    Field type, flags, rights, object, inheritedObject;
    if (!TakeField(cursor, type) || !TakeField(cursor, flags) || !TakeField(cursor, rights) ||
        !TakeField(cursor, object) || !TakeField(cursor, inheritedObject) || type.length == 0)
        return false;
    for (std::size_t i = 0; i < type.length; ++i)
        if (!IsAsciiUpper(type.text[i])) return false;
    for (const Field& guid : {object, inheritedObject})
        for (std::size_t i = 0; i < guid.length; ++i)
            if (!IsHexDigit(guid.text[i]) && guid.text[i] != '-') return false;
    bool inheritOnly = false;
    unsigned long mask = 0;
    Who who = Who::SomebodyElse;
    if (!ParseAceFlags(flags, inheritOnly) || !ParseRights(rights, mask) || !ParseSid(cursor, who) || !cursor.Take(")"))
        return false;
    // Any entry but a deny entry may grant access; deny entries only take
    // access away, and are left out.
    if (type.Is("D") || type.Is("OD") || type.Is("XD")) return true;
    const bool trusted = IsTrusted(who) || who == Who::OwnerRights;
    if (!trusted && !inheritOnly) summary.othersOnItself |= mask;
    const bool creatorOfChild = who == Who::CreatorOwner && inheritOnly;
    if (!trusted && !creatorOfChild && (mask & ~kOnlyReading) != 0) summary.othersChange = true;
    return true;
}

// "O:<sid>", then an optional "G:<sid>", then "D:<flags><entries>" or nothing.
bool Parse(const std::string& text, Summary& summary) {
    Cursor cursor = {text.data(), text.data() + text.size()};
    Who group = Who::SomebodyElse;
    if (!cursor.Take("O:") || !ParseSid(cursor, summary.owner)) return false;
    if (cursor.Take("G:") && !ParseSid(cursor, group)) return false;
    if (cursor.at == cursor.end) return true;
    if (!cursor.Take("D:")) return false;
    summary.daclPresent = true;
    for (;;) {
        if (cursor.Take("NO_ACCESS_CONTROL")) summary.nullDacl = true;
        else if (!cursor.Take("P") && !cursor.Take("AI") && !cursor.Take("AR")) break;
    }
    while (cursor.at < cursor.end)
        if (!cursor.Take("(") || !ParseAce(cursor, summary)) return false;
    return true;
}

// A descriptor read whole, owned by one of the trusted accounts, with a DACL
// that is not NULL.
bool ParseOwnedByTrusted(const std::string& sddl, Summary& summary) {
    return Parse(sddl, summary) && IsTrusted(summary.owner) && summary.daclPresent && !summary.nullDacl;
}

}  // namespace

bool OnlyAdministratorsCanChange(const std::string& sddl) {
    Summary summary;
    return ParseOwnedByTrusted(sddl, summary) && summary.owner != Who::TrustedInstaller && !summary.othersChange;
}

bool MayFollowLink(const std::string& linkSddl, const std::string& parentSddl) {
    // Entries only for children of a folder change nothing for the link or
    // its folder: the link's own inherited ones are in its own descriptor.
    Summary link, parent;
    return ParseOwnedByTrusted(linkSddl, link) && (link.othersOnItself & kChangesLink) == 0 &&
           ParseOwnedByTrusted(parentSddl, parent) && (parent.othersOnItself & kReplacesChild) == 0;
}

}  // namespace fw
