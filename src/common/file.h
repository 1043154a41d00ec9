// Files held open by a program, closed when their owner goes.
#pragma once

#include <cstdio>
#include <memory>

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

using File = std::unique_ptr<std::FILE, FileCloser>;
