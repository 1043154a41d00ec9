#include "sheet.h"

#include <limits>

#include "extract.h"
#include "listing.h"
#include "normalise.h"

namespace tabreport {

namespace {

namespace header = rowchecks::header;

// A width no cell reaches: the cell is never cut.
constexpr std::size_t whole = std::numeric_limits<std::size_t>::max();

// Cuts cells from one row, each twice in step: at the width the converter
// reads it at (to count the messages it writes there) and whole (to show it).
class CellCutter {
public:
    CellCutter(const std::string& line, int n, bool header_row) : line_(line), ctx_{n, header_row} {}

    Cell take(std::size_t width, rowchecks::Query query)
    {
        Listing counted;  // no stream: counts only
        ExtractFlags flags;
        std::string value = extract(line_, at_width_, width, ctx_, flags, counted);
        Cell cell;
        cell.cut_messages = counted.nerr();
        Listing shown;
        cell.text = extract(line_, whole_, whole, ctx_, flags, shown);
        if (query != rowchecks::Query::none) {
            Listing asked;
            std::string flag;
            if (query == rowchecks::Query::flag)
                noquery(value, flag, ctx_.n, asked);
            else
                noquery(value, ctx_.n, asked);
            cell.query_messages = asked.nwarn();
        }
        return cell;
    }

    bool at_end() const { return whole_ >= line_.size(); }

private:
    const std::string& line_;
    ExtractContext ctx_;
    std::size_t at_width_ = 0;
    std::size_t whole_ = 0;
};

SheetRow data_row(const std::string& line, int n, std::span<const rowchecks::Column> columns)
{
    SheetRow row{n, false, {}};
    CellCutter cut(line, n, false);
    for (const auto& column : columns)
        row.cells.push_back(cut.take(column.width, column.query));
    return row;
}

// Row 1: the piece in A1 and the book in B1; row 2: the titles, up to the
// first empty one; row 3 is never cut. Each at the width the converter reads it.
SheetRow header_row(const std::string& line, int n, std::size_t count)
{
    SheetRow row{n, true, {}};
    CellCutter cut(line, n, true);
    Listing silent;
    for (std::size_t i = 0; i < count; ++i) {
        if (n == 1 && i < 2)
            row.cells.push_back(
                cut.take(i == 0 ? header::piece_width : header::book_width, rowchecks::Query::none));
        else if (n == 2 && i < header::most_titles && (row.cells.empty() || !row.cells.back().text.empty()))
            row.cells.push_back(cut.take(header::title_width, rowchecks::Query::none));
        else
            row.cells.push_back(Cell{cut.take(whole, rowchecks::Query::none).text, 0, 0});
    }
    return row;
}

void take_titles(Sheet& sheet)
{
    for (std::size_t i = 0; i < sheet.columns.size(); ++i) {
        const bool from_row_2 = sheet.rows.size() >= 2 && sheet.rows[1].header &&
                                i < sheet.rows[1].cells.size() && !sheet.rows[1].cells[i].text.empty();
        sheet.titles.push_back(from_row_2 ? sheet.rows[1].cells[i].text
                                          : sheet.columns[i].title);
    }
}

}  // namespace

Sheet read_sheet(LineReader& lines, const tabulon::Run& run)
{
    RowReader in(lines, run.brief ? RowReader::Layout::ss_cens : RowReader::Layout::all);
    Sheet sheet;
    sheet.columns = rowchecks::columns(run);
    const int header_rows = run.brief ? 3 : 0;
    std::string line;
    for (int n = 1; !in.eof(); ++n) {
        in.next(line);
        if (in.failed()) {
            sheet.read_failed = true;
            break;
        }
        const auto lf = line.find('\n');
        if (lf != std::string::npos)
            line.resize(lf);
        // Nothing read at the end of the input is no row.
        if (in.eof() && line.empty())
            break;
        sheet.rows.push_back(n <= header_rows ? header_row(line, n, sheet.columns.size())
                                              : data_row(line, n, sheet.columns));
    }
    take_titles(sheet);
    return sheet;
}

}  // namespace tabreport
