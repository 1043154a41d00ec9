#include "editor.h"

#include "edit_mode.h"
#include "exit_status.h"
#include "listing_mode.h"
#include "options.h"
#include "paramfile.h"
#include "platform.h"
#include "session.h"

namespace quillet {

int run(int argc, char** argv, Console& console)
{
    if (argc < 2) {
        usage(console.out);
        return status_usage;
    }
    const Options chosen = options(argc, argv, console.out);
    if (chosen.file_index == 0)
        return status_no_file;

    Session session;
    session.data_path = argv[chosen.file_index];
    FilePtr stream = ParamFile::open(session.data_path);
    if (!stream) {
        report_open_failure(console, "Data", session.data_path);
        return status_open_failed;
    }
    ParamFile file(std::move(stream));
    session.date = platform::local_date_dmy();

    if (file.read(0, session.header_record) != ReadResult::whole) {
        write_text(console.out, "Fatal: No header record\n");
        file.close();
        return status_no_header;
    }
    session.header = read_header_fields(session.header_record);
    return chosen.all ? run_listing(console, file, session) : run_edit(console, file, session);
}

}  // namespace quillet
