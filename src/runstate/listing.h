// The error listing (.erc file) and the console, with the rules for writing
// and counting each class of message.
//
//   Error   - always written to the listing, counted in nerr.
//   Warning - written and counted only when quiet is off. The check behind a
//             warning asks warnings_on() first; what it changes beside the
//             warning it changes either way.
//   Info    - written only when verbose is on, never counted.
//   Fatal   - set-up only: the long form to the listing once it is open, the
//             short form to the console.
//
// Message texts are formatted with msgfmt(), which writes its text arguments
// whole, embedded NUL bytes included. A write to the listing that fails is
// remembered (write_failed()), so that the run can stop and say so rather than
// leave a cut-off listing behind.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "msgfmt.h"

class Listing {
public:
    Listing() = default;
    Listing(bool quiet, bool verbose) : quiet_(quiet), verbose_(verbose) {}

    // The listing stream; nullptr until the .erc file is open (and in tests
    // that only count). Not owned.
    void attach(std::FILE* stream) { err_ = stream; }
    std::FILE* stream() const { return err_; }

    bool warnings_on() const { return !quiet_; }
    bool quiet() const { return quiet_; }
    bool verbose() const { return verbose_; }
    int nerr() const { return nerr_; }
    int nwarn() const { return nwarn_; }
    void reset_counts() { nerr_ = nwarn_ = 0; }

    // Has a write to the listing failed? write_error() is the errno it left.
    bool write_failed() const { return write_error_ != 0; }
    int write_error() const { return write_error_; }

    template <typename... Args>
    void error(format_string<Args...> format, const Args&... args)
    {
        write(msgfmt<Args...>(format, args...));
        ++nerr_;
    }

    template <typename... Args>
    void warning(format_string<Args...> format, const Args&... args)
    {
        if (quiet_)
            return;
        write(msgfmt<Args...>(format, args...));
        ++nwarn_;
    }

    template <typename... Args>
    void info(format_string<Args...> format, const Args&... args)
    {
        if (verbose_)
            write(msgfmt<Args...>(format, args...));
    }

    // Written to the listing as it stands, uncounted (header, summary lines).
    template <typename... Args>
    void plain(format_string<Args...> format, const Args&... args)
    {
        write(msgfmt<Args...>(format, args...));
    }

    // A Fatal set-up condition: the long form to the listing (when open), the
    // short form to the console.
    void fatal(std::string_view listing_text, std::string_view console_text);

private:
    void write(const std::string& text);

    std::FILE* err_ = nullptr;
    bool quiet_ = false;
    bool verbose_ = false;
    int nerr_ = 0;
    int nwarn_ = 0;
    int write_error_ = 0;
};
