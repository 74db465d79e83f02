#include "app/JsonLine.h"

#include <charconv>
#include <cmath>

namespace cuttrace::app {

namespace {

// The length of the UTF-8 sequence at the start of s, or 0 when it is not one.
std::size_t Utf8Length(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    uint32_t least = 0;
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    uint32_t code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    return length;
}

}  // namespace

void JsonLine::AppendString(std::string& out, std::string_view value) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    while (!value.empty()) {
        const std::size_t length = Utf8Length(value);
        const char c = value[0];
        if (length == 0) {
            out += "\\ufffd";
            value.remove_prefix(1);
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out.append(value.substr(0, length));
        }
        value.remove_prefix(length);
    }
    out += '"';
}

void JsonLine::AppendNumber(std::string& out, double value, int decimals) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    if (value == 0.0) value = 0.0;  // no "-0.000"
    char buffer[64];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        out += "null";
        return;
    }
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    // A value that rounds to zero is written without its sign.
    if (text.find_first_not_of("-0.") == std::string_view::npos && text[0] == '-')
        text.remove_prefix(1);
    out.append(text);
}

void JsonLine::Name(std::string_view name) {
    if (text_.size() > 1) text_ += ',';
    AppendString(text_, name);
    text_ += ':';
}

JsonLine& JsonLine::Text(std::string_view name, std::string_view value) {
    Name(name);
    AppendString(text_, value);
    return *this;
}

JsonLine& JsonLine::Integer(std::string_view name, int64_t value) {
    Name(name);
    text_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::Number(std::string_view name, double value, int decimals) {
    Name(name);
    AppendNumber(text_, value, decimals);
    return *this;
}

JsonLine& JsonLine::Null(std::string_view name) {
    Name(name);
    text_ += "null";
    return *this;
}

JsonLine& JsonLine::Raw(std::string_view name, std::string_view json) {
    Name(name);
    text_.append(json);
    return *this;
}

}  // namespace cuttrace::app
