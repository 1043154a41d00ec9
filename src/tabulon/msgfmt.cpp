#include "msgfmt.h"

#include <cassert>
#include <stdexcept>

namespace msgfmt_detail {

std::string format(const char* format, std::initializer_list<Arg> args)
{
    std::string out;
    auto next = args.begin();
    auto take = [&]() -> const Arg& {
        if (next == args.end())
            throw std::logic_error(std::string("message format lacks an argument: ") + format);
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
        case 'd': {
            const Arg& a = take();
            out += std::to_string(a.integer);
            break;
        }
        case 's':
            out += take().text;
            break;
        case 'c':
            out += take().byte;
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
