#include "page.h"

#include "html_text.h"
#include "page_assets.h"

namespace tabreport {

namespace {

const char* class_letter(msg::Severity s)
{
    return s == msg::Severity::error ? "e" : s == msg::Severity::warning ? "w" : "i";
}

std::string counted(long long count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void head(const Report& r, PageOut& out)
{
    const std::string title = "Findings for " + html_text(r.piece_name);
    out.add("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>");
    out.add(title);
    out.add("</title>\n<style>");
    out.add(page_style);
    out.add("</style>\n</head>\n<body>\n<a class=\"skip\" href=\"#sheetbox\">Skip to the spreadsheet</a>\n"
            "<header>\n<h1>");
    out.add(title);
    out.add("</h1>\n");
}

void facts(const Report& r, PageOut& out)
{
    const ListingSummary& l = r.listing;
    std::string s = "<dl class=\"facts\">\n<dt>Piece<dd>" + html_text(r.piece_name);
    s += "\n<dt>Listing<dd>" + html_text(r.listing_name);
    if (l.has_description) {
        s += "\n<dt>Census year<dd>" + std::to_string(l.year);
        s += "\n<dt>Input format<dd>" + html_text(l.input_format);
        s += "\n<dt>Output format<dd>" + html_text(l.output_format);
        if (!l.mode.empty())
            s += ", " + html_text(l.mode);
    }
    if (!l.records_line.empty())
        s += "\n<dt>Converted<dd>" + html_text(l.records_line);
    s += "\n</dl>\n";
    out.add(s);
}

void counts(const ListingSummary& l, PageOut& out)
{
    out.add("<p class=\"counts\"><span class=\"e\" id=\"errors\">" + counted(l.errors, "error", "errors") +
            "</span> <span class=\"w\" id=\"warnings\">" + counted(l.warnings, "warning", "warnings") +
            "</span> <span class=\"i\" id=\"infos\">" + counted(l.infos, "info", "infos") + "</span></p>\n");
}

void stale_notice(PageOut& out)
{
    out.add("<p class=\"stale\" id=\"stale\">The piece was changed after this listing was written: the "
            "findings may no longer match the rows. Convert the piece again with tabulon, then make the "
            "report again.</p>\n");
}

void fatal_section(const ListingSummary& l, PageOut& out)
{
    out.add("<section class=\"fatal\" id=\"fatal\">\n<h2>The conversion stopped before the rows were "
            "checked</h2>\n<pre>");
    // A Fatal's second line is indented with a tab.
    for (const std::string& line : l.fatal)
        out.add(line.starts_with('\t') ? "\t" + html_text(line.substr(1)) + "\n" : html_text(line) + "\n");
    out.add("</pre>\n</section>\n");
}

// The choice of view, the text filter and the line that says what is shown.
void view_bar(PageOut& out)
{
    out.add("<nav class=\"bar\" aria-label=\"Views\"><a href=\"#\" id=\"v-findings\">Rows with findings</a> "
            "<a href=\"#rows=all\" id=\"v-all\">All rows</a> "
            "<a href=\"#view=values\" id=\"v-values\">Values of each column</a> "
            "<label>Filter <input type=\"search\" id=\"filter\" placeholder=\"text in a row (key /)\"></label> "
            "<span id=\"shown\" aria-live=\"polite\"></span>"
            "<span class=\"keys\">Keys: n next finding, p previous, / filter</span></nav>\n</header>\n");
}

void kinds_nav(const Report& r, PageOut& out)
{
    std::string s = "<nav class=\"kinds\" aria-label=\"Findings by kind\">\n<h2>Findings by kind</h2>\n<ul>\n";
    for (const Kind& k : r.placement.kinds) {
        s += "<li><span class=\"n " + std::string(class_letter(k.severity)) + "\">" + std::to_string(k.count) +
             "</span> <a href=\"#kind=" + k.slug + "\" data-kind=\"" + k.slug + "\">" + html_text(k.label) + "</a>";
        if (!k.explanation.empty())
            s += "<p class=\"why\">" + html_text(k.explanation) + "</p>";
        s += "</li>\n";
    }
    if (r.placement.kinds.empty())
        s += "<li>No findings.</li>\n";
    s += "</ul>\n</nav>\n";
    out.add(s);
}

void finding_list(const Report& r, const std::vector<int>& which, const char* id, const char* heading,
                  PageOut& out)
{
    if (which.empty())
        return;
    std::string s = "<section id=\"" + std::string(id) + "\">\n<h2>" + heading + "</h2>\n<ul class=\"msgs\">\n";
    for (int f : which) {
        const ListingFinding& finding = r.listing.findings[f];
        s += "<li class=\"" + std::string(class_letter(finding.severity)) + "\">" + html_text(finding.line) + "</li>\n";
    }
    s += "</ul>\n</section>\n";
    out.add(s);
}

// The work area: the spreadsheet, drawn by the script, beside the findings.
void work_area(const Report& r, PageOut& out)
{
    out.add("<main class=\"work\">\n<div class=\"sheetbox\" id=\"sheetbox\" tabindex=\"0\">"
            "<table class=\"sheet\" id=\"sheet\"></table></div>\n"
            "<section class=\"values\" id=\"values\" hidden></section>\n<aside class=\"side\">\n");
    finding_list(r, r.placement.piece_findings, "piece-findings", "About the whole piece", out);
    kinds_nav(r, out);
    out.add("<section class=\"found\" id=\"found\" aria-label=\"Findings in view\"></section>\n</aside>\n</main>\n");
}

void json_texts(std::string& out, const std::vector<std::string>& texts)
{
    out += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i)
            out += ',';
        append_json_string(out, texts[i]);
    }
    out += ']';
}

void json_kinds(const Placement& p, std::string& out)
{
    out += '[';
    for (std::size_t i = 0; i < p.kinds.size(); ++i) {
        const Kind& k = p.kinds[i];
        out += i ? ",[" : "[";
        append_json_string(out, k.slug);
        out += ',';
        append_json_string(out, k.label);
        out += ",\"" + std::string(class_letter(k.severity)) + "\",";
        append_json_string(out, k.explanation);
        out += ']';
    }
    out += ']';
}

// Each finding on a row: [row, column (-1: the whole row), class, kind, line].
void json_findings(const Report& r, std::string& out)
{
    out += '[';
    bool first = true;
    for (const auto& [n, placed] : r.placement.by_row) {
        for (const Placed& p : placed) {
            const ListingFinding& f = r.listing.findings[p.finding];
            out += first ? "[" : ",[";
            first = false;
            out += std::to_string(n) + "," + std::to_string(p.column) + ",\"" + class_letter(f.severity) + "\"," +
                   std::to_string(r.placement.kind_of[p.finding]) + ",";
            append_json_string(out, f.line);
            out += ']';
        }
    }
    out += ']';
}

void json_lines(const Report& r, const std::vector<int>& which, std::string& out)
{
    out += '[';
    for (std::size_t i = 0; i < which.size(); ++i) {
        const ListingFinding& f = r.listing.findings[which[i]];
        out += i ? ",[\"" : "[\"";
        out += class_letter(f.severity);
        out += "\",";
        append_json_string(out, f.line);
        out += ']';
    }
    out += ']';
}

std::string page_data(const Report& r)
{
    std::string s = "<script type=\"application/json\" id=\"data\">{\"headerRows\":";
    s += r.run.brief ? "3" : "0";
    s += ",\"titles\":";
    json_texts(s, r.sheet.titles);
    s += ",\"kinds\":";
    json_kinds(r.placement, s);
    s += ",\"findings\":";
    json_findings(r, s);
    s += ",\"missing\":";
    json_lines(r, r.placement.missing_rows, s);
    s += "}</script>\n";
    return s;
}

void tail(PageOut& out)
{
    out.add("<script>");
    out.add(page_script);
    out.add("</script>\n</body>\n</html>\n");
}

// Hex digits of the escapes.
constexpr char hex_digit[] = "0123456789abcdef";

void append_escape(std::string& out, unsigned char c)
{
    out += "\\u00";
    out += hex_digit[c >> 4];
    out += hex_digit[c & 15];
}

// What a page holds before it flushes to its file.
constexpr std::size_t flush_at = 256 * 1024;

}  // namespace

