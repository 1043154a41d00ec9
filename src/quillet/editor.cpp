#include "editor.h"

#include <cerrno>

#include "edit_mode.h"
#include "exit_status.h"
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
        say("Fatal: Data file %s is being edited by another program\n", path.c_str());
        file.close();
        return false;
    case platform::EditLock::unsupported:
        say("Warning: Data file %s cannot be locked: edit it in one program at a time\n", path.c_str());
        return true;
    }
    return true;
}

}  // namespace

int run(int argc, char** argv, const Console& console)
{
    if (argc < 2) {
        usage();
        return status_usage;
    }
    const Options chosen = options(argc, argv);
    if (chosen.file_index == 0)
        return status_no_file;

    Session session;
    session.data_path = argv[chosen.file_index];
    File stream = ParamFile::open(session.data_path,
                                     chosen.all ? ParamFile::Access::read_only : ParamFile::Access::read_write);
    if (!stream) {
        report_file_failure("Data", session.data_path, "failed to open", errno);
        return status_open_failed;
    }
    ParamFile file(std::move(stream));
    if (!chosen.all && !hold_for_editing(file, session.data_path))
        return status_in_use;
    session.date = platform::local_date_dmy();

    if (file.read(0, session.header_record) != ReadResult::whole) {
        say("Fatal: No header record\n");
        file.close();
        return status_no_header;
    }
    session.header = read_header_fields(session.header_record);
    return chosen.all ? run_listing(file, session) : run_edit(console, file, session);
}

}  // namespace quillet
