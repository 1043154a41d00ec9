// Generates census pieces of any size for benchmarks and smoke runs: realistic
// households on realistic pages, every row valid, with optional slips of the
// kinds transcribers make, all from a fixed seed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace piecegen {

// What a piece looks like; the census itself (year, Scottish) comes from the
// file name, as the converter reads it.
struct Shape {
    long long rows = 1000;  // data rows, header rows not counted
    bool all_layout = false;
    int rlen = 256;          // 256, 276 or 299
    int year = 1881;
    bool scottish = false;
    std::string piece_label = "RG11 piece 123";  // cell A1
    int slip_every = 0;      // about one slip in this many rows; 0: a clean piece
    std::uint64_t seed = 1;
};

// A slip that the generator made, and the text of the finding it should draw.
struct SlipCount {
    std::string kind;
    std::string finding;  // a piece of the listing line that reports it
    long long count = 0;
};

struct Report {
    long long rows = 0;
    long long households = 0;
    long long bytes = 0;
    std::vector<SlipCount> slips;
};

// Writes the piece (header rows first in the SS-CENS layout) to out.
Report generate(const Shape& shape, std::FILE* out);

// The same into a string, for benchmarks that keep the piece in memory.
std::string generate_text(const Shape& shape, Report* report = nullptr);

}  // namespace piecegen
