#include "findings.h"

#include <algorithm>
#include <cctype>

namespace tabreport {

namespace {

// Hands out, in order, the cells of a row that drew messages of one kind of
// reading (the extractor's, or the question-mark rule's).
class CellQueue {
public:
    CellQueue(const SheetRow& row, int Cell::*count)
    {
        for (std::size_t i = 0; i < row.cells.size(); ++i)
            for (int k = 0; k < row.cells[i].*count; ++k)
                cells_.push_back(static_cast<int>(i));
    }
    int next() { return next_ < cells_.size() ? cells_[next_++] : whole_row; }

private:
    std::vector<int> cells_;
    std::size_t next_ = 0;
};

int column_of(std::span<const rowchecks::Column> columns, rowchecks::Field field)
{
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].field == field)
            return static_cast<int>(i);
    return whole_row;
}

void place_cells(std::span<const rowchecks::Column> columns, const SheetRow& row, const ListingSummary& listing,
                 std::vector<Placed>& placed)
{
    CellQueue cut(row, &Cell::cut_messages), query(row, &Cell::query_messages);
    for (Placed& p : placed) {
        const msg::Entry* message = listing.findings[p.finding].message;
        if (!message)
            continue;
        switch (message->where.place) {
        case msg::Place::cut_cell: p.column = cut.next(); break;
        case msg::Place::query_cell: p.column = query.next(); break;
        case msg::Place::column: p.column = row.header ? whole_row : column_of(columns, message->where.field); break;
        case msg::Place::row:
        case msg::Place::piece: break;
        }
    }
}

void gather_kinds(const ListingSummary& listing, Placement& out)
{
    std::map<std::string, int> index;
    for (const ListingFinding& f : listing.findings) {
        const std::string label(f.message ? f.message->label : "other findings");
        auto [it, added] = index.try_emplace(label, static_cast<int>(out.kinds.size()));
        if (added)
            out.kinds.push_back({label, kind_slug(label),
                                 f.message ? std::string(f.message->explanation) : std::string(), f.severity, 0});
        ++out.kinds[it->second].count;
        out.kinds[it->second].severity = worse(out.kinds[it->second].severity, f.severity);
        out.kind_of.push_back(it->second);
    }
    std::vector<int> order(out.kinds.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Kind &ka = out.kinds[a], &kb = out.kinds[b];
        return ka.severity != kb.severity ? ka.severity < kb.severity : ka.count > kb.count;
    });
    std::vector<int> new_index(order.size());
    std::vector<Kind> sorted;
    for (std::size_t i = 0; i < order.size(); ++i) {
        new_index[order[i]] = static_cast<int>(i);
        sorted.push_back(out.kinds[order[i]]);
    }
    out.kinds = std::move(sorted);
    for (int& k : out.kind_of)
        k = new_index[k];
}

}  // namespace

msg::Severity worse(msg::Severity a, msg::Severity b)
{
    return std::min(a, b);
}

std::string kind_slug(std::string_view label)
{
    std::string slug;
    for (char c : label) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) && u < 0x80)
            slug += static_cast<char>(std::tolower(u));
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug.empty() ? "other" : slug;
}

Placement place_listing(const ListingSummary& listing)
{
    Placement out;
    for (std::size_t i = 0; i < listing.findings.size(); ++i) {
        const int n = listing.findings[i].row;
        if (n == 0)
            out.piece_findings.push_back(static_cast<int>(i));
        else
            out.by_row[n].push_back({static_cast<int>(i), whole_row});
    }
    gather_kinds(listing, out);
    return out;
}

void place_row(std::span<const rowchecks::Column> columns, const SheetRow& row, const ListingSummary& listing,
               Placement& placement)
{
    const auto it = placement.by_row.find(row.n);
    if (it == placement.by_row.end() || !placement.rows_seen.insert(row.n).second)
        return;
    place_cells(columns, row, listing, it->second);
}

void close_placement(Placement& placement)
{
    for (auto it = placement.by_row.begin(); it != placement.by_row.end();) {
        if (placement.rows_seen.contains(it->first)) {
            ++it;
            continue;
        }
        for (const Placed& p : it->second)
            placement.missing_rows.push_back(p.finding);
        it = placement.by_row.erase(it);
    }
    std::sort(placement.missing_rows.begin(), placement.missing_rows.end());
}

Placement place_findings(const Sheet& sheet, const ListingSummary& listing)
{
    Placement out = place_listing(listing);
    for (const SheetRow& row : sheet.rows)
        place_row(sheet.columns, row, listing, out);
    close_placement(out);
    return out;
}

}  // namespace tabreport
