#include <gtest/gtest.h>

#include "framework/LongPath.h"

namespace {

// The forms a recorded folder and the kit's own paths come in: a drive, a
// share, one already extended; anything else is left to the system's reading.
TEST(ExtendedLengthPath, DrivesSharesAndTheRest) {
    EXPECT_EQ(fw::ExtendedLengthPath("C:\\Primăria\\Data\\Anx3.rtf"), "\\\\?\\C:\\Primăria\\Data\\Anx3.rtf");
    EXPECT_EQ(fw::ExtendedLengthPath("d:\\"), "\\\\?\\d:\\");
    EXPECT_EQ(fw::ExtendedLengthPath("\\\\server\\share\\Meridal"), "\\\\?\\UNC\\server\\share\\Meridal");
    for (const char* kept : {"\\\\?\\C:\\Meridal", "\\\\?\\UNC\\server\\share", "\\\\.\\COM1", "", "C:", "C:Meridal",
                             "\\Meridal", "Meridal", "1:\\Meridal"})
        EXPECT_EQ(fw::ExtendedLengthPath(kept), kept);
}

}  // namespace
