#include <gtest/gtest.h>

#include "payload/Crc32.h"
#include "framework/Error.h"
#include "framework/ErrorReport.h"
#include "framework/FormatSettings.h"

namespace {

TEST(CurrToStr, ShortestDecimalForm) {
    fw::Formats().DecimalSeparator = '.';
    EXPECT_EQ(fw::CurrToStr({23900}), "2.39");
    EXPECT_EQ(fw::CurrToStr({24000}), "2.4");
    EXPECT_EQ(fw::CurrToStr({20000}), "2");
    EXPECT_EQ(fw::CurrToStr({1}), "0.0001");
    EXPECT_EQ(fw::CurrToStr({-23900}), "-2.39");
    EXPECT_EQ(fw::CurrToStr({12345678900000}), "1234567890");  // no thousands separator
    EXPECT_EQ(fw::CurrToStr({INT64_MIN}), "-922337203685477.5808");
    fw::Formats().DecimalSeparator = ',';
    EXPECT_EQ(fw::CurrToStr({23900}), "2,39");
    fw::Formats().DecimalSeparator = '.';
}

TEST(StrToInt, DecimalIntegersOnly) {
    EXPECT_EQ(fw::StrToInt("35"), 35);
    EXPECT_EQ(fw::StrToInt("05"), 5);
    EXPECT_EQ(fw::StrToInt(" -7"), -7);
    EXPECT_EQ(fw::StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(fw::StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "3x", "x3", "3 ", "-", "2147483648", "99999999999999999999", "3.5"}) {
        try {
            fw::StrToInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const fw::Error& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(ErrorReport, TitleFromTheExecutableName) {
    EXPECT_EQ(fw::ApplicationTitleFromPath("C:\\Users\\ana\\Downloads\\MeridalUpgrade.exe"), "Meridalupgrade");
    EXPECT_EQ(fw::ApplicationTitleFromPath("Z:/kit/MERIDAL.UPGRADE.EXE"), "Meridal");
    EXPECT_EQ(fw::ApplicationTitleFromPath("kit"), "kit");
}

TEST(ErrorReport, FullStopOnlyAfterCharactersAboveTheDot) {
    EXPECT_EQ(fw::ErrorReportText("Invalid data type for 'VER'"), "Invalid data type for 'VER'");
    EXPECT_EQ(fw::ErrorReportText("Stream write error"), "Stream write error.");
    EXPECT_EQ(fw::ErrorReportText("Failed 2"), "Failed 2.");
    EXPECT_EQ(fw::ErrorReportText("Done."), "Done.");
    EXPECT_EQ(fw::ErrorReportText("Why?"), "Why?.");  // '?' sorts above '.'
    EXPECT_EQ(fw::ErrorReportText("Stop!"), "Stop!");
    EXPECT_EQ(fw::ErrorReportText(""), "");
}

TEST(FormatMessageText, FillsEachPlaceholderInOrder) {
    EXPECT_EQ(fw::FormatMessageText("Cannot create file \"%s\". %s", {"C:\\a.rtf", "Access denied"}),
              "Cannot create file \"C:\\a.rtf\". Access denied");
    EXPECT_EQ(fw::FormatMessageText("100%s%", {"%s"}), "100%s%");  // arguments are not rescanned
}

}  // namespace

// The check value of the zip and gzip CRC-32, whole and continued from any
// split, so both the eight-byte steps and the bytes after them count.
TEST(Crc32, CheckValueWholeAndInPieces) {
    const std::string text = "123456789123456789";
    EXPECT_EQ(payload::Crc32(text.data(), 9), 0xCBF43926u);
    const std::uint32_t whole = payload::Crc32(text.data(), text.size());
    for (std::size_t split = 0; split <= text.size(); ++split)
        EXPECT_EQ(payload::Crc32(text.data() + split, text.size() - split, payload::Crc32(text.data(), split)), whole);
}
