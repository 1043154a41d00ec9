// A small printf-like formatter for message texts.
//
// Understands %d (any integer), %s (any text, written whole even when it holds
// NUL bytes), %c (one byte) and %%. The texts of the system's messages are
// written with these conversions only.
#pragma once

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>

namespace msgfmt_detail {

struct Arg {
    enum class Kind { integer, text, byte } kind;
    long long integer = 0;
    std::string_view text;
    char byte = 0;
};

inline Arg make_arg(std::string_view s) { return {Arg::Kind::text, 0, s, 0}; }
inline Arg make_arg(const std::string& s) { return {Arg::Kind::text, 0, s, 0}; }
inline Arg make_arg(const char* s) { return {Arg::Kind::text, 0, s, 0}; }
inline Arg make_arg(char c) { return {Arg::Kind::byte, 0, {}, c}; }
template <std::integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, bool>)
Arg make_arg(T v) { return {Arg::Kind::integer, static_cast<long long>(v), {}, 0}; }

std::string format(const char* format, std::initializer_list<Arg> args);

}  // namespace msgfmt_detail

template <typename... Args>
std::string msgfmt(const char* format, const Args&... args)
{
    return msgfmt_detail::format(format, {msgfmt_detail::make_arg(args)...});
}
