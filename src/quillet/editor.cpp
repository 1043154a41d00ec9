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
    FilePtr stream = ParamFile::open(session.data_path,
                                     chosen.all ? ParamFile::Access::read_only : ParamFile::Access::read_write);
    if (!stream) {
        report_file_failure("Data", session.data_path, "failed to open", errno);
        return status_open_failed;
    }
    ParamFile file(std::move(stream));
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
