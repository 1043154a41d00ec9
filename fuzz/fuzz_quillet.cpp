// The parameters-file editor, in-process, on an arbitrary file with an
// arbitrary script of replies.
//
// Input: byte 0 picks the mode (bit 0: listing mode -a), bytes 1-2 the length
// of the parameters file (little-endian, cut to what is there), then the file,
// then the replies. The replies are walked through the dialogue by a small
// model of it, which gives for every confirmed reply the bytes it may change
// and what they must then hold. Properties:
//   - the file never changes length; the status is 0, or 16 without a whole
//     header record;
//   - no byte changes outside the fields the replies confirmed: the header
//     (bytes 0-3 and 8-63) after an accepted id or a name, bytes 38-49 of a
//     chosen piece after an accepted count (a number of at most six digits),
//     bytes 34-60 of one of its parishes after a "Y"; bytes 4-7 of the
//     header never;
//   - the confirmed fields hold what the model says: the id in capitals and
//     the name blank-filled, six-digit counts, "*", the id and one date of the
//     form 06Dec2026 for a set stamp, 27 NULs for a cleared one;
//   - listing mode changes nothing at all.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t rec = 64;
std::string scratch_dir;

void make_scratch_dir()
{
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/merrowby-quillet-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    FUZZ_CHECK(mkdtemp(buf.data()) != nullptr, pattern);
    scratch_dir = buf.data();
}

void remove_scratch_dir() { rmdir(scratch_dir.c_str()); }

// The replies as the editor reads them: whole lines, a CR before the LF
// dropped, each ending at a NUL; after the last one, empty replies for ever.
class Replies {
public:
    explicit Replies(std::string_view script) : script_(script) {}
    std::string next()
    {
        if (at_ >= script_.size())
            return "";
        std::size_t lf = script_.find('\n', at_);
        if (lf == std::string_view::npos)
            lf = script_.size();
        std::string line(script_.substr(at_, lf - at_));
        at_ = lf + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t nul = line.find('\0');
        if (nul != std::string::npos)
            line.resize(nul);
        return line;
    }

private:
    std::string_view script_;
    std::size_t at_ = 0;
};

// A text field: its bytes, ending early at a NUL.
std::string field_text(const std::string& file, std::size_t at, std::size_t width)
{
    std::string s = file.substr(at, width);
    const std::size_t nul = s.find('\0');
    if (nul != std::string::npos)
        s.resize(nul);
    return s;
}

// The standard decimal conversion, saturating: leading white space, a sign, digits.
long long leading_value(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = value > 100000000000LL ? value : value * 10 + (s[i] - '0');
    return negative ? -value : value;
}

// A count reply the editor takes: white space, an optional sign, digits,
// white space.
bool count_reply(std::string_view s)
{
    const auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::size_t i = 0;
    while (i < s.size() && space(s[i]))
        ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t digits = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i;
    if (i == digits)
        return false;
    while (i < s.size() && space(s[i]))
        ++i;
    return i == s.size();
}

std::string six_digits(long long value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06lld", value);
    return buf;
}

struct Expected {
    std::string file;            // the model's file, dates aside
    std::vector<bool> allowed;   // bytes a confirmed reply may have changed
    std::vector<bool> date;      // bytes that hold today's date
};

void allow(Expected& e, std::size_t from, std::size_t count)
{
    for (std::size_t i = from; i < from + count; ++i)
        e.allowed[i] = true;
}

// Walks the dialogue as the replies drive it.
Expected model_edit(const std::string& original, std::string_view script)
{
    Expected e{original, std::vector<bool>(original.size()), std::vector<bool>(original.size())};
    std::string& f = e.file;
    const std::size_t records = original.size() / rec;
    Replies replies(script);

    std::string id = field_text(f, 0, 4);
    std::string name = field_text(f, 8, 56);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    bool changed = false;
    if (const std::string reply = replies.next(); !reply.empty() && reply.size() <= 4) {
        id = reply;
        for (char& c : id)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        changed = true;
    }
    if (const std::string reply = replies.next(); !reply.empty()) {
        name = reply.substr(0, 56);
        changed = true;
    }
    if (changed) {
        std::string header(rec, ' ');
        header.replace(0, id.size(), id);
        header.replace(4, 4, f, 4, 4);
        header.replace(8, name.size(), name);
        f.replace(0, rec, header);
        allow(e, 0, 4);
        allow(e, 8, 56);
    }
    std::string stamp_id = id;
    stamp_id.resize(4, ' ');

    for (;;) {
        const std::string number = replies.next();
        if (number.empty())
            break;
        std::size_t i = 1;
        while (i < records && field_text(f, i * rec, 4) != number)
            ++i;
        if (i >= records)
            continue;  // not found
        // Counts.
        struct Count {
            long long value;
            std::string held;
        } counts[2];
        for (int k = 0; k < 2; ++k) {
            counts[k].held = f.substr(i * rec + 38 + 6 * k, 6);
            counts[k].value = leading_value(field_text(f, i * rec + 38 + 6 * k, 6));
        }
        bool counts_changed = false;
        for (auto& count : counts) {
            const std::string reply = replies.next();
            if (reply.empty())
                continue;
            if (!count_reply(reply))
                continue;  // refused: not a number
            const long long value = leading_value(reply);
            if (value < 0 || value > 999999)
                continue;  // refused
            count.value = value;
            counts_changed = true;
        }
        if (counts_changed) {
            std::string text;
            for (const auto& count : counts)
                text += count.value >= 0 && count.value <= 999999 ? six_digits(count.value) : count.held;
            f.replace(i * rec + 38, 12, text);
            allow(e, i * rec + 38, 12);
        }
        // The piece's civil parishes.
        for (std::size_t j = i + 1; j < records && field_text(f, j * rec, 4) == number; ++j) {
            const std::string reply = replies.next();
            if (reply != "Y" && reply != "y")
                continue;
            const std::size_t at = j * rec + 34;
            allow(e, at, 27);
            if (f[at] == '*' || f[at] == 'C') {
                f.replace(at, 27, std::string(27, '\0'));
                for (std::size_t k = at + 5; k < at + 14; ++k)
                    e.date[k] = false;
            } else {
                f[at] = '*';
                f.replace(at + 1, 4, stamp_id);
                for (std::size_t k = at + 5; k < at + 14; ++k)
                    e.date[k] = true;
            }
        }
    }
    return e;
}

