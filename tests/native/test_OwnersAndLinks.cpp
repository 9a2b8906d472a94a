#include <gtest/gtest.h>

#include "framework/LinkRules.h"
#include "framework/NameOwner.h"

namespace {

// Only an owner that no ordinary user can give an object makes the lock's
// name another kit's; a user's, an object without owner, or an owner that
// can't be read leaves the name to someone else, and the kit goes on.
TEST(HolderOfName, OnlyAdministratorsOrSystemMeanAnotherKit) {
    for (const char* kit : {"S-1-5-32-544", "S-1-5-18"})
        EXPECT_EQ(fw::HolderOfName(kit), fw::NameHolder::AnotherInstance) << kit;
    for (const char* other : {"S-1-5-21-0-0-0-1000", "S-1-5-32-545", "S-1-5-32-5440", "S-1-5-19", "S-1-1-0", ""})
        EXPECT_EQ(fw::HolderOfName(other), fw::NameHolder::SomeoneElse) << other;
}

// Links on the way to the installation are followed only where no ordinary
// user can have made them; a user's, or one whose owner can't be read, stops
// the run.
TEST(MayFollowLinkOwnedBy, OnlyAdministratorsSystemOrTrustedInstaller) {
    for (const char* trusted :
         {"S-1-5-32-544", "S-1-5-18", "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"})
        EXPECT_TRUE(fw::MayFollowLinkOwnedBy(trusted)) << trusted;
    for (const char* other : {"S-1-5-21-0-0-0-1000", "S-1-5-32-545", "S-1-5-80-0", "S-1-1-0", ""})
        EXPECT_FALSE(fw::MayFollowLinkOwnedBy(other)) << other;
}

// Only reparse points that name another place are links; files that a
// filter keeps deduplicated, compressed or in the cloud are ordinary files.
TEST(IsLinkTag, NameSurrogatesOnly) {
    for (unsigned long link :
         {0xA000000CUL, 0xA0000003UL, 0xA000001DUL, 0UL})  // symbolic link, junction, AF_UNIX, unread
        EXPECT_TRUE(fw::IsLinkTag(link)) << std::hex << link;
    for (unsigned long file :
         {0x80000013UL, 0x80000017UL, 0x9000001AUL, 0x9000601AUL, 0x80000014UL})  // dedup, WOF, cloud, NFS
        EXPECT_FALSE(fw::IsLinkTag(file)) << std::hex << file;
}

}  // namespace
