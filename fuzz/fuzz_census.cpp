// Census identification on arbitrary base names.
//
// Properties:
//   - the status is 0 or 12 and no Error or Warning is counted;
//   - on 0 the name is the normalised lower-case form: a known stem (with its
//     part digits) followed by at least three or four piece digits, nothing
//     else; the year is a census year and it and the Scottish flag agree with
//     the stem; the part number agrees with the stem where the stem shows it;
//   - on 12 the listing holds exactly one Fatal line of a known form (the
//     census-year one showing the name as typed) and the console its short
//     form, the two of the same kind;
//   - the case of the ASCII letters in the name changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "census.h"
#include "conventions.h"
#include "fuzz_support.h"
#include "listing.h"
#include "run.h"

namespace {

struct Outcome {
    int status;
    std::string name;
    tabulon::Run run;
    std::string listing;
    std::string console;
};

Outcome decode(const std::string& typed)
{
    Outcome o;
    o.name = typed;
    fuzz::MemoryStream listing_text;
    Listing listing(false, false);
    listing.attach(listing_text.stream());
    o.run.year = -1;
    o.run.ipart = -1;
    {
        fuzz::StderrCapture console;
        o.status = tabulon::decode_census(o.name, o.run, listing);
        o.console = console.text();
    }
    o.listing = listing_text.text();
    FUZZ_CHECK(listing.nerr() == 0 && listing.nwarn() == 0, "counted messages for <" + fuzz::escaped(typed) + ">");
    return o;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool all_digits(std::string_view s)
{
    for (char c : s)
        if (!is_digit(c))
            return false;
    return true;
}

int year_of_stem(std::string_view name, bool& sct, std::size_t& stem_length)
{
    const std::string_view first3 = name.substr(0, 3);
    sct = name.size() > 1 && name[1] == 's';
    stem_length = sct ? 5 : 4;
    if (first3 == "ho1") {
        // ho10 then a piece, or ho107 / ho1 and a part, then a piece.
        stem_length = 5;
        return 1841;
    }
    if (first3 == "ho4" || first3 == "hs4")
        return 1841;
    if (first3 == "ho5" || first3 == "hs5")
        return 1851;
    if (name.substr(0, 4) == "rg09" || first3 == "rs6")
        return 1861;
    if (name.substr(0, 4) == "rg10" || first3 == "rs7")
        return 1871;
    if (name.substr(0, 4) == "rg11" || first3 == "rs8")
        return 1881;
    if (name.substr(0, 4) == "rg12" || first3 == "rs9")
        return 1891;
    if (name.substr(0, 4) == "rg13" || first3 == "rs0")
        return 1901;
    return 0;
}

void check_success(const std::string& typed, const Outcome& o)
{
    const std::string where = "<" + fuzz::escaped(typed) + "> gave <" + fuzz::escaped(o.name) + "> year " +
                              std::to_string(o.run.year) + " sct " + std::to_string(o.run.sct) + " ipart " +
                              std::to_string(o.run.ipart);
    FUZZ_CHECK(o.listing.empty() && o.console.empty(), where);
    for (char c : o.name)
        FUZZ_CHECK((c >= 'a' && c <= 'z') || is_digit(c), where);
    bool sct = false;
    std::size_t stem_length = 0;
    const int year = year_of_stem(o.name, sct, stem_length);
    FUZZ_CHECK(year != 0, where);
    FUZZ_CHECK(o.run.year == year && o.run.sct == sct, where);
    FUZZ_CHECK(o.name.size() >= 8, where);
    // Letters only in the stem: at positions 0 to 2, and 3 for ho4a..ho5z.
    const bool letter_part = o.name[1] == 'o' && (o.name[2] == '4' || o.name[2] == '5');
    FUZZ_CHECK(all_digits(o.name.substr(letter_part ? 4 : 3)), where);
    FUZZ_CHECK(o.name.size() <= stem_length + 15, where);
    FUZZ_CHECK(o.run.ipart >= 0 && o.run.ipart <= 89, where);
    if (sct) {
        const int part = std::stoi(o.name.substr(3, 2));
        FUZZ_CHECK(part >= 10 && o.run.ipart == part - 10, where);
    } else if (letter_part) {
        const char letter = o.name[3];
        FUZZ_CHECK(letter == '1' || (letter >= 'a' && letter <= 'z'), where);
        FUZZ_CHECK(o.run.ipart == (letter == '1' ? 0 : letter - 'a' + 1), where);
    } else if (o.name[0] == 'r') {
        FUZZ_CHECK(o.run.ipart == 0, where);
    } else {
        FUZZ_CHECK(o.run.ipart <= 27, where);
    }
}

// The listing text is "<head>(<what>)<tail>", one of the known forms; returns
// the form's number, 0 for none.
int fatal_form(const std::string& text, const std::string& typed)
{
    struct Form {
        const char* head;
        const char* tail;
    };
    static const Form forms[] = {
        {"Fatal: Census year cannot be determined from file name (", ")\n"},
        {"Fatal: Part number in file name (", ") is not valid\n"},
        {"Fatal: Part number in file name (", ") is not numeric\n"},
        {"Fatal: Piece number in file name (", ") is not numeric\n"},
    };
    for (int i = 0; i < 4; ++i) {
        const std::string head = forms[i].head, tail = forms[i].tail;
        if (text.size() < head.size() + tail.size() || text.compare(0, head.size(), head) != 0 ||
            text.compare(text.size() - tail.size(), tail.size(), tail) != 0)
            continue;
        const std::string what = text.substr(head.size(), text.size() - head.size() - tail.size());
        if (i == 0 && what != typed)
            continue;
        if ((i == 1 || i == 2) && what.size() > 2)
            continue;
        return i + 1;
    }
    return 0;
}

int console_form(const std::string& text)
{
    static const char* forms[] = {
        "Fatal: Census year cannot be determined from file name\n",
        "Fatal: Part number in file name is not valid\n",
        "Fatal: Part number in file name is not numeric\n",
        "Fatal: Piece number in file name is not numeric\n",
    };
    for (int i = 0; i < 4; ++i)
        if (text == forms[i])
            return i + 1;
    return 0;
}

std::string swap_ascii_case(std::string s)
{
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string typed(reinterpret_cast<const char*>(data), size);
    const Outcome o = decode(typed);
    const std::string where = "<" + fuzz::escaped(typed) + "> status " + std::to_string(o.status);
    FUZZ_CHECK(o.status == 0 || o.status == exit_status::fatal, where);
    if (o.status == 0) {
        check_success(typed, o);
    } else {
        const int listed = fatal_form(o.listing, typed);
        FUZZ_CHECK(listed != 0, where + " listing <" + fuzz::escaped(o.listing) + ">");
        FUZZ_CHECK(console_form(o.console) == listed, where + " console <" + fuzz::escaped(o.console) + ">");
    }

    const Outcome swapped = decode(swap_ascii_case(typed));
    FUZZ_CHECK(swapped.status == o.status, where);
    if (o.status == 0)
        FUZZ_CHECK(swapped.name == o.name && swapped.run.year == o.run.year && swapped.run.sct == o.run.sct &&
                       swapped.run.ipart == o.run.ipart,
                   where + " swapped gave <" + fuzz::escaped(swapped.name) + ">");
    else
        FUZZ_CHECK(console_form(swapped.console) == console_form(o.console), where);
    return 0;
}
