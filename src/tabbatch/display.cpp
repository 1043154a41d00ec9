#include "display.h"

#include "text.h"

namespace tabbatch {

std::string printable(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string shown_path(const std::filesystem::path& path, const std::filesystem::path& root)
{
    std::filesystem::path relative = path.lexically_relative(root);
    if (relative.empty())
        relative = path.filename();
    if (relative.empty() || relative == ".")
        return printable(root);
    return printable(relative.make_preferred());
}

namespace {

std::string escaped(unsigned char code)
{
    switch (code) {
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        return "\\x" + text::hex_byte(code, text::HexCase::lower);
    }
}

}  // namespace

std::string one_line(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7f) {
            out += escaped(byte);
        } else if (byte == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9f) {
            // U+0080 to U+009F: C2 followed by the code itself.
            out += escaped(static_cast<unsigned char>(text[++i]));
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace tabbatch
