#include "editor.h"

#include <cerrno>

#include "conventions.h"
#include "edit_mode.h"
#include "listing_mode.h"
#include "options.h"
#include "paramfile.h"
#include "platform.h"
#include "session.h"

namespace quillet {

namespace {

// An edit session holds the data file from before its header is read until
// its end, so that two editors can never overwrite each other's changes; a
// second one is turned away before it asks anything. On a file system that
// cannot lock at all the file is edited as before, with a warning.
bool hold_for_editing(ParamFile& file, const std::string& path)
{
    switch (file.lock()) {
    case platform::EditLock::taken:
        return true;
    case platform::EditLock::held:
        console("Fatal: Data file %s is being edited by another program\n", path);
        file.close();
        return false;
    case platform::EditLock::unsupported:
        console("Warning: Data file %s cannot be locked: edit it in one program at a time\n", path);
        return true;
    }
    return true;
}

}  // namespace

int run(int argc, char** argv, const Replies& replies)
{
    if (argc < 2) {
        usage();
        return exit_status::no_arguments;
    }
    const Options chosen = options(argc, argv);
    if (chosen.file_index == 0)
        return exit_status::no_file_name;

    Session session;
    session.data_path = argv[chosen.file_index];
    File stream = ParamFile::open(session.data_path,
                                     chosen.all ? ParamFile::Access::read_only : ParamFile::Access::read_write);
    if (!stream) {
        console_failure(errno, "Fatal: Data file %s failed to open\n", session.data_path);
        return exit_status::fatal;
    }
    ParamFile file(std::move(stream));
    if (!chosen.all && !hold_for_editing(file, session.data_path))
        return exit_status::fatal;
    session.date = platform::local_date_dmy();

    if (file.read(0, session.header_record) != ReadResult::whole) {
        console("Fatal: No header record\n");
        file.close();
        return exit_status::quillet::no_header;
    }
    session.header = read_header_fields(session.header_record);
    return chosen.all ? run_listing(file, session) : run_edit(replies, file, session);
}

}  // namespace quillet
