#include "paramfile.h"

#include <algorithm>
#include <cerrno>

#include "platform.h"
#include "text.h"

namespace quillet {

std::string field_text(const Record& record, std::size_t offset, std::size_t width)
{
    const char* start = record.data() + offset;
    const char* end = std::find(start, start + width, '\0');
    return std::string(start, end);
}

std::string field_name(const Record& record, std::size_t offset, std::size_t width)
{
    std::string name = field_text(record, offset, width);
    text::strip(name);
    return name;
}

std::string piece_number(const Record& record)
{
    return field_text(record, field::piece, field::piece_width);
}

Header read_header_fields(const Record& record)
{
    return {field_text(record, field::id, field::id_width),
            field_name(record, field::name, field::name_width)};
}

Record build_header(const Header& header, const Record& old)
{
    Record record;
    record.fill(' ');
    std::copy_n(old.begin() + field::spare, field::spare_width, record.begin() + field::spare);
    const auto id_size = std::min(header.id.size(), field::id_width);
    const auto name_size = std::min(header.name.size(), field::name_width);
    std::copy_n(header.id.begin(), id_size, record.begin() + field::id);
    std::copy_n(header.name.begin(), name_size, record.begin() + field::name);
    return record;
}

namespace {

Count read_count(const Record& record, std::size_t offset)
{
    Count count;
    count.held.assign(record.data() + offset, field::count_width);
    // Six bytes hold at most -99999..999999, well inside an int.
    count.value = static_cast<int>(text::leading_value(field_text(record, offset, field::count_width)));
    return count;
}

std::string six_digits(const Count& count)
{
    if (count.value < 0 || count.value > max_count)
        return count.held;
    return text::zero_padded(count.value, field::count_width);
}

bool is_update_mark(char mark)
{
    return mark == '*' || mark == 'C';
}

}  // namespace

Piece read_piece_fields(const Record& record)
{
    return {piece_number(record),
            field_name(record, field::district, field::district_width),
            field_name(record, field::film, field::film_width),
            read_count(record, field::households),
            read_count(record, field::records)};
}

std::string count_text(const Count& households, const Count& records)
{
    return six_digits(households) + six_digits(records);
}

Parish read_parish_fields(const Record& record)
{
    return {field_name(record, field::parish, field::parish_width),
            is_update_mark(record[field::mark]),
            field_text(record, field::updated_by, field::updated_by_width),
            field_text(record, field::updated_on, field::updated_on_width)};
}

File ParamFile::open(const std::string& path, Access access)
{
    return File(std::fopen(path.c_str(), access == Access::read_only ? "rb" : "rb+"));
}

ParamFile::ParamFile(File stream) : stream_(std::move(stream))
{
    std::setvbuf(stream_.get(), nullptr, _IONBF, 0);
}

void ParamFile::close()
{
    if (locked_ && stream_)
        platform::unlock_for_editing(stream_.get());
    locked_ = false;
    stream_.reset();
}

platform::EditLock ParamFile::lock()
{
    const platform::EditLock result = platform::lock_for_editing(stream_.get());
    locked_ = result == platform::EditLock::taken;
    return result;
}

bool ParamFile::seek(RecordIndex index, std::size_t offset)
{
    const auto position = index * static_cast<RecordIndex>(record_size) + static_cast<RecordIndex>(offset);
    return platform::seek(stream_.get(), position);
}

ReadResult ParamFile::read(RecordIndex index, Record& record)
{
    if (!seek(index, 0))
        return ReadResult::damaged;
    const auto got = std::fread(record.data(), 1, record_size, stream_.get());
    if (got == record_size)
        return ReadResult::whole;
    return std::feof(stream_.get()) ? ReadResult::end : ReadResult::damaged;
}

Found ParamFile::find_piece(const std::string& number)
{
    Found found;
    for (RecordIndex index = 1;; ++index) {
        found.result = read(index, found.record);
        if (found.result != ReadResult::whole)
            return found;
        if (piece_number(found.record) == number) {
            found.index = index;
            return found;
        }
    }
}

ReadResult ParamFile::next_parish(const std::string& number, RecordIndex& index, Record& record)
{
    const auto result = read(index + 1, record);
    if (result != ReadResult::whole)
        return result;
    if (piece_number(record) != number)
        return ReadResult::end;
    ++index;
    return ReadResult::whole;
}

bool ParamFile::write_at(RecordIndex index, std::size_t offset, const char* bytes, std::size_t size)
{
    errno = 0;
    // Then leave the stream at the next record, ready for a walk to read on.
    // That seek would also push out anything a buffered stream still held, so
    // its failure is a failed write too.
    const bool written = seek(index, offset) && std::fwrite(bytes, 1, size, stream_.get()) == size &&
                         seek(index + 1, 0);
    if (!written)
        write_error_ = errno != 0 ? errno : EIO;  // a short write need not say why
    return written;
}

bool ParamFile::rewrite_header(const Record& header)
{
    return write_at(0, 0, header.data(), header.size());
}

bool ParamFile::write_counts(RecordIndex index, const std::string& counts)
{
    // Never more than the two count fields, whatever the caller hands in.
    return write_at(index, field::households, counts.data(), std::min(counts.size(), 2 * field::count_width));
}

bool ParamFile::set_stamp(RecordIndex index, const std::string& id, const std::string& date)
{
    std::string stamp = "*";
    stamp += id.substr(0, field::updated_by_width);
    text::pad(stamp, 1 + field::updated_by_width);
    stamp += date.substr(0, field::updated_on_width);
    text::pad(stamp, 1 + field::updated_by_width + field::updated_on_width);
    return write_at(index, field::mark, stamp.data(), stamp.size());
}

bool ParamFile::clear_stamp(RecordIndex index)
{
    const std::array<char, field::stamp_width> nuls{};
    return write_at(index, field::mark, nuls.data(), nuls.size());
}

}  // namespace quillet
