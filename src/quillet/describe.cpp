#include "describe.h"

#include "console.h"

namespace quillet {

void describe_transcriber(TextOut& to, const Header& header)
{
    write_text(to, "Transcriber id : %s, Name : %s\n", header.id, header.name);
}

void describe_piece(TextOut& to, const Piece& piece, const char* counts_end)
{
    write_text(to, "Registration District: %s, LDS Film: %s\n", piece.district, piece.film);
    write_text(to, "Current household count: %d, Record count: %d%s", piece.households.value,
               piece.records.value, counts_end);
}

void describe_parish(TextOut& to, const Parish& parish)
{
    write_text(to, "Civil parish: %s, ", parish.name);
    if (parish.updated)
        write_text(to, "Updated by: %s On %s\n", parish.updated_by, parish.updated_on);
    else
        write_text(to, "Not updated\n");
}

}  // namespace quillet
