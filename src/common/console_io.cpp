#include "console_io.h"

namespace console_io {

bool read_line(std::FILE* in, std::string& line)
{
    line.clear();
    bool got_any = false;
    for (int c = std::getc(in); c != EOF; c = std::getc(in)) {
        got_any = true;
        if (c == '\n')
            break;
        line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return got_any;
}

}  // namespace console_io
