// The findings file, for coordinators who gather the findings of many pieces:
// one finding a line, tab-separated, under one header line, the piece named in
// the first column of each, so that the files of many pieces join into one.
// The bytes are the piece's own (Windows-1252); written in text mode, the
// lines end as every other text file of the system does on its platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "findings.h"
#include "listing_reader.h"
#include "sheet.h"

namespace tabreport {

// The header line.
inline constexpr std::string_view tsv_header = "Piece\tRow\tClass\tColumn\tValue\tMessage\n";

// One line per finding (without the header): piece, row, class, column title,
// cell value, message. A finding about the whole row (or the piece) leaves
// title and value empty, and one about the piece has no row.
std::string tsv_findings(std::string_view piece_name, const Sheet& sheet, const ListingSummary& listing,
                         const Placement& placement);

// The line of a piece whose conversion stopped: its Fatal as the message.
std::string tsv_fatal(std::string_view piece_name, std::string_view fatal);

// The findings lines of a converted piece, from its listing and the piece
// read as the converter read it, in the layout its listing names. False when
// the listing or the piece cannot be read, or the listing names no layout.
bool piece_findings(const std::filesystem::path& piece, const std::filesystem::path& listing,
                    std::string_view piece_name, std::string& lines);

// One field of the findings file: the text's bytes, with tabs, line ends and
// NUL bytes as blanks so that it stays one field of one line, and with an
// apostrophe before it when a spreadsheet would take it for a formula (it
// begins with =, +, @, a tab or a carriage return, or is a - with anything
// after it; a lone "-", the converter's mark of a missing value, stays).
std::string tsv_field(std::string_view text);

}  // namespace tabreport
