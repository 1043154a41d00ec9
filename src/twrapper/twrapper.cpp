#include "twrapper.h"

#include "console_io.h"

namespace twrapper {

int run(int argc, char** argv, std::FILE* in, std::FILE* out)
{
    if (argc > 1)
        return program::_main(argc, argv);

    print_to(out, "Enter command : ");
    std::fflush(out);
    std::string line;
    console_io::read_line(in, line);

    bool input_ended = false;
    auto continue_line = [&](std::string& more) {
        if (input_ended)
            return false;
        print_to(out, "Continue command line: \n");
        std::fflush(out);
        if (!console_io::read_line(in, more)) {
            input_ended = true;  // never ask again
            return false;
        }
        return true;
    };
    std::vector<std::string> words;
    words.push_back(argc == 1 && argv && argv[0] ? argv[0] : "");
    for (auto& word : cut_words(line, continue_line))
        words.push_back(std::move(word));

    std::vector<char*> table;
    table.reserve(words.size() + 1);
    for (auto& word : words)
        table.push_back(word.data());
    table.push_back(nullptr);

    print_to(out, "\nProgram Starting\n\n");
    std::fflush(out);
    const int status = program::_main(static_cast<int>(words.size()), table.data());
    std::fflush(stderr);
    print_to(out, "\nProgram Complete\n(hit return to exit)...");
    std::fflush(out);
    std::getc(in);
    return status;
}

}  // namespace twrapper
