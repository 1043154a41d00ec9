// What one run of the editor knows besides the open file.
#pragma once

#include <string>

#include "paramfile.h"

namespace quillet {

struct Session {
    std::string data_path;  // as typed on the command line
    std::string date;       // today's, "%d%b%Y"; every stamp of the run carries it
    Header header;          // as read, then as changed in the dialogue
    Record header_record{}; // as read: a rewrite keeps its bytes 4-7
};

}  // namespace quillet
