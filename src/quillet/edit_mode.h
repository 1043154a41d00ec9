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
bool take_id(Console& console, const std::string& reply, std::string& id);
bool take_name(const std::string& reply, std::string& name);
bool take_count(Console& console, const std::string& reply, Count& count);
bool is_yes(const std::string& reply);

// The transcriber questions; a change rewrites the header.
void edit_header(Console& console, ParamFile& file, Session& session);

// One piece: its counts, then each of its civil parishes. False when the
// file turned out to be damaged.
bool edit_piece(Console& console, ParamFile& file, const Session& session, const std::string& number);

// The whole dialogue; closes the file and returns the exit status.
int run_edit(Console& console, ParamFile& file, Session& session);

}  // namespace quillet
