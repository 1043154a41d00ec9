#include "listing_reader.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "text.h"

namespace {

std::string_view without_cr(std::string_view line)
{
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}

// An entry's text as the line it stands on, without the line ends around it.
std::string_view line_of(msg::Id id)
{
    std::string_view text = msg::catalogue[id].text;
    while (text.starts_with('\n'))
        text.remove_prefix(1);
    while (text.ends_with('\n'))
        text.remove_suffix(1);
    return text;
}

// The row number of "Class: row N, ..." (or "row N ..."): 0 when the finding
// names no row; nothing when N cannot be a row of a run (no digits, a sign,
// 0, more than a row count holds), which makes the line malformed.
std::optional<int> row_of(std::string_view rest)
{
    if (!rest.starts_with("row "))
        return 0;
    rest.remove_prefix(4);
    if (rest.empty() || rest[0] < '0' || rest[0] > '9')
        return std::nullopt;
    int row = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), row);
    const std::size_t digits = static_cast<std::size_t>(end - rest.data());
    const bool ends = digits < rest.size() && (rest[digits] == ',' || rest[digits] == ' ');
    if (error != std::errc() || row < 1 || !ends)
        return std::nullopt;
    return row;
}

// "Census year = %d, input format = %s, output format = %s[, QUIET|, VERBOSE]"
void take_description(std::string_view line, ListingSummary& out)
{
    constexpr std::string_view input = ", input format = ", output = ", output format = ";
    const auto i = line.find(input), o = line.find(output);
    if (i == std::string_view::npos || o == std::string_view::npos || o < i)
        return;
    out.has_description = true;
    out.year = static_cast<int>(text::leading_value(std::string(line.substr(14, i - 14))));
    out.input_format = std::string(line.substr(i + input.size(), o - i - input.size()));
    std::string_view formats = line.substr(o + output.size());
    for (std::string_view mode : {"QUIET", "VERBOSE"}) {
        if (formats.ends_with(", " + std::string(mode))) {
            out.mode = std::string(mode);
            formats.remove_suffix(mode.size() + 2);
        }
    }
    out.output_format = std::string(formats);
}

// The leading progress counters ("1234\r") of a console line.
std::size_t after_counters(std::string_view line)
{
    std::size_t start = 0;
    for (std::size_t at = 0; at < line.size() && line[at] >= '0' && line[at] <= '9';) {
        while (at < line.size() && line[at] >= '0' && line[at] <= '9')
            ++at;
        if (at == line.size() || line[at] != '\r')
            break;
        start = ++at;
    }
    return start;
}

constexpr std::string_view header_start = "Error listing for tabulon ";

}  // namespace

ListingReader::ListingReader(bool keep_findings, std::size_t name_line_breaks)
    : keep_findings_(keep_findings), name_line_breaks_(name_line_breaks)
{
}

void ListingReader::take(std::string_view line)
{
    if (lines_to_come_ > 0) {
        held_ += '\n';
        held_ += line;
        if (--lines_to_come_ == 0)
            read(without_cr(held_));
        return;
    }
    const bool holds_name =
        line.starts_with(header_start) || (out_.fatal.empty() && line.starts_with("Fatal: "));
    if (name_line_breaks_ > 0 && holds_name) {
        held_ = line;
        lines_to_come_ = name_line_breaks_;
        return;
    }
    read(without_cr(line));
}

void ListingReader::read(std::string_view line)
{
    const Shape shape = line.empty()                                ? Shape::empty
                        : msg::matches(line, line_of(msg::records_written)) ? Shape::records
                        : msg::matches(line, line_of(msg::output_file))     ? Shape::output_file
                                                                            : Shape::other;
    std::shift_left(last_.begin(), last_.end(), 1);
    last_.back() = shape;

    if (line.starts_with("Fatal: ") || (in_fatal_ && line.starts_with("\t"))) {
        out_.fatal.emplace_back(line);
        in_fatal_ = true;
        return;
    }
    in_fatal_ = false;
    if (line.starts_with("Error: "))
        take_finding(line, msg::Severity::error);
    else if (line.starts_with("Warning: "))
        take_finding(line, msg::Severity::warning);
    else if (line.starts_with("Info: "))
        take_finding(line, msg::Severity::info);
    else if (line.starts_with(header_start)) {
        out_.has_header = true;
        const auto at = line.find(" converting ");
        if (at != std::string_view::npos)
            out_.converting = std::string(line.substr(at + 12));
    } else if (line.starts_with("Census year = ")) {
        take_description(line, out_);
    } else if (line.starts_with("Output file is ")) {
        out_.output_file = std::string(line.substr(15));
    } else if (line.starts_with("Output ")) {
        out_.records_line = std::string(line);
    }
}

void ListingReader::take_finding(std::string_view line, msg::Severity severity)
{
    (severity == msg::Severity::error ? out_.errors : severity == msg::Severity::warning ? out_.warnings : out_.infos)++;
    if (!keep_findings_)
        return;
    const std::string_view rest = line.substr(line.find(' ') + 1);
    const std::optional<int> row = row_of(rest);
    // A malformed line is shown as it is, but read as no message of the catalogue.
    out_.findings.push_back({row.value_or(0), severity, std::string(line), row ? msg::find(line) : nullptr});
}

ListingSummary ListingReader::finish(bool ended)
{
    if (lines_to_come_ > 0) {
        lines_to_come_ = 0;
        read(without_cr(held_));
    }
    constexpr std::array<Shape, 4> closing = {Shape::empty, Shape::records, Shape::empty, Shape::output_file};
    out_.finished = ended && (in_fatal_ || (out_.has_header && last_ == closing));
    return std::move(out_);
}

ListingSummary read_listing(std::string_view text)
{
    ListingReader reader(true);
    // A listing cut off anywhere, even between a CR and its LF, lacks its last line end.
    const bool ended = text.ends_with('\n');
    while (!text.empty()) {
        const auto lf = text.find('\n');
        reader.take(text.substr(0, lf));
        if (lf == std::string_view::npos)
            break;
        text.remove_prefix(lf + 1);
    }
    return reader.finish(ended);
}

std::string console_fatal(std::string_view console)
{
    std::string fatal;
    bool in_fatal = false;
    for (std::size_t start = 0; start < console.size();) {
        const std::size_t end = std::min(console.find('\n', start), console.size());
        std::string_view line = without_cr(console.substr(start, end - start));  // the Windows console's line end
        start = end + 1;
        line.remove_prefix(after_counters(line));
        if (line.starts_with("Fatal")) {
            fatal += fatal.empty() ? "" : "; ";
            fatal += line;
            in_fatal = true;
        } else if (in_fatal) {
            fatal += "\n";  // a line break in the piece's name
            fatal += line;
        }
    }
    while (!fatal.empty() && fatal.back() == '\n')
        fatal.pop_back();
    return fatal;
}
