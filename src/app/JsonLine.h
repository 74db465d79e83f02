// Builds one line of JSON: an object whose members are added in order. Text is written as
// UTF-8 with the characters JSON requires escaped; bytes that are not UTF-8 (a Shift-JIS
// file name) become U+FFFD, so every line parses. Numbers are written without the C locale;
// a number that is not finite is written as null.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cuttrace::app {

class JsonLine {
  public:
    JsonLine& Text(std::string_view name, std::string_view value);
    JsonLine& Integer(std::string_view name, int64_t value);
    // Fixed-point with the given number of decimals.
    JsonLine& Number(std::string_view name, double value, int decimals);
    JsonLine& Null(std::string_view name);
    // A member whose value is JSON text already (an array or object built by the caller).
    JsonLine& Raw(std::string_view name, std::string_view json);

    // The object, closed, with a line end.
    std::string Finish() const { return text_ + "}\n"; }

    static void AppendString(std::string& out, std::string_view value);
    static void AppendNumber(std::string& out, double value, int decimals);

  private:
    void Name(std::string_view name);
    std::string text_ = "{";
};

}  // namespace cuttrace::app
