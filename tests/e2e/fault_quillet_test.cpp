// The editor when its parameters file is not what it should be (not openable
// for update, cut short inside its last record) or its listing cannot be
// written whole. In every case: a clear message, a defined exit status, and
// the data file's bytes unchanged except where a reply confirmed a change.
// (A read-only file, a file cut short inside the header and a listing that
// cannot be opened: quillet_e2e_test.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include "harness.h"
#include "paramfile_builder.h"

namespace {

namespace fs = std::filesystem;
using e2e::Target;

using paramfile::header;
using paramfile::piece;
using paramfile::unstamped;

const std::string params = header("DLR", "Dorcas L. Rendle") +
                           piece("0655", "Coldharbour", "2209341", "000031", "000140") +
                           unstamped("0655", "Coldharbour Cross") + unstamped("0655", "Yeoford Mill");

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// --- the file cannot be opened for update ---

// Opening a directory "rb+" fails for every user, root included.
TEST(FaultQuillet, ParametersFileIsADirectory)
{
    const Target& target = Target::get();
    e2e::TempDir dir;
    fs::create_directory(dir / "params.dat");
    const std::string path = target.native(dir / "params.dat");

    const e2e::Result r = e2e::run("quillet", {path}, "ABC\n");
    EXPECT_EQ(r.status, 12);
    EXPECT_TRUE(contains(r.err, target.text("Fatal: Data file " + path + " failed to open\nFatal: "))) << r.err;
    EXPECT_FALSE(contains(r.err, "Enter")) << "no dialogue without a file";
    EXPECT_TRUE(fs::is_empty(dir / "params.dat"));
}

// --- the file is cut short ---

// A partial record at the end is ignored as if the file ended before it, in
// both modes; edits elsewhere work and never reach it.
TEST(FaultQuillet, TruncatedInsideTheLastRecord)
{
    const Target& target = Target::get();
    const std::string partial = piece("0656", "Brackenford", "2209341", "000007", "000029").substr(0, 41);
    const std::string data = params + partial;

    {
        SCOPED_TRACE("edit mode");
        e2e::TempDir dir;
        e2e::write_file(dir / "params.dat", data);
        const std::string path = target.native(dir / "params.dat");
        const e2e::Result r = e2e::run("quillet", {path}, "\n\n0656\n0655\n32\n\nY\n\n\n");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(contains(r.err, target.text("Error: Piece 0656 not found\n"))) << r.err;
        EXPECT_TRUE(contains(r.err, target.text("\nQuillet finished\n"))) << r.err;

        const std::string after = e2e::read_file(dir / "params.dat");
        ASSERT_EQ(after.size(), data.size());
        std::string expected = data;
        expected.replace(64 + 38, 12, "000032000140");  // the counts of piece 0655
        EXPECT_EQ(after.substr(0, 64 * 2), expected.substr(0, 64 * 2));
        // The first parish is stamped: "*", the id and a date; the rest of its stamp and record kept.
        EXPECT_EQ(after.substr(64 * 2, 34), data.substr(64 * 2, 34));
        EXPECT_EQ(after.substr(64 * 2 + 34, 5), "*DLR ");
        EXPECT_EQ(after.substr(64 * 2 + 48), data.substr(64 * 2 + 48));
    }
    {
        SCOPED_TRACE("listing mode");
        e2e::TempDir dir;
        e2e::write_file(dir / "params.dat", data);
        const e2e::Result r = e2e::run("quillet", {"-a", target.native(dir / "params.dat")});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string listing = e2e::read_file(dir / "params.lst");
        EXPECT_TRUE(contains(listing, target.text("Civil parish: Yeoford Mill, Not updated\n"))) << listing;
        EXPECT_FALSE(contains(listing, "0656")) << listing;
        EXPECT_FALSE(contains(listing, "Error:")) << "a partial last record is not reported";
        EXPECT_EQ(e2e::read_file(dir / "params.dat"), data);
    }
}

// --- the listing cannot be written whole ---

// A file system of a few pages mounted over a folder for as long as this
// lasts; only root may mount one, and only where mounting is allowed at all.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const fs::path& dir) : dir_(dir)
    {
        mounted_ = geteuid() == 0 && mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            umount2(dir_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }

    // Fills what room is left with a file of its own.
    void fill() const
    {
        const int fd = open((dir_ / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string block(4096, 'f');
        while (fd >= 0 && write(fd, block.data(), block.size()) > 0) {
        }
        while (fd >= 0 && write(fd, block.data(), 1) > 0) {
        }
        if (fd >= 0)
            close(fd);
    }

private:
    fs::path dir_;
    bool mounted_ = false;
};

// A listing of about 20 KB: more than the room left, the file-size limit or
// the standard library's buffer.
std::string many_parishes()
{
    std::string data = params;
    for (int n = 0; n < 400; ++n)
        data += unstamped("0655", "Parish " + std::to_string(n));
    return data;
}

// Each way of running out of room makes the listing's writes fail part-way:
// the run ends with the Fatal naming the listing and the system's reason,
// status 12, the earlier listing as it was and no unfinished file beside it.
TEST(FaultQuillet, ListingThatCannotBeWrittenWholeIsNotInstalled)
{
    const Target& target = Target::get();
    enum class Way { full_file_system, file_size_limit, link_to_dev_full };
    const struct {
        const char* name;
        Way way;
    } ways[] = {
        {"a full file system", Way::full_file_system},
        {"a file-size limit", Way::file_size_limit},
        {"a listing that is a link to /dev/full", Way::link_to_dev_full},
    };
    int tried = 0;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        e2e::TempDir dir;
        const SmallFileSystem small(way.way == Way::full_file_system ? dir.path() : fs::path());
        if (way.way == Way::full_file_system && !small.mounted())
            continue;  // not root, or no mounting here
        if (way.way == Way::link_to_dev_full && target.windows)
            continue;  // Windows has no such device: the link is a file like any other there
        ++tried;

        const std::string data = many_parishes();
        const std::string earlier = target.text("an earlier listing\n");
        e2e::write_file(dir / "params.dat", data);
        e2e::Invocation run;
        run.program = "quillet";
        run.args = {"-a", target.native(dir / "params.dat")};
        switch (way.way) {
        case Way::full_file_system:
            e2e::write_file(dir / "params.lst", earlier);
            small.fill();
            break;
        case Way::file_size_limit:
            e2e::write_file(dir / "params.lst", earlier);
            run.file_size_limit = 1024;
            break;
        case Way::link_to_dev_full:
            fs::create_symlink("/dev/full", dir / "params.lst");
            break;
        }

        const e2e::Result r = e2e::run(run);
        EXPECT_EQ(r.status, 12);
        const std::string fatal =
            target.text("Fatal: Output file (" + target.native(dir / "params.lst") + ") write failed\nFatal: ");
        EXPECT_EQ(r.err.substr(0, fatal.size()), fatal) << r.err;
        EXPECT_FALSE(contains(r.err, "Output file is")) << r.err;
        EXPECT_EQ(e2e::read_file(dir / "params.dat"), data);
        if (way.way == Way::link_to_dev_full) {
            EXPECT_EQ(fs::read_symlink(dir / "params.lst"), "/dev/full");
        } else {
            EXPECT_EQ(e2e::read_file(dir / "params.lst"), earlier);
        }
        for (const auto& entry : fs::directory_iterator(dir.path()))
            EXPECT_FALSE(contains(entry.path().filename().string(), "unfinished")) << entry.path();
    }
    if (tried == 0)
        GTEST_SKIP() << "no way to fill a disk here";
}

}  // namespace
