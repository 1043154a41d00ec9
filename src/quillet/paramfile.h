// The parameters file: fixed 64-byte records, edited in place.
//
//   record 0        header: transcriber id (0-3), name (8-63)
//   then per piece  one piece record and its civil-parish records, all
//                   carrying the piece number in bytes 0-3
//
// A record is a piece record when its piece number differs from the record
// before it (or it is the first after the header), a civil-parish record when
// it is the same. The file is never lengthened, shortened or reordered: every
// change overwrites bytes at fixed places inside one existing record.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "file.h"
#include "platform.h"

namespace quillet {

inline constexpr std::size_t record_size = 64;
using Record = std::array<char, record_size>;

// A record's place in the file, 0 being the header. Its offset, index * 64,
// is computed in 64 bits: long has only 32 on Windows.
using RecordIndex = std::int64_t;

// Field places inside a record.
namespace field {
inline constexpr std::size_t piece = 0, piece_width = 4;
inline constexpr std::size_t id = 0, id_width = 4;
inline constexpr std::size_t spare = 4, spare_width = 4;  // never interpreted
inline constexpr std::size_t name = 8, name_width = 56;
inline constexpr std::size_t district = 8, district_width = 20;
inline constexpr std::size_t film = 28, film_width = 8;
inline constexpr std::size_t households = 38, records = 44, count_width = 6;
inline constexpr std::size_t parish = 8, parish_width = 20;
inline constexpr std::size_t mark = 34;
inline constexpr std::size_t updated_by = 35, updated_by_width = 4;
inline constexpr std::size_t updated_on = 39, updated_on_width = 9;
inline constexpr std::size_t stamp_width = 27;  // bytes 34-60, cleared as one
}  // namespace field

inline constexpr int max_count = 999999;  // what six digits hold

// A text field: its bytes as they stand, ending early at a NUL.
std::string field_text(const Record& record, std::size_t offset, std::size_t width);
// The same with trailing blanks removed, as names are shown.
std::string field_name(const Record& record, std::size_t offset, std::size_t width);

std::string piece_number(const Record& record);

struct Header {
    std::string id;    // as it stands, trailing blanks kept
    std::string name;  // trailing blanks removed
};
Header read_header_fields(const Record& record);
// The header record for id and name: blank-filled, bytes 4-7 taken from old.
Record build_header(const Header& header, const Record& old);

struct Count {
    int value = 0;
    std::string held;  // the six bytes read, written back when value won't fit
};

struct Piece {
    std::string number;
    std::string district;
    std::string film;
    Count households;
    Count records;
};
Piece read_piece_fields(const Record& record);

// The 12 bytes for 38-49: each count as six zero-filled digits, or as the
// bytes it held when its value does not fit six digits (a damaged file).
std::string count_text(const Count& households, const Count& records);

struct Parish {
    std::string name;
    bool updated = false;  // mark "*" or "C"
    std::string updated_by;
    std::string updated_on;
};
Parish read_parish_fields(const Record& record);

// How a positioned read of one record ended.
enum class ReadResult {
    whole,    // 64 bytes
    end,      // end of file: nothing, or a partial record at the very end
    damaged,  // fewer than 64 bytes without reaching the end of the file
};

// Where a search ended.
struct Found {
    ReadResult result = ReadResult::end;
    RecordIndex index = 0;  // the piece record's index when result is whole
    Record record{};        // and the piece record itself
};

// The open parameters file. The stream is unbuffered, so that every write
// reaches the file at once, and each operation positions it explicitly
// before it reads or writes. A write returns false when the system refused
// it (or the positioning around it); write_error() then tells why.
class ParamFile {
public:
    // Opens path "rb+" (read and write, never truncated) for editing, or "rb"
    // for a listing, which writes nothing to the file and so needs no write
    // permission; empty on failure, with errno telling why.
    enum class Access { read_only, read_write };
    static File open(const std::string& path, Access access);

    explicit ParamFile(File stream);
    ~ParamFile() { close(); }
    ParamFile(const ParamFile&) = delete;
    ParamFile& operator=(const ParamFile&) = delete;

    std::FILE* stream() const { return stream_.get(); }
    // Gives up the lock, if taken, and closes the file.
    void close();

    // Locks the file for an editing session: no other editor can take it
    // until this one closes the file (platform::lock_for_editing).
    platform::EditLock lock();

    ReadResult read(RecordIndex index, Record& record);

    // The first piece record from index 1 on whose number is number.
    Found find_piece(const std::string& number);

    // The next civil parish of a piece after record index: the record at
    // index + 1 when it carries the same piece number (result whole, index
    // moved on to it); result end when a record of another piece or the end
    // of the file comes first.
    ReadResult next_parish(const std::string& number, RecordIndex& index, Record& record);

    [[nodiscard]] bool rewrite_header(const Record& header);
    [[nodiscard]] bool write_counts(RecordIndex index, const std::string& counts);
    // "*", the id blank-filled to four characters, and the nine-character
    // date over bytes 34-47; bytes 48-60 keep what they hold.
    [[nodiscard]] bool set_stamp(RecordIndex index, const std::string& id, const std::string& date);
    [[nodiscard]] bool clear_stamp(RecordIndex index);

    // The errno value of the last failed write.
    int write_error() const { return write_error_; }

private:
    bool write_at(RecordIndex index, std::size_t offset, const char* bytes, std::size_t size);
    bool seek(RecordIndex index, std::size_t offset);

    File stream_;
    bool locked_ = false;
    int write_error_ = 0;
};

}  // namespace quillet
