// The editor's exit statuses.
#pragma once

namespace quillet {

enum ExitStatus : int {
    status_done = 0,          // listing written, or the dialogue ended normally
    status_usage = 1,         // started without arguments
    status_no_file = 2,       // no data file name, or help asked for
    status_open_failed = 12,  // the data file or the listing failed to open
    status_write_failed = 12, // the system refused a change to the data file or a write to the listing
    status_in_use = 12,       // another program is editing the data file
    status_no_header = 16,    // the data file has no whole header record
    status_damaged = 20,      // edit mode met a short record
};

}  // namespace quillet
