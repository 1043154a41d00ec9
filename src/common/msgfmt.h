// A small printf-like formatter for message texts.
//
// Understands %d (any integer), %s (any text, written whole even when it holds
// NUL bytes), %c (one byte) and %%. The texts of the system's messages are
// written with these conversions only. A format is checked against its
// arguments when the program is compiled: a conversion without its argument,
// an argument of the wrong kind, a surplus argument or another conversion is a
// compile error, so no message can fail while a piece is being converted.
#pragma once

#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace msgfmt_detail {

enum class Kind { integer, text, byte };

struct Arg {
    Kind kind;
    long long integer = 0;
    std::string_view text;
    char byte = 0;
};

inline Arg make_arg(std::string_view s) { return {Kind::text, 0, s, 0}; }
inline Arg make_arg(const std::string& s) { return {Kind::text, 0, s, 0}; }
inline Arg make_arg(const char* s) { return {Kind::text, 0, s, 0}; }
inline Arg make_arg(char c) { return {Kind::byte, 0, {}, c}; }
template <std::integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, bool>)
Arg make_arg(T v) { return {Kind::integer, static_cast<long long>(v), {}, 0}; }

template <typename T>
inline constexpr bool is_byte = std::same_as<std::remove_cvref_t<T>, char>;
template <typename T>
inline constexpr bool is_integer =
    std::integral<std::remove_cvref_t<T>> && !is_byte<T> && !std::same_as<std::remove_cvref_t<T>, bool>;
template <typename T>
inline constexpr bool is_text = std::convertible_to<const std::remove_cvref_t<T>&, std::string_view>;

template <typename T>
consteval Kind kind_of()
{
    static_assert(is_byte<T> || is_integer<T> || is_text<T>, "a message argument is an integer, a char or a text");
    if constexpr (is_byte<T>)
        return Kind::byte;
    else if constexpr (is_integer<T>)
        return Kind::integer;
    else
        return Kind::text;
}

// Not constexpr: reaching it while a format is checked at compile time makes
// the check fail, and the compiler names this function and its caller.
inline void message_format_does_not_match_its_arguments() {}

template <typename... Args>
consteval void check_format(const char* format)
{
    constexpr Kind kinds[] = {kind_of<Args>()..., Kind::integer};  // one more: never empty
    std::size_t next = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        Kind wanted = Kind::integer;
        switch (*p) {
        case '%':
            continue;
        case 'd':
            wanted = Kind::integer;
            break;
        case 's':
            wanted = Kind::text;
            break;
        case 'c':
            wanted = Kind::byte;
            break;
        default:
            message_format_does_not_match_its_arguments();
            return;
        }
        if (next >= sizeof...(Args) || kinds[next] != wanted)
            message_format_does_not_match_its_arguments();
        ++next;
    }
    if (next != sizeof...(Args))
        message_format_does_not_match_its_arguments();
}

// A message format, checked against the argument types at compile time.
template <typename... Args>
struct Format {
    template <typename S>
        requires std::convertible_to<const S&, const char*>
    consteval Format(const S& text) : text(text)
    {
        check_format<Args...>(this->text);
    }
    const char* text;
};

// Formats with kinds already checked; throws std::logic_error on a mismatch,
// which only a format built at run time could meet.
std::string format(const char* format, std::initializer_list<Arg> args);

}  // namespace msgfmt_detail

template <typename... Args>
using format_string = msgfmt_detail::Format<std::type_identity_t<Args>...>;

template <typename... Args>
std::string msgfmt(format_string<Args...> format, const Args&... args)
{
    return msgfmt_detail::format(format.text, {msgfmt_detail::make_arg(args)...});
}
