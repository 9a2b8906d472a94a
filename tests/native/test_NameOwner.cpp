#include <gtest/gtest.h>

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

}  // namespace
