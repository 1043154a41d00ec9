#include "console_io.h"

#include "platform.h"

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

bool write(std::FILE* stream, std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

void write_with_reason(std::string_view text, int reason)
{
    write(stderr, text);
    platform::report_system_error("Fatal", reason);
}

}  // namespace console_io
