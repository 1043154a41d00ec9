#include "charclass.h"

namespace charclass {

bool alphabetic(std::string_view text)
{
    const char* const end = text.data() + text.size();
    for (const char* p = text.data(); p != end; ++p) {
        if (!tables.name_char[static_cast<unsigned char>(*p)])
            return false;
    }
    return true;
}

}  // namespace charclass
