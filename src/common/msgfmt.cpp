#include "msgfmt.h"

#include <stdexcept>

namespace msgfmt_detail {

std::string format(const char* format, std::initializer_list<Arg> args)
{
    std::string out;
    auto next = args.begin();
    // A conversion given the wrong kind of argument is a fault in the program's
    // own message table, found by the tests that write each message.
    auto take = [&](Kind kind) -> const Arg& {
        if (next == args.end())
            throw std::logic_error(std::string("message format lacks an argument: ") + format);
        if (next->kind != kind)
            throw std::logic_error(std::string("message argument of the wrong kind: ") + format);
        return *next++;
    };
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        switch (*p) {
        case '%':
            out += '%';
            break;
        case 'd':
            out += std::to_string(take(Kind::integer).integer);
            break;
        case 's':
            out += take(Kind::text).text;
            break;
        case 'c':
            out += take(Kind::byte).byte;
            break;
        default:
            throw std::logic_error(std::string("unsupported conversion in message format: ") + format);
        }
    }
    if (next != args.end())
        throw std::logic_error(std::string("message format has too many arguments: ") + format);
    return out;
}

}  // namespace msgfmt_detail
