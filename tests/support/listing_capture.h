// Test helper: a Listing writing to a temporary file whose text can be read
// back whole, NUL bytes included.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "file.h"
#include "file_with.h"
#include "listing.h"

class ListingCapture {
public:
    explicit ListingCapture(bool quiet = false, bool verbose = false)
        : file_(std::tmpfile()), listing(quiet, verbose)
    {
        listing.attach(file_.get());
    }

    // Everything written so far.
    std::string text() const
    {
        std::string out;
        if (!file_)
            return out;
        std::fflush(file_.get());
        const long at = std::ftell(file_.get());
        std::rewind(file_.get());
        char chunk[4096];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file_.get())) > 0)
            out.append(chunk, got);
        std::fseek(file_.get(), at, SEEK_SET);
        return out;
    }

private:
    File file_;

public:
    Listing listing;
};
