#include "listing_reader.h"

#include <charconv>
#include <optional>
#include <span>

#include "messages.h"
#include "text.h"

namespace tabreport {

namespace {

std::vector<std::string_view> lines_of(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos)
            break;
        text.remove_prefix(lf + 1);
    }
    return lines;
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

bool take_finding(std::string_view line, ListingSummary& out)
{
    static constexpr struct {
        std::string_view prefix;
        Severity severity;
    } classes[] = {{"Error: ", Severity::error}, {"Warning: ", Severity::warning}, {"Info: ", Severity::info}};
    for (const auto& c : classes) {
        if (!line.starts_with(c.prefix))
            continue;
        Finding f;
        const std::optional<int> row = row_of(line.substr(c.prefix.size()));
        f.row = row.value_or(0);
        f.severity = c.severity;
        f.line = std::string(line);
        // A malformed line is shown as it is, but read as no message of the table.
        f.message = row ? find_message(line) : -1;
        (c.severity == Severity::error ? out.errors : c.severity == Severity::warning ? out.warnings : out.infos)++;
        out.findings.push_back(std::move(f));
        return true;
    }
    return false;
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

// The converter's last lines after a finished conversion: "\nOutput %d
// records, highest household number = %d\n" and "\nOutput file is %s\n".
bool ends_in_closing_lines(std::span<const std::string_view> lines)
{
    if (lines.size() < 4)
        return false;
    const auto last = lines.last(4);
    return last[0].empty() && matches(last[1], "Output %d records, highest household number = %d") &&
           last[2].empty() && last[3].starts_with("Output file is ");
}

}  // namespace

ListingSummary read_listing(std::string_view text)
{
    ListingSummary out;
    bool in_fatal = false;
    const std::vector<std::string_view> lines = lines_of(text);
    for (std::string_view line : lines) {
        if (line.starts_with("Fatal: ") || (in_fatal && line.starts_with("\t"))) {
            out.fatal.emplace_back(line);
            in_fatal = true;
            continue;
        }
        in_fatal = false;
        if (take_finding(line, out))
            continue;
        if (line.starts_with("Error listing for tabulon ")) {
            out.has_header = true;
            const auto at = line.find(" converting ");
            if (at != std::string_view::npos)
                out.converting = std::string(line.substr(at + 12));
        } else if (line.starts_with("Census year = ")) {
            take_description(line, out);
        } else if (line.starts_with("Output file is ")) {
            out.output_file = std::string(line.substr(15));
        } else if (line.starts_with("Output ")) {
            out.records_line = std::string(line);
        }
    }
    // A listing cut off anywhere, even between a CR and its LF, lacks its last line end.
    const bool whole_last_line = text.ends_with('\n');
    out.finished = whole_last_line && (in_fatal || (out.has_header && ends_in_closing_lines(lines)));
    return out;
}

}  // namespace tabreport
