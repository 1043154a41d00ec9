// The harness's own helpers.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

TEST(Harness, MaskDateReplacesTheHeaderDate)
{
    const std::string listing =
        "Warning: x\n\nError listing for tabulon (Merrowby) v4.11.2 Mon Dec  7 06:16:45 2026 UTC "
        "converting C:\\a b\\RG12_1.csv\r\n[When reporting]\r\n";
    EXPECT_EQ(e2e::mask_date(listing),
              "Warning: x\n\nError listing for tabulon (Merrowby) v4.11.2 <DATE> converting "
              "C:\\a b\\RG12_1.csv\r\n[When reporting]\r\n");
}

TEST(Harness, MaskDateAcceptsAnEmptyDate)
{
    EXPECT_EQ(e2e::mask_date("Error listing for tabulon (Merrowby) v4.11.2  converting x.csv\n"),
              "Error listing for tabulon (Merrowby) v4.11.2 <DATE> converting x.csv\n");
}

TEST(Harness, MaskDateLeavesOtherTextsAlone)
{
    EXPECT_EQ(e2e::mask_date("no header here\n"), "no header here\n");
}

TEST(Harness, NativePathsAndLines)
{
    const e2e::Target& target = e2e::Target::get();
    if (target.windows) {
        EXPECT_EQ(target.native("/tmp/a/b.csv"), "Z:\\tmp\\a\\b.csv");
        EXPECT_EQ(target.native("a/b.csv"), "a\\b.csv");
        EXPECT_EQ(e2e::lines({"a", "b"}), "a\r\nb\r\n");
    } else {
        EXPECT_EQ(target.native("/tmp/a/b.csv"), "/tmp/a/b.csv");
        EXPECT_EQ(e2e::lines({"a", "b"}), "a\nb\n");
    }
}

TEST(Harness, TempDirIsRemoved)
{
    std::filesystem::path kept;
    {
        e2e::TempDir dir;
        kept = dir.path();
        e2e::write_file(dir / "f", std::string("a\0b", 3));
        EXPECT_EQ(e2e::read_file(dir / "f"), std::string("a\0b", 3));
    }
    EXPECT_FALSE(e2e::exists(kept));
}

TEST(Harness, WineComplaintsAreToldFromThePrograms)
{
    EXPECT_EQ(e2e::wine_complaint("wine: '/tmp/p' is not owned by you\n"), "wine: '/tmp/p' is not owned by you");
    EXPECT_EQ(e2e::wine_complaint("1\r2\rwine client error:3c: read: Bad file descriptor\r\n"),
              "wine client error:3c: read: Bad file descriptor");
    EXPECT_EQ(e2e::wine_complaint("Fatal: cannot open wine: x\r\nUsage (v4.11.2): tabulon\r\n"), "");
    EXPECT_EQ(e2e::wine_complaint(""), "");
}

}  // namespace
