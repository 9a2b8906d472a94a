#include "framework/LinkRules.h"

namespace fw {

bool IsLinkTag(unsigned long tag) {
    const unsigned long kNameSurrogate = 0x20000000;  // the bit IsReparseTagNameSurrogate reads
    return tag == 0 || (tag & kNameSurrogate) != 0;
}

bool MayFollowLinkOwnedBy(const std::string& ownerSid) {
    static const char* const kTrusted[] = {
        "S-1-5-32-544",                                                    // Administrators
        "S-1-5-18",                                                        // SYSTEM
        "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",  // TrustedInstaller
    };
    for (const char* trusted : kTrusted)
        if (ownerSid == trusted) return true;
    return false;
}

}  // namespace fw
