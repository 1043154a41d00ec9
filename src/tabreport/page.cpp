#include "page.h"

#include <set>

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

void head(const Report& r, std::string& out)
{
    const std::string title = "Findings for " + html_text(r.piece_name);
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    out += title;
    out += "</title>\n<style>";
    out += page_style;
    out += "</style>\n<style id=\"filter\"></style>\n</head>\n<body>\n"
           "<a class=\"skip\" href=\"#sheet\">Skip to the spreadsheet</a>\n<header>\n<h1>";
    out += title;
    out += "</h1>\n";
}

void facts(const Report& r, std::string& out)
{
    const ListingSummary& l = r.listing;
    out += "<dl class=\"facts\">\n<dt>Piece<dd>" + html_text(r.piece_name);
    out += "\n<dt>Listing<dd>" + html_text(r.listing_name);
    if (l.has_description) {
        out += "\n<dt>Census year<dd>" + std::to_string(l.year);
        out += "\n<dt>Input format<dd>" + html_text(l.input_format);
        out += "\n<dt>Output format<dd>" + html_text(l.output_format);
        if (!l.mode.empty())
            out += ", " + html_text(l.mode);
    }
    if (!l.records_line.empty())
        out += "\n<dt>Converted<dd>" + html_text(l.records_line);
    out += "\n</dl>\n";
}

void counts(const ListingSummary& l, std::string& out)
{
    out += "<p class=\"counts\"><span class=\"e\" id=\"errors\">" + counted(l.errors, "error", "errors") +
           "</span> <span class=\"w\" id=\"warnings\">" + counted(l.warnings, "warning", "warnings") +
           "</span> <span class=\"i\" id=\"infos\">" + counted(l.infos, "info", "infos") + "</span></p>\n";
}

void stale_notice(std::string& out)
{
    out += "<p class=\"stale\" id=\"stale\">The piece was changed after this listing was written: the "
           "findings may no longer match the rows. Convert the piece again with tabulon, then make the "
           "report again.</p>\n";
}

void fatal_section(const ListingSummary& l, std::string& out)
{
    out += "<section class=\"fatal\" id=\"fatal\">\n<h2>The conversion stopped before the rows were "
           "checked</h2>\n<pre>";
    // A Fatal's second line is indented with a tab.
    for (const std::string& line : l.fatal)
        out += line.starts_with('\t') ? "\t" + html_text(line.substr(1)) + "\n" : html_text(line) + "\n";
    out += "</pre>\n</section>\n";
}

void kinds_nav(const Report& r, std::string& out)
{
    out += "<nav aria-label=\"Findings by kind\">\n<h2>Findings by kind</h2>\n<ul class=\"kinds\">\n";
    for (const Kind& k : r.placement.kinds) {
        out += "<li><span class=\"n " + std::string(class_letter(k.severity)) + "\">" + std::to_string(k.count) +
               "</span> <a href=\"#kind=" + k.slug + "\" data-kind=\"" + k.slug + "\">" + html_text(k.label) +
               "</a></li>\n";
    }
    if (r.placement.kinds.empty())
        out += "<li>No findings.</li>\n";
    out += "</ul>\n<p class=\"view\"><a href=\"#\" id=\"v-findings\">Rows with findings</a> | "
           "<a href=\"#rows=all\" id=\"v-all\">All rows</a> | <span id=\"shown\" aria-live=\"polite\"></span></p>\n"
           "<p class=\"keys\">Keys: n goes to the next row with findings, p to the previous one.</p>\n</nav>\n";
}

void finding_list(const Report& r, const std::vector<int>& which, const char* id, const char* heading,
                  std::string& out)
{
    if (which.empty())
        return;
    out += "<section id=\"" + std::string(id) + "\">\n<h2>" + heading + "</h2>\n<ul class=\"msgs\">\n";
    for (int f : which) {
        const ListingFinding& finding = r.listing.findings[f];
        out += "<li class=\"" + std::string(class_letter(finding.severity)) + "\">" + html_text(finding.line) +
               "</li>\n";
    }
    out += "</ul>\n</section>\n";
}

void table_head(const Sheet& sheet, std::string& out)
{
    out += "<main>\n<table class=\"sheet\" id=\"sheet\">\n<thead><tr><th scope=\"col\">Row";
    for (const std::string& title : sheet.titles)
        out += "<th scope=\"col\">" + html_text(title);
    out += "</tr></thead>\n";
}

// What one row shows: its cells' classes and its findings under it.
struct RowView {
    std::vector<int> cell_class;  // -1 none, else a msg::Severity
    msg::Severity worst = msg::Severity::info;
    std::set<int> kinds;
};

