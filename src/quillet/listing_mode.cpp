#include "listing_mode.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "console.h"
#include "conventions.h"
#include "describe.h"
#include "newfile.h"
#include "options.h"
#include "paths.h"

namespace quillet {

namespace {

void list_piece(TextOut& listing, const Record& record)
{
    const Piece piece = read_piece_fields(record);
    write_text(listing, "\nPiece %s\n", piece.number);
    describe_piece(listing, piece, "\n\n");
}

// The listing could not be written whole: it is not put in place.
int listing_failed(const std::string& path, int reason)
{
    console_failure(reason, "Fatal: Output file (%s) write failed\n", path);
    return exit_status::fatal;
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

void write_listing(TextOut& listing, ParamFile& file, const Session& session)
{
    write_text(listing,
               "Listing for quillet v%s (Merrowby) listing %s\n"
               "[When reporting program errors, be sure to send this file and the original data file]\n\n",
               version, session.data_path);
    describe_transcriber(listing, session.header);

    std::string current_piece;
    Record record{};
    for (RecordIndex index = 1; !listing.failed(); ++index) {
        const ReadResult result = file.read(index, record);
        if (result == ReadResult::end)
            return;
        if (result == ReadResult::damaged) {
            // Records are numbered from 1 for the header here.
            write_text(listing, "Error: record %d short - damaged file\n", index + 1);
            return;
        }
        const std::string number = piece_number(record);
        if (index == 1 || number != current_piece) {
            list_piece(listing, record);
            current_piece = number;
        } else {
            describe_parish(listing, read_parish_fields(record));
        }
    }
}

int run_listing(ParamFile& file, const Session& session)
{
    const std::string path = listing_path(session.data_path);
    if (names_same_file(path, session.data_path)) {
        console("Fatal: Output file %s failed to open\n", path);
        console("Fatal: listing would overwrite the data file\n");
        file.close();
        return exit_status::fatal;
    }
    NewFile listing;
    if (!listing.open(path, NewFile::Mode::text)) {
        console_failure(errno, "Fatal: Output file %s failed to open\n", path);
        file.close();
        return exit_status::fatal;
    }
    TextOut out{listing.get()};
    write_listing(out, file, session);
    file.close();
    if (out.failed())
        return listing_failed(path, out.error);
    if (!listing.close() || NewFile::install({&listing}))
        return listing_failed(path, errno);
    console("\nOutput file is %s\n", path);
    return exit_status::quillet::done;
}

}  // namespace quillet