bool is_date(std::string_view d)
{
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (d.size() != 9)
        return false;
    for (std::size_t k : {0u, 1u, 5u, 6u, 7u, 8u})
        if (d[k] < '0' || d[k] > '9')
            return false;
    for (const char* m : months)
        if (d.substr(2, 3) == m)
            return true;
    return false;
}

std::string differences(const std::string& before, const std::string& after, const Expected* e)
{
    std::string out;
    int shown = 0;
    for (std::size_t k = 0; k < before.size() && k < after.size() && shown < 12; ++k) {
        const bool differs = e ? (!e->date[k] && after[k] != e->file[k]) : after[k] != before[k];
        if (differs) {
            out += "\n  record " + std::to_string(k / rec) + " byte " + std::to_string(k % rec) + ": was " +
                   fuzz::escaped(before.substr(k, 1)) + " now " + fuzz::escaped(after.substr(k, 1));
            if (e)
                out += " expected " + fuzz::escaped(e->file.substr(k, 1));
            ++shown;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    make_scratch_dir();
    std::atexit(remove_scratch_dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const bool listing_mode = (data[0] & 1) != 0;
    std::size_t length = data[1] | (std::size_t{data[2]} << 8);
    const std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    if (length > rest.size())
        length = rest.size();
    const std::string original(rest.substr(0, length));
    const std::string_view script = rest.substr(length);

    const std::string path = scratch_dir + "/params.dat";
    const std::string listing_path = scratch_dir + "/params.lst";
    FUZZ_CHECK(fuzz::write_file(path, original), path);

    std::vector<std::string> args = {"quillet"};
    if (listing_mode)
        args.push_back("-a");
    args.push_back(path);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::FILE* replies = fuzz::open_bytes(script);
    FUZZ_CHECK(replies != nullptr, "open_bytes");
    quillet::Replies typed{replies};
    int status;
    std::string console_text;
    {
        fuzz::StderrCapture capture;  // the editor's console is the standard error stream
        status = quillet::run(static_cast<int>(argv.size()) - 1, argv.data(), typed);
        console_text = capture.text();
    }
    std::fclose(replies);

    bool exists = false;
    const std::string after = fuzz::read_file(path, exists);
    const std::string where = std::string(listing_mode ? "listing" : "edit") + " mode, status " +
                              std::to_string(status) + ", file of " + std::to_string(original.size()) +
                              " bytes, replies <" + fuzz::escaped(script, 400) + ">";
    FUZZ_CHECK(exists, "the parameters file is gone: " + where);
    FUZZ_CHECK(after.size() == original.size(),
               "the file is now " + std::to_string(after.size()) + " bytes: " + where);
    if (original.size() < rec)
        FUZZ_CHECK(status == 16, where);
    else
        FUZZ_CHECK(status == 0, where + "\nconsole tail <" + fuzz::escaped(console_text, 300) + ">");

    if (listing_mode || status != 0) {
        FUZZ_CHECK(after == original, "changed without a confirmed reply: " + where +
                                          differences(original, after, nullptr));
    } else {
        const Expected e = model_edit(original, script);
        if (std::getenv("FUZZ_SHOW")) {
            // For looking at single inputs: fuzz_quillet file... with FUZZ_SHOW=1.
            std::size_t changed = 0, allowed = 0;
            for (std::size_t k = 0; k < after.size(); ++k) {
                changed += after[k] != original[k];
                allowed += e.allowed[k];
            }
            const std::string shown = "status " + std::to_string(status) + ", " + std::to_string(changed) +
                                      " bytes changed, " + std::to_string(allowed) + " allowed\n";
            std::fwrite(shown.data(), 1, shown.size(), stderr);
        }
        for (std::size_t k = 0; k < after.size(); ++k)
            if (after[k] != original[k])
                FUZZ_CHECK(e.allowed[k], "changed outside the confirmed fields: " + where +
                                             differences(original, after, nullptr));
        std::string date, first_date;
        for (std::size_t k = 0; k < after.size(); ++k) {
            if (!e.date[k])
                continue;
            date += after[k];
            if (date.size() == 9) {
                FUZZ_CHECK(is_date(date), "stamp date <" + fuzz::escaped(date) + ">: " + where);
                if (first_date.empty())
                    first_date = date;
                FUZZ_CHECK(date == first_date, "two dates in one run: " + where);
                date.clear();
            }
        }
        for (std::size_t k = 0; k < after.size(); ++k)
            if (!e.date[k] && after[k] != e.file[k])
                FUZZ_CHECK(false, "a confirmed field holds the wrong bytes: " + where +
                                      differences(original, after, &e));
    }
    std::remove(path.c_str());
    std::remove(listing_path.c_str());
    return 0;
}
