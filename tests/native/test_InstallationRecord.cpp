#include <gtest/gtest.h>

#include "MemoryRegistry.h"
#include "framework/Error.h"
#include "kit/upgrade/InstallationRecord.h"

namespace {

struct InstallationRecordTest : ::testing::Test {
    MemoryRegistry registry;
    const std::string key = "Software\\Varnoti\\82";
};

TEST_F(InstallationRecordTest, MissingKeyReadsEmptyAndIsCreated) {
    EXPECT_EQ(kit::InstallationRecordPath(), key);
    EXPECT_FALSE(registry.KeyExists(key));
    EXPECT_EQ(kit::ReadRecordValue(registry, "CALE"), "");
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "");
    EXPECT_TRUE(registry.KeyExists(key));
}

TEST_F(InstallationRecordTest, WrittenVersionReadsBackWithItsTerminatorCut) {
    kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.39");
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v.2.39");
    // A value stored with bytes after an embedded NUL ends at the NUL.
    registry.SetRaw(key, "CALE", fw::kRegExpandString, std::string("C:\\Apps\\Meridal\0junk", 20));
    EXPECT_EQ(kit::ReadRecordValue(registry, "CALE"), "C:\\Apps\\Meridal");
    // The folder is used as stored, trailing backslash included.
    registry.SetRaw(key, "CALE", fw::kRegString, std::string("C:\\Apps\\\0", 9));
    EXPECT_EQ(kit::ReadRecordValue(registry, "CALE"), "C:\\Apps\\");
}

TEST_F(InstallationRecordTest, FailuresCarryTheirMessages) {
    registry.SetRaw(key, "VER", fw::kRegDword, std::string("\x02\0\0\0", 4));
    try {
        kit::ReadRecordValue(registry, "VER");
        FAIL() << "a number read as text";
    } catch (const fw::Error& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'VER'");
    }

    registry.SetRaw(key, "CALE", fw::kRegString, std::string("C:\\x\0", 5));
    registry.failDataRead = true;
    try {
        kit::ReadRecordValue(registry, "CALE");
        FAIL() << "unreadable data read";
    } catch (const fw::Error& e) {
        EXPECT_STREQ(e.what(), "Failed to get data for 'CALE'");
        EXPECT_EQ(e.code, fw::kAccessDenied);  // the registry's own reason travels with the message
    }

    registry.denyAccess = true;
    EXPECT_EQ(kit::ReadRecordValue(registry, "CALE"), "");
    try {
        kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.39");
        FAIL() << "write without access";
    } catch (const fw::Error& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'VER'");
        EXPECT_EQ(e.code, fw::kAccessDenied);
    }

    // A value set but not flushed is no failure to set it.
    registry.denyAccess = false;
    registry.failFlush = true;
    try {
        kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.39");
        FAIL() << "a write that never reached the disk";
    } catch (const fw::Error& e) {
        EXPECT_STREQ(e.what(),
                     "Data for 'VER' is set but could not be saved to the disk. The request could not be "
                     "performed because of an I/O device error");
        EXPECT_EQ(e.code, fw::kIoDevice);
    }
}

}  // namespace
