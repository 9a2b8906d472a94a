#include "framework/LinkRules.h"

namespace fw {

bool IsLinkTag(unsigned long tag) {
    const unsigned long kNameSurrogate = 0x20000000;  // the bit IsReparseTagNameSurrogate reads
    return tag == 0 || (tag & kNameSurrogate) != 0;
}

}  // namespace fw
