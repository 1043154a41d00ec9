// Edit mode: the dialogue that changes the transcriber, a piece's counts and
// its civil parishes' update stamps. Each change is written into the file the
// moment it is confirmed.
#pragma once

#include <string>

#include "console.h"
#include "paramfile.h"
#include "session.h"

namespace quillet {

// Reply checks. Each returns whether the value changed; a refused reply
// writes its message at once and changes nothing.
bool take_id(const std::string& reply, std::string& id);
bool take_name(const std::string& reply, std::string& name);
bool take_count(const std::string& reply, Count& count);
bool is_yes(const std::string& reply);

// How a part of the dialogue ended.
enum class Outcome {
    go_on,         // the dialogue goes on
    damaged,       // a short record: the file is damaged
    write_failed,  // the system refused a confirmed change (file.write_error() says why)
};

// The transcriber questions; a change rewrites the header.
Outcome edit_header(const Replies& replies, ParamFile& file, Session& session);

// One piece: its counts, then each of its civil parishes.
Outcome edit_piece(const Replies& replies, ParamFile& file, const Session& session, const std::string& number);

// The whole dialogue; closes the file and returns the exit status.
int run_edit(const Replies& replies, ParamFile& file, Session& session);

}  // namespace quillet
