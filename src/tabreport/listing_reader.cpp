#include "listing_reader.h"

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

// The row number of "Class: row N..."; 0 when the finding names no row.
int row_of(std::string_view rest)
{
    if (!rest.starts_with("row "))
        return 0;
    rest.remove_prefix(4);
    long long row = 0;
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9' && row < 1'000'000'000)
        row = row * 10 + (rest[digits++] - '0');
    const bool ends = digits < rest.size() && (rest[digits] == ',' || rest[digits] == ' ');
    return digits > 0 && ends ? static_cast<int>(row) : 0;
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
        f.row = row_of(line.substr(c.prefix.size()));
        f.severity = c.severity;
        f.line = std::string(line);
        f.message = find_message(line);
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

}  // namespace

ListingSummary read_listing(std::string_view text)
{
    ListingSummary out;
    bool in_fatal = false;
    for (std::string_view line : lines_of(text)) {
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
    return out;
}

}  // namespace tabreport
