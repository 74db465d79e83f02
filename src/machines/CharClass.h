// Character classes of the "C" locale, independent of the process locale and of the
// signedness of char. Program text is handled byte by byte.
#pragma once

namespace cuttrace {

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool IsAlpha(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool IsPrint(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u < 0x7f;
}

}  // namespace cuttrace