void append_json_string(std::string& out, std::string_view cp1252)
{
    out += '"';
    append_json_text(out, cp1252);
    out += '"';
}

void append_json_text(std::string& out, std::string_view cp1252)
{
    for (char ch : cp1252) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&') {
            append_escape(out, c);
        } else if (!append_cp1252(out, c)) {
            append_escape(out, c);  // undefined in Windows-1252: its C1 code point
        }
    }
}

void PageOut::add(std::string_view text)
{
    held_ += text;
    if (file_ && held_.size() >= flush_at)
        flush();
}

bool PageOut::flush()
{
    if (!file_)
        return !failed_;
    if (!held_.empty() && std::fwrite(held_.data(), 1, held_.size(), file_) != held_.size())
        failed_ = true;
    held_.clear();
    return !failed_;
}

void PageWriter::begin()
{
    head(r_, out_);
    if (!r_.listing.fatal.empty()) {
        fatal_ = true;
        out_.add("<dl class=\"facts\">\n<dt>Piece<dd>" + html_text(r_.piece_name) + "\n<dt>Listing<dd>" +
                 html_text(r_.listing_name) + "\n</dl>\n</header>\n");
        fatal_section(r_.listing, out_);
        tail(out_);
        return;
    }
    if (r_.stale)
        stale_notice(out_);
    facts(r_, out_);
    counts(r_.listing, out_);
    view_bar(out_);
    work_area(r_, out_);
    out_.add("<script type=\"application/json\" id=\"rows\">[");
}

// One row: a single string of its number and its cells, each cell after the
// separator U+0080, which no cell can hold (Windows-1252 byte 0x80 is the euro
// sign); the empty cells at the end left out.
void PageWriter::row(const SheetRow& row)
{
    if (fatal_)
        return;
    std::size_t used = row.cells.size();
    while (used > 0 && row.cells[used - 1].text.empty())
        --used;
    buffer_.clear();
    buffer_ += rows_started_ ? ",\n\"" : "\n\"";
    rows_started_ = true;
    buffer_ += std::to_string(row.n);
    for (std::size_t i = 0; i < used; ++i) {
        buffer_ += "\xC2\x80";
        append_json_text(buffer_, row.cells[i].text);
    }
    buffer_ += '"';
    out_.add(buffer_);
}

void PageWriter::end()
{
    if (fatal_)
        return;
    out_.add("]</script>\n");
    out_.add(page_data(r_));
    tail(out_);
}

std::string html_page(const Report& r)
{
    PageOut out;
    PageWriter page(r, out);
    page.begin();
    for (const SheetRow& row : r.sheet.rows)
        page.row(row);
    page.end();
    return out.text();
}

}  // namespace tabreport
