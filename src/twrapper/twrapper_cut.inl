// Word cutting of the launcher (see twrapper.h).
#pragma once

namespace twrapper {

template <typename ContinueLine>
std::vector<std::string> cut_words(std::string line, ContinueLine continue_line)
{
    std::vector<std::string> words;
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= line.size())
            return words;

        const char first = line[pos];
        if (first == '\\' && pos + 1 == line.size()) {
            // The continuation line is read over the backslash.
            line.resize(pos);
            std::string more;
            if (!continue_line(more))
                return words;
            line += more;
            continue;
        }

        std::size_t start = pos;
        std::size_t end = pos;
        if (first == '\'' || first == '"') {
            start = pos + 1;
            end = line.find(first, start);
        } else {
            end = line.find_first_of(" \t", start);
        }
        if (end == std::string::npos)
            end = line.size();
        words.push_back(line.substr(start, end - start));
        pos = end < line.size() ? end + 1 : end;
    }
}

}  // namespace twrapper
