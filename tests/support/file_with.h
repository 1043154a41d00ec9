// A temporary file holding bytes, for tests that read from a stream.
#pragma once

#include <cstdio>
#include <string>

#include "file.h"

// A temporary file holding bytes, positioned at its start for reading.
inline File file_with(const std::string& bytes)
{
    File f(std::tmpfile());
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f.get());
        std::rewind(f.get());
    }
    return f;
}
