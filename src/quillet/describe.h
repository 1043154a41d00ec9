// How the records of a parameters file are shown: the same texts in the
// listing and in the edit dialogue, written to the given stream.
#pragma once

#include "console.h"
#include "paramfile.h"

namespace quillet {

// "Transcriber id : <id>, Name : <name>" and a line end.
void describe_transcriber(TextOut& to, const Header& header);

// The district and film line, then the counts line ended by counts_end: the
// listing leaves a blank line after it, the dialogue goes on with its prompt.
void describe_piece(TextOut& to, const Piece& piece, const char* counts_end);

// "Civil parish: <name>, " and who updated it on which day, or "Not updated".
void describe_parish(TextOut& to, const Parish& parish);

}  // namespace quillet
