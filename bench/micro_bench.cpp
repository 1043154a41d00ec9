// Micro-benchmarks of the converter's stages on a generated 1881 piece: the
// line reader, the field extractor, and one row through the checks and the
// record writer. Run by bench/run.sh (or directly, with Google Benchmark's
// own options).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "codefiles.h"
#include "codetables.h"
#include "extract.h"
#include "file.h"
#include "linereader.h"
#include "listing.h"
#include "piecegen.h"
#include "record.h"
#include "row.h"
#include "rowloop.h"
#include "run.h"

namespace {

constexpr long long piece_rows = 20000;

piecegen::Shape shape_of(int slip_every)
{
    piecegen::Shape shape;
    shape.rows = piece_rows;
    shape.year = 1881;
    shape.piece_label = "RG110123";
    shape.slip_every = slip_every;
    return shape;
}

// The piece's data rows without their line ends (the three header rows dropped).
std::vector<std::string> data_lines(int slip_every)
{
    const std::string text = piecegen::generate_text(shape_of(slip_every));
    std::vector<std::string> lines;
    std::size_t from = 0;
    int row = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (++row > 3)
            lines.push_back(line);
        from = end + 1;
    }
    return lines;
}

void BM_LineReader(benchmark::State& state)
{
    const std::string text = piecegen::generate_text(shape_of(0));
    File file(std::tmpfile());
    std::fwrite(text.data(), 1, text.size(), file.get());
    std::string line;
    long long rows = 0;
    for (auto _ : state) {
        std::rewind(file.get());
        LineReader reader(file.get());
        while (!reader.eof()) {
            reader.fgetm(line);
            ++rows;
        }
        benchmark::DoNotOptimize(line.data());
    }
    state.SetItemsProcessed(rows);
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(text.size()));
}
BENCHMARK(BM_LineReader)->Unit(benchmark::kMillisecond);

// Every cell of a row of the 256-byte layout, at the width it is read with.
constexpr std::size_t widths_256[] = {20, 4, 5, 4, 4, 5, 30, 1, 24, 24, 1, 6, 1, 1,
                                      4,  1, 30, 1, 1, 3, 20, 1, 6, 1, 44};

void BM_Extract(benchmark::State& state)
{
    const std::vector<std::string> lines = data_lines(0);
    Listing listing;
    ExtractFlags flags;
    std::size_t next = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string& line = lines[next];
        next = next + 1 == lines.size() ? 0 : next + 1;
        std::size_t pos = 0;
        const ExtractContext ctx{4, false};
        for (std::size_t width : widths_256) {
            std::string field = extract(line, pos, width, ctx, flags, listing);
            benchmark::DoNotOptimize(field.data());
        }
        bytes += line.size();
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations()));
    state.SetBytesProcessed(static_cast<long long>(bytes));
}
BENCHMARK(BM_Extract);

// One data row through intake, every check and the record writer; the state
// runs on from row to row as in a conversion, and starts again with the piece.
void BM_RowThroughChecks(benchmark::State& state)
{
    const int slip_every = static_cast<int>(state.range(0));
    const std::vector<std::string> lines = data_lines(slip_every);
    tabulon::Run run;
    run.year = 1881;
    Listing listing;
    const tabulon::CodeTables tables = tabulon::load_code_tables(EXAMPLES_DIR, run, listing);
    rowchecks::LoopState loop = rowchecks::start_state(run, "");
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == lines.size()) {
            state.PauseTiming();
            loop = rowchecks::start_state(run, "");
            next = 0;
            state.ResumeTiming();
        }
        ++loop.count.n;
        if (rowchecks::check_row(lines[next++], run, tables, loop, listing) == rowchecks::RowOutcome::record) {
            const std::string record = record::build_record(loop.row, run.format, loop.count.n, listing);
            benchmark::DoNotOptimize(record.data());
        }
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations()));
    state.counters["findings"] = benchmark::Counter(listing.nerr() + listing.nwarn());
}
BENCHMARK(BM_RowThroughChecks)->Arg(0)->Arg(50)->ArgName("slip_every");

}  // namespace

BENCHMARK_MAIN();