RowView view_of(const Report& r, const std::vector<Placed>& placed)
{
    RowView v;
    v.cell_class.assign(r.sheet.columns.size(), -1);
    for (const Placed& p : placed) {
        const msg::Severity s = r.listing.findings[p.finding].severity;
        v.worst = worse(v.worst, s);
        v.kinds.insert(r.placement.kind_of[p.finding]);
        if (p.column >= 0 && p.column < static_cast<int>(v.cell_class.size())) {
            int& c = v.cell_class[p.column];
            c = c < 0 ? static_cast<int>(s) : static_cast<int>(worse(static_cast<msg::Severity>(c), s));
        }
    }
    return v;
}

void cells(const SheetRow& row, std::size_t count, const std::vector<int>* classes, std::string& out)
{
    out += "<tr><th>" + std::to_string(row.n);
    for (std::size_t i = 0; i < count; ++i) {
        const int c = classes ? (*classes)[i] : -1;
        out += c < 0 ? "<td>" : std::string("<td class=\"") + class_letter(static_cast<msg::Severity>(c)) + "\">";
        if (i < row.cells.size())
            out += html_text(row.cells[i].text);
    }
    out += "\n";
}

void finding_row(const Report& r, const SheetRow& row, const std::vector<Placed>& placed, const char* gap,
                 std::string& out)
{
    const RowView v = view_of(r, placed);
    out += "<tbody id=\"r" + std::to_string(row.n) + "\" class=\"f " + class_letter(v.worst) + gap;
    if (row.header)
        out += " h";
    for (int k : v.kinds)
        out += " k-" + r.placement.kinds[k].slug;
    out += "\">";
    cells(row, r.sheet.columns.size(), &v.cell_class, out);
    out += "<tr class=\"m\"><th><td colspan=\"" + std::to_string(r.sheet.columns.size()) + "\"><ul class=\"msgs\">";
    for (const Placed& p : placed) {
        const ListingFinding& f = r.listing.findings[p.finding];
        out += "<li class=\"" + std::string(class_letter(f.severity)) + " k-" +
               r.placement.kinds[r.placement.kind_of[p.finding]].slug + "\">";
        if (p.column >= 0)
            out += "<b>" + html_text(r.sheet.titles[p.column]) + ":</b> ";
        out += html_text(f.line) + "</li>";
    }
    out += "</ul>\n</tbody>\n";
}

bool has_findings(const Report& r, int n)
{
    return r.placement.by_row.contains(n);
}

// Rows without findings: a row beside one with findings stands alone (it is
// shown as context); the others are gathered into groups, shown only when
// all rows are asked for.
void table_body(const Report& r, std::string& out)
{
    bool in_group = false;
    for (const SheetRow& row : r.sheet.rows) {
        // A row shown after hidden ones says so with a line above it.
        const char* gap = in_group ? " g" : "";
        if (auto it = r.placement.by_row.find(row.n); it != r.placement.by_row.end()) {
            if (in_group)
                out += "</tbody>\n";
            in_group = false;
            finding_row(r, row, it->second, gap, out);
            continue;
        }
        const bool context = has_findings(r, row.n - 1) || has_findings(r, row.n + 1);
        if (context || !in_group) {
            if (in_group)
                out += "</tbody>\n";
            out += context ? std::string("<tbody class=\"c") + gap + (row.header ? " h" : "") + "\">"
                           : std::string(row.header ? "<tbody class=\"h\">" : "<tbody>");
            in_group = !context;
        }
        cells(row, r.sheet.columns.size(), nullptr, out);
        if (context)
            out += "</tbody>\n";
    }
    if (in_group)
        out += "</tbody>\n";
    out += "</table>\n</main>\n";
}

void tail(std::string& out)
{
    out += "<script>";
    out += page_script;
    out += "</script>\n</body>\n</html>\n";
}

}  // namespace

std::string html_page(const Report& r)
{
    std::string out;
    out.reserve(4096 + r.sheet.rows.size() * 200);
    head(r, out);
    if (!r.listing.fatal.empty()) {
        out += "<dl class=\"facts\">\n<dt>Piece<dd>" + html_text(r.piece_name) + "\n<dt>Listing<dd>" +
               html_text(r.listing_name) + "\n</dl>\n</header>\n";
        fatal_section(r.listing, out);
        tail(out);
        return out;
    }
    if (r.stale)
        stale_notice(out);
    facts(r, out);
    counts(r.listing, out);
    out += "</header>\n";
    kinds_nav(r, out);
    finding_list(r, r.placement.piece_findings, "piece-findings", "About the whole piece", out);
    finding_list(r, r.placement.missing_rows, "missing-rows", "On rows the piece does not have", out);
    table_head(r.sheet, out);
    table_body(r, out);
    tail(out);
    return out;
}

}  // namespace tabreport
