#include "framework/SecurityRules.h"

#include <cstddef>
#include <vector>

namespace fw {

const char kAdministratorsSid[] = "S-1-5-32-544";
const char kSystemSid[] = "S-1-5-18";
const char kTrustedInstallerSid[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

namespace {

const char kCreatorOwnerSid[] = "S-1-3-0";
const char kOwnerRightsSid[] = "S-1-3-4";

// Access rights by bit, as a file or folder reads them.
const unsigned long kReadData = 0x1;    // list a folder
const unsigned long kWriteData = 0x2;   // add a file
const unsigned long kAppendData = 0x4;  // add a subfolder
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

struct Ace {
    bool allows = false;  // any entry that is no deny entry may grant access
    bool inheritOnly = false;
    unsigned long rights = 0;
    std::string sid;
};

struct Descriptor {
    std::string owner;
    bool daclPresent = false;
    bool nullDacl = false;
    std::vector<Ace> aces;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A "0x..." number of at most 32 bits.
bool ParseHex(const std::string& text, unsigned long& value) {
    if (text.size() < 3 || text.size() > 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
    value = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        const char c = text[i];
        if (!IsHexDigit(c)) return false;
        value = value * 16 + static_cast<unsigned long>(IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return true;
}

// The SID at text[pos...] in its full form: "S-1-5-18" as it is, the
// abbreviations the rules name written out, any other abbreviation (two
// capitals) kept as it is: somebody else.
bool ParseSid(const std::string& text, std::size_t& pos, std::string& sid) {
    if (text.compare(pos, 4, "S-1-") == 0) {
        std::size_t end = pos + 4;
        while (end < text.size() && (IsDigit(text[end]) || (text[end] == '-' && IsDigit(text[end - 1])))) ++end;
        if (!IsDigit(text[end - 1])) return false;
        sid = text.substr(pos, end - pos);
        pos = end;
        return true;
    }
    if (pos + 2 > text.size() || !IsUpper(text[pos]) || !IsUpper(text[pos + 1])) return false;
    static const struct {
        const char* abbreviation;
        const char* sid;
    } kNamed[] = {{"BA", kAdministratorsSid}, {"SY", kSystemSid}, {"CO", kCreatorOwnerSid}, {"OW", kOwnerRightsSid}};
    sid = text.substr(pos, 2);
    for (const auto& named : kNamed)
        if (sid == named.abbreviation) sid = named.sid;
    pos += 2;
    return true;
}

bool ParseRights(const std::string& text, unsigned long& rights) {
    if (text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0) return ParseHex(text, rights);
    static const struct {
        char code[3];
        unsigned long rights;
    } kCodes[] = {
        {"GA", kGenericAll},  {"GR", kGenericRead}, {"GW", kGenericWrite}, {"GX", kGenericExecute},
        {"RC", kReadControl}, {"SD", kDelete},      {"WD", kWriteDac},     {"WO", kWriteOwner},
        {"CC", 0x1},          {"DC", 0x2},          {"LC", 0x4},           {"SW", 0x8},
        {"RP", 0x10},         {"WP", 0x20},         {"DT", 0x40},          {"LO", 0x80},
        {"CR", 0x100},        {"FA", 0x1F01FF},     {"FR", 0x120089},      {"FW", 0x120116},
        {"FX", 0x1200A0},     {"KA", 0xF003F},      {"KR", 0x20019},       {"KW", 0x20006},
        {"KX", 0x20019},
    };
    rights = 0;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bool known = false;
        for (const auto& code : kCodes)
            if (text.compare(i, 2, code.code) == 0) {
                rights |= code.rights;
                known = true;
            }
        if (!known) return false;
    }
    return true;
}

bool ParseAceFlags(const std::string& text, bool& inheritOnly) {
    unsigned long flags = 0;
    if (text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0) {
        if (!ParseHex(text, flags)) return false;
        inheritOnly = (flags & 0x8) != 0;  // INHERIT_ONLY_ACE
        return true;
    }
    static const char* const kFlags[] = {"OI", "CI", "NP", "IO", "ID", "SA", "FA", "TP", "CR"};
    inheritOnly = false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bool known = false;
        for (const char* flag : kFlags) known = known || text.compare(i, 2, flag) == 0;
        if (!known) return false;
        inheritOnly = inheritOnly || text.compare(i, 2, "IO") == 0;
    }
    return true;
}

// One entry's text between its parentheses: type;flags;rights;object;inherited object;SID.
// A conditional entry's seventh field is not understood.
bool ParseAce(const std::string& text, Ace& ace) {
    std::vector<std::string> fields(1);
    for (char c : text)
        if (c == ';') fields.emplace_back();
        else fields.back() += c;
    if (fields.size() != 6 || fields[0].empty()) return false;
    for (char c : fields[0])
        if (!IsUpper(c)) return false;
    ace.allows = fields[0] != "D" && fields[0] != "OD" && fields[0] != "XD";
    for (int guid = 3; guid <= 4; ++guid)
        for (char c : fields[guid])
            if (!IsHexDigit(c) && c != '-') return false;
    std::size_t pos = 0;
    return ParseAceFlags(fields[1], ace.inheritOnly) && ParseRights(fields[2], ace.rights) &&
           ParseSid(fields[5], pos, ace.sid) && pos == fields[5].size();
}

// "O:<sid>" with, after it, an optional "G:<sid>" and then "D:<flags><entries>".
bool Parse(const std::string& text, Descriptor& descriptor) {
    std::size_t pos = 0;
    if (text.compare(pos, 2, "O:") != 0) return false;
    pos += 2;
    if (!ParseSid(text, pos, descriptor.owner)) return false;
    if (text.compare(pos, 2, "G:") == 0) {
        std::string group;
        pos += 2;
        if (!ParseSid(text, pos, group)) return false;
    }
    if (pos == text.size()) return true;
    if (text.compare(pos, 2, "D:") != 0) return false;
    pos += 2;
    descriptor.daclPresent = true;
    for (;;) {
        if (text.compare(pos, 17, "NO_ACCESS_CONTROL") == 0) {
            descriptor.nullDacl = true;
            pos += 17;
        } else if (text.compare(pos, 2, "AI") == 0 || text.compare(pos, 2, "AR") == 0) {
            pos += 2;
        } else if (text.compare(pos, 1, "P") == 0) {
            pos += 1;
        } else {
            break;
        }
    }
    while (pos < text.size()) {
        if (text[pos] != '(') return false;
        const std::size_t end = text.find_first_of("()", pos + 1);
        if (end == std::string::npos || text[end] != ')') return false;
        Ace ace;
        if (!ParseAce(text.substr(pos + 1, end - pos - 1), ace)) return false;
        descriptor.aces.push_back(ace);
        pos = end + 1;
    }
    return true;
}

bool IsTrusted(const std::string& sid) {
    return sid == kAdministratorsSid || sid == kSystemSid || sid == kTrustedInstallerSid;
}

// A descriptor owned by one of owners, with a DACL that is not NULL.
bool ParseOwnedBy(const std::string& sddl, bool (*owners)(const std::string&), Descriptor& descriptor) {
    return Parse(sddl, descriptor) && owners(descriptor.owner) && descriptor.daclPresent && !descriptor.nullDacl;
}

// Whether no entry that applies to the object itself gives anybody but the
// trusted accounts (and OWNER RIGHTS, the trusted owner) any of rights.
bool NobodyElseHasOnItself(const Descriptor& descriptor, unsigned long rights) {
    for (const Ace& ace : descriptor.aces)
        if (ace.allows && !ace.inheritOnly && (ace.rights & rights) != 0 && !IsTrusted(ace.sid) &&
            ace.sid != kOwnerRightsSid)
            return false;
    return true;
}

}  // namespace

bool OnlyAdministratorsCanChange(const std::string& sddl) {
    Descriptor descriptor;
    const auto administratorsOrSystem = [](const std::string& sid) {
        return sid == kAdministratorsSid || sid == kSystemSid;
    };
    if (!ParseOwnedBy(sddl, administratorsOrSystem, descriptor)) return false;
    for (const Ace& ace : descriptor.aces) {
        if (!ace.allows || (ace.rights & ~kOnlyReading) == 0) continue;
        // CREATOR OWNER stands for whoever creates a child, here the kit;
        // in an entry that applies to the folder itself it means nobody the
        // rules know.
        const bool creatorOfChild = ace.sid == kCreatorOwnerSid && ace.inheritOnly;
        if (!IsTrusted(ace.sid) && ace.sid != kOwnerRightsSid && !creatorOfChild) return false;
    }
    return true;
}

bool MayFollowLink(const std::string& linkSddl, const std::string& parentSddl) {
    // Entries only for children of a folder change nothing for the link or
    // its folder: the link's own inherited ones are in its own descriptor.
    Descriptor link, parent;
    return ParseOwnedBy(linkSddl, IsTrusted, link) && NobodyElseHasOnItself(link, kChangesLink) &&
           ParseOwnedBy(parentSddl, IsTrusted, parent) && NobodyElseHasOnItself(parent, kReplacesChild);
}

}  // namespace fw
