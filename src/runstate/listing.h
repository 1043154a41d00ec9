// The error listing (.erc file) and the console, with the rules for writing
// and counting each class of message. Every message is an entry of the
// catalogue (messages.h), and its class decides:
//
//   Error   - always written to the listing, counted in nerr.
//   Warning - written and counted only when quiet is off. The check behind a
//             warning asks warnings_on() first; what it changes beside the
//             warning it changes either way.
//   Info    - written only when verbose is on, never counted.
//   Fatal   - set-up only: the text to the listing once it is open, the
//             console form to the console.
//   plain   - the listing's own lines, written as they stand.
//
// Text arguments are written whole, embedded NUL bytes included. A write to
// the listing that fails is remembered (write_failed()), so that the run can
// stop and say so rather than leave a cut-off listing behind.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "messages.h"
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

    // Writes the message by its class's rules (above).
    template <typename... Args>
    void report(msg::message<Args...> message, const Args&... args)
    {
        const msg::Entry& entry = message.entry();
        if (written(entry.severity))
            write(entry, {msgfmt_detail::make_arg(args)...});
    }

private:
    // Is a message of this class written under the switches?
    bool written(msg::Severity severity) const
    {
        return severity == msg::Severity::warning ? !quiet_ : severity != msg::Severity::info || verbose_;
    }

    // Writes the entry's text with its values, and counts it. Findings are
    // rare beside the rows checked: the checks' code is laid out for the
    // rows that draw none.
    [[gnu::cold]] void write(const msg::Entry& entry, std::initializer_list<msgfmt_detail::Arg> args);
    void write(const std::string& text);

    std::FILE* err_ = nullptr;
    bool quiet_ = false;
    bool verbose_ = false;
    int nerr_ = 0;
    int nwarn_ = 0;
    int write_error_ = 0;
};
