#include "listing_mode.h"

#include <filesystem>
#include <system_error>

#include "exit_status.h"
#include "options.h"
#include "paths.h"

namespace quillet {

namespace {

void list_piece(std::FILE* listing, const Record& record)
{
    const Piece piece = read_piece_fields(record);
    write_text(listing, "\nPiece %s\n", piece.number.c_str());
    write_text(listing, "Registration District: %s, LDS Film: %s\n", piece.district.c_str(),
               piece.film.c_str());
    write_text(listing, "Current household count: %d, Record count: %d\n\n", piece.households.value,
               piece.records.value);
}

void list_parish(std::FILE* listing, const Record& record)
{
    const Parish parish = read_parish_fields(record);
    write_text(listing, "Civil parish: %s, ", parish.name.c_str());
    if (parish.updated)
        write_text(listing, "Updated by: %s On %s\n", parish.updated_by.c_str(), parish.updated_on.c_str());
    else
        write_text(listing, "Not updated\n");
}

}  // namespace

std::string listing_path(const std::string& data_path)
{
    const paths::PathParts parts = paths::splitpath(data_path);
    return paths::makepath(parts.dir, parts.base, "lst");
}

bool names_same_file(const std::string& one, const std::string& other)
{
    if (one == other)
        return true;
    std::error_code failed;  // a listing that does not exist yet is another file
    return std::filesystem::equivalent(one, other, failed);
}

void write_listing(std::FILE* listing, ParamFile& file, const Session& session)
{
    write_text(listing,
               "Listing for quillet v%s (Merrowby) listing %s\n"
               "[When reporting program errors, be sure to send this file and the original data file]\n\n",
               version, session.data_path.c_str());
    write_text(listing, "Transcriber id : %s, Name : %s\n", session.header.id.c_str(),
               session.header.name.c_str());

    std::string current_piece;
    Record record{};
    for (long index = 1;; ++index) {
        const ReadResult result = file.read(index, record);
        if (result == ReadResult::end)
            return;
        if (result == ReadResult::damaged) {
            // Records are numbered from 1 for the header here.
            write_text(listing, "Error: record %ld short - damaged file\n", index + 1);
            return;
        }
        const std::string number = piece_number(record);
        if (index == 1 || number != current_piece) {
            list_piece(listing, record);
            current_piece = number;
        } else {
            list_parish(listing, record);
        }
    }
}

int run_listing(Console& console, ParamFile& file, const Session& session)
{
    const std::string path = listing_path(session.data_path);
    if (names_same_file(path, session.data_path)) {
        write_text(console.out, "Fatal: Output file %s failed to open\n", path.c_str());
        write_text(console.out, "Fatal: listing would overwrite the data file\n");
        file.close();
        return status_open_failed;
    }
    FilePtr listing(std::fopen(path.c_str(), "w"));
    if (!listing) {
        report_open_failure(console, "Output", path);
        file.close();
        return status_open_failed;
    }
    write_listing(listing.get(), file, session);
    write_text(console.out, "\nOutput file is %s\n", path.c_str());
    listing.reset();
    file.close();
    return status_done;
}

}  // namespace quillet
