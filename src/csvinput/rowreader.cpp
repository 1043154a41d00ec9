#include "rowreader.h"

namespace {

std::string_view without_line_end(const std::string& line)
{
    std::string_view text(line);
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    return text;
}

}  // namespace

void QuoteScan::scan(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                continue;
            if (i + 1 < text.size() && text[i + 1] == '"')
                ++i;  // a doubled quote: one quote inside the quoted part
            else
                quoted = false;
            continue;
        }
        if (c == ',') {
            ++commas;
            cell_start = true;
        } else if (cell_start && c != ' ') {
            cell_start = false;
            quoted = c == '"';
        }
    }
}

bool RowReader::next(std::string& row)
{
    breaks_ = 0;
    if (!first_line(row))
        return false;
    ++rows_;
    const std::string_view text = without_line_end(row);
    if (text.find('"') != std::string_view::npos) {
        QuoteScan quotes;
        quotes.scan(text);
        if (quotes.quoted)
            join(row, quotes);
    }
    if (reference_cells_ == 0)
        note_reference(row);
    return true;
}

bool RowReader::first_line(std::string& row)
{
    if (ahead_.empty()) {
        const bool got = lines_.fgetm(row);
        eof_ = lines_.eof();
        failed_ = lines_.failed();
        return got;
    }
    Line& line = ahead_.front();
    row.swap(line.text);
    eof_ = line.eof;
    failed_ = line.failed;
    ahead_.pop_front();
    return true;
}

const RowReader::Line* RowReader::line_after(std::size_t i)
{
    while (ahead_.size() <= i) {
        Line line;
        if (!lines_.fgetm(line.text))
            return nullptr;
        line.eof = lines_.eof();
        line.failed = lines_.failed();
        ahead_.push_back(std::move(line));
    }
    // A line cut short by a read error is not joined to anything.
    return ahead_[i].failed ? nullptr : &ahead_[i];
}

bool RowReader::join(std::string& row, QuoteScan quotes)
{
    joined_.assign(without_line_end(row));
    std::size_t taken = 0;
    while (quotes.quoted) {
        if (taken + 1 == most_lines)
            return false;
        const Line* line = line_after(taken);
        if (line == nullptr)
            return false;  // the input ended inside the quoted part
        const std::string_view text = without_line_end(line->text);
        joined_ += ' ';
        joined_ += text;
        quotes.scan(text);
        ++taken;
    }
    if (reference_cells_ != 0 && quotes.cells() != reference_cells_)
        return false;
    const Line& last = ahead_[taken - 1];
    if (!last.text.empty() && last.text.back() == '\n')
        joined_ += '\n';
    eof_ = last.eof;
    failed_ = last.failed;
    row.swap(joined_);
    ahead_.erase(ahead_.begin(), ahead_.begin() + static_cast<std::ptrdiff_t>(taken));
    breaks_ = static_cast<int>(taken);
    return true;
}

void RowReader::note_reference(const std::string& row)
{
    const std::string_view text = without_line_end(row);
    if (layout_ == Layout::ss_cens) {
        if (rows_ != 2)
            return;
    } else if (breaks_ > 0 || text.empty()) {
        return;
    }
    QuoteScan quotes;
    quotes.scan(text);
    if (layout_ == Layout::all && quotes.quoted)
        return;
    reference_cells_ = quotes.cells();
}
