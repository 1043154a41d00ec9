#include "newfile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Folder {
    fs::path path;
    Folder()
    {
        std::string pattern = (fs::temp_directory_path() / "newfile-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~Folder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(path), fs::directory_iterator())); }
};

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool written(NewFile& file, const std::string& text)
{
    return std::fputs(text.c_str(), file.get()) >= 0 && file.close();
}

TEST(NewFile, TakesItsNameOnlyWhenInstalled)
{
    Folder dir;
    write(dir / "a.erc", "earlier");
    {
        NewFile file;
        ASSERT_TRUE(file.open(dir / "a.erc", NewFile::Mode::binary));
        ASSERT_TRUE(written(file, "new"));
        EXPECT_EQ(contents(dir / "a.erc"), "earlier");
        EXPECT_EQ(dir.entries(), 2);  // the earlier file and the unfinished one
        EXPECT_EQ(NewFile::install({&file}), nullptr);
    }
    EXPECT_EQ(contents(dir / "a.erc"), "new");
    EXPECT_EQ(dir.entries(), 1);
    {
        NewFile dropped;  // never installed: the earlier file stays, nothing else is left
        ASSERT_TRUE(dropped.open(dir / "a.erc", NewFile::Mode::binary));
        ASSERT_TRUE(written(dropped, "lost"));
    }
    EXPECT_EQ(contents(dir / "a.erc"), "new");
    EXPECT_EQ(dir.entries(), 1);
}

TEST(NewFile, RefusesWhatOpeningForWritingWouldRefuse)
{
    Folder dir;
    fs::create_directory(dir / "a.erc");
    NewFile file;
    EXPECT_FALSE(file.open(dir / "a.erc", NewFile::Mode::text));
    EXPECT_FALSE(file.open(dir / "missing/a.erc", NewFile::Mode::text));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(dir.entries(), 1);
}

TEST(NewFile, AFailedInstallDiscardsTheFilesAfterIt)
{
    Folder dir;
    NewFile first, second;
    ASSERT_TRUE(first.open(dir / "a.dat", NewFile::Mode::binary));
    ASSERT_TRUE(second.open(dir / "a.erc", NewFile::Mode::binary));
    ASSERT_TRUE(written(second, "listing"));
    // first was never closed: it is not complete, so neither is installed.
    EXPECT_EQ(NewFile::install({&first, &second}), &first);
    EXPECT_EQ(dir.entries(), 0);
}

#ifndef _WIN32
TEST(NewFile, ALinkStaysAndTheFileItNamesIsReplaced)
{
    Folder dir;
    write(dir / "target.erc", "earlier");
    fs::create_symlink("target.erc", dir / "a.erc");
    fs::create_symlink("later.erc", dir / "b.erc");  // names a file not made yet
    NewFile a, b;
    ASSERT_TRUE(a.open(dir / "a.erc", NewFile::Mode::binary));
    ASSERT_TRUE(b.open(dir / "b.erc", NewFile::Mode::binary));
    ASSERT_TRUE(written(a, "new"));
    ASSERT_TRUE(written(b, "made"));
    ASSERT_EQ(NewFile::install({&a, &b}), nullptr);
    EXPECT_TRUE(fs::is_symlink(dir / "a.erc"));
    EXPECT_EQ(contents(dir / "target.erc"), "new");
    EXPECT_EQ(contents(dir / "later.erc"), "made");
}

TEST(NewFile, ADeviceIsWrittenDirectly)
{
    NewFile file;
    ASSERT_TRUE(file.open("/dev/null", NewFile::Mode::binary));
    ASSERT_TRUE(written(file, "gone"));
    EXPECT_EQ(NewFile::install({&file}), nullptr);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    ASSERT_TRUE(file.open("/dev/full", NewFile::Mode::binary));
    EXPECT_FALSE(written(file, "no room"));
    EXPECT_EQ(errno, ENOSPC);
}
#endif

}  // namespace
