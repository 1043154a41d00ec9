// Files held open by a program, closed when their owner goes.
#pragma once

#include <cstdio>
#include <memory>

namespace file_detail {
struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace file_detail

// The one handle type of an open file in every program: closed when it goes,
// or checked first by whoever must know that the close worked.
using File = std::unique_ptr<std::FILE, file_detail::Closer>;
