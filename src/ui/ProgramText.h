// Program lines are bytes. They are shown decoded as Shift-JIS when they are valid
// Shift-JIS, otherwise as Latin-1, so every byte shows as something.
#pragma once

#include <QString>
#include <string_view>

namespace cuttrace::ui {

// The line without its end-of-line characters, decoded for display.
QString DecodeProgramLine(std::string_view bytes);

// A log line: UTF-8 (the system's own messages) when valid, else as a program line
// (a message that quotes program text).
QString DecodeLogLine(std::string_view bytes);

// A file path in the local 8-bit encoding of file names, and back.
QString PathToQString(const std::string& path);
std::string PathFromQString(const QString& path);

}  // namespace cuttrace::ui
