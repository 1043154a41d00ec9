// Test support: is a report page well-formed? Checks that the text is UTF-8
// without stray control bytes, that every '<' starts one of the page's own
// tags and every '&' one of the escapes it uses, that elements nest (td, th
// and tr may be left open, as the page leaves them), and that the only script
// and style are the page's own, beside its data: JSON in script elements of
// type application/json, holding no '<'. Returns "" or what is wrong and where.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "page_assets.h"

namespace tabreport::check {

inline bool valid_utf8(std::string_view s, std::size_t& bad)
{
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size() || (n == 2 && c < 0xC2)) {
            bad = i;
            return false;
        }
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) {
                bad = i;
                return false;
            }
        if (c < 0x20 && c != '\n' && c != '\t') {
            bad = i;
            return false;
        }
        i += n;
    }
    return true;
}

inline bool entity_at(std::string_view s, std::size_t at)
{
    for (std::string_view e : {"&lt;", "&gt;", "&amp;", "&quot;", "&#39;"})
        if (s.substr(at, e.size()) == e)
            return true;
    return false;
}

inline std::string where(std::string_view s, std::size_t at)
{
    return " at byte " + std::to_string(at) + ": ..." + std::string(s.substr(at < 40 ? 0 : at - 40, 80)) + "...";
}

inline bool implied_end(std::string_view name)
{
    return name == "td" || name == "th" || name == "tr" || name == "dt" || name == "dd";
}

inline bool void_element(std::string_view name)
{
    return name == "meta" || name == "br" || name == "input";
}

// A JSON value from at, skipping blanks; false when there is none. Strings
// hold no raw control characters and only JSON's escapes.
inline bool json_value(std::string_view s, std::size_t& at, int depth = 0)
{
    auto blanks = [&] {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\n' || s[at] == '\t' || s[at] == '\r'))
            ++at;
    };
    blanks();
    if (at >= s.size() || depth > 64)
        return false;
    const char c = s[at];
    if (c == '"') {
        for (++at; at < s.size() && s[at] != '"'; ++at) {
            if (static_cast<unsigned char>(s[at]) < 0x20)
                return false;
            if (s[at] != '\\')
                continue;
            ++at;
            if (at >= s.size() || std::string_view("\"\\/bfnrtu").find(s[at]) == std::string_view::npos)
                return false;
            if (s[at] == 'u') {
                for (int k = 0; k < 4; ++k)
                    if (++at >= s.size() || std::string_view("0123456789abcdefABCDEF").find(s[at]) == std::string_view::npos)
                        return false;
            }
        }
        return at++ < s.size();
    }
    if (c == '[' || c == '{') {
        const char close = c == '[' ? ']' : '}';
        ++at;
        blanks();
        if (at < s.size() && s[at] == close)
            return ++at, true;
        for (;;) {
            if (c == '{') {
                blanks();
                if (at >= s.size() || s[at] != '"' || !json_value(s, at, depth + 1))
                    return false;
                blanks();
                if (at >= s.size() || s[at++] != ':')
                    return false;
            }
            if (!json_value(s, at, depth + 1))
                return false;
            blanks();
            if (at < s.size() && s[at] == ',') {
                ++at;
                continue;
            }
            return at < s.size() && s[at++] == close;
        }
    }
    const std::size_t from = at;
    while (at < s.size() && std::string_view("-+.eE0123456789truefalsn").find(s[at]) != std::string_view::npos)
        ++at;
    const std::string_view word = s.substr(from, at - from);
    return word == "true" || word == "false" || word == "null" ||
           (!word.empty() && word.find_first_not_of("-0123456789") == std::string_view::npos);
}

inline bool json_whole(std::string_view s)
{
    std::size_t at = 0;
    if (!json_value(s, at))
        return false;
    while (at < s.size() && (s[at] == ' ' || s[at] == '\n'))
        ++at;
    return at == s.size();
}

inline std::string well_formed(std::string_view page)
{
    std::size_t bad = 0;
    if (!valid_utf8(page, bad))
        return "not UTF-8 or a control byte" + where(page, bad);
    if (!page.starts_with("<!DOCTYPE html>\n"))
        return "no doctype";
    std::vector<std::string> open;
    int scripts = 0, styles = 0;
    for (std::size_t i = 16; i < page.size();) {
        const char c = page[i];
        if (c == '&') {
            if (!entity_at(page, i))
                return "a bare &" + where(page, i);
            ++i;
            continue;
        }
        if (c == '>' || c == '"')
            return std::string("a bare ") + c + where(page, i);
        if (c != '<') {
            ++i;
            continue;
        }
        const bool closing = i + 1 < page.size() && page[i + 1] == '/';
        std::size_t p = i + (closing ? 2 : 1);
        const std::size_t name_start = p;
        while (p < page.size() && ((page[p] >= 'a' && page[p] <= 'z') || (page[p] >= '0' && page[p] <= '9')))
            ++p;
        const std::string name(page.substr(name_start, p - name_start));
        if (name.empty())
            return "a '<' that starts no tag" + where(page, i);
        // Attributes: name="value", the value free of '<' and '"', its '&' escapes.
        while (p < page.size() && page[p] != '>') {
            if (page[p] == '"') {
                const std::size_t end = page.find('"', p + 1);
                if (end == std::string_view::npos)
                    return "an open attribute" + where(page, p);
                for (std::size_t k = p + 1; k < end; ++k)
                    if (page[k] == '<' || (page[k] == '&' && !entity_at(page, k)))
                        return "markup in an attribute" + where(page, k);
                p = end + 1;
            } else if (page[p] == '<' || page[p] == '&') {
                return "markup inside a tag" + where(page, p);
            } else {
                ++p;
            }
        }
        if (p >= page.size())
            return "an open tag" + where(page, i);
        i = p + 1;
        if (closing) {
            while (!open.empty() && open.back() != name && implied_end(open.back()))
                open.pop_back();
            if (open.empty() || open.back() != name)
                return "</" + name + "> closes " + (open.empty() ? "nothing" : "<" + open.back() + ">") + where(page, i);
            open.pop_back();
            continue;
        }
        if (name == "script" || name == "style") {
            const bool data = name == "script" &&
                              page.substr(name_start, i - name_start).find(" type=\"application/json\"") !=
                                  std::string_view::npos;
            const std::string end = "</" + name + ">";
            const std::size_t close = page.find(end, i);
            if (close == std::string_view::npos)
                return "an unclosed " + name;
            const std::string_view content = page.substr(i, close - i);
            if (data) {
                if (content.find('<') != std::string_view::npos || !json_whole(content))
                    return "data that is not JSON, or holds a '<'" + where(page, i);
                i = close + end.size();
                continue;
            }
            if (name == "script" && (++scripts > 1 || content != page_script))
                return "a script that is not the page's own" + where(page, i);
            if (name == "style" && (++styles > 2 || (!content.empty() && content != page_style)))
                return "a style that is not the page's own" + where(page, i);
            i = close + end.size();
            continue;
        }
        if (void_element(name))
            continue;
        if (name == "td" || name == "th")
            while (!open.empty() && (open.back() == "td" || open.back() == "th"))
                open.pop_back();
        if (name == "tr")
            while (!open.empty() && implied_end(open.back()))
                open.pop_back();
        if (name == "dt" || name == "dd")
            while (!open.empty() && (open.back() == "dt" || open.back() == "dd"))
                open.pop_back();
        open.push_back(name);
    }
    if (!open.empty())
        return "<" + open.back() + "> never closed";
    return scripts == 1 ? "" : "no script";
}

}  // namespace tabreport::check
