// The one message log that the interpreter and the execution core write to.
//
// Logging does nothing until a sink is set. The viewer sets one that appends to its
// memo, the command-line tool one that writes to standard error, tests a recorder.
// Each line is the time of day ("hh:mm:ss"), one blank, and the message.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace cuttrace {

class DiagnosticLog {
  public:
    using Sink = std::function<void(std::string_view line)>;

    // Installs the sink (an empty function removes it) and returns the previous one.
    static Sink SetSink(Sink sink);
    static bool HasSink();

    static void Log(std::string_view message);
    static void LogText(std::string_view message, std::string_view text);  // message + text
    static void LogNumber(std::string_view message, double value);         // "%s%lf"
    static void LogChar(std::string_view message, char c);                 // "%s%c"
    static void LogInt(std::string_view message, long long value);         // "%s%d"

    // Replaces the time stamp (tests); an empty function restores the clock.
    static void SetClock(std::function<std::string()> clock);
};

// Installs a sink for the lifetime of the object and restores the previous one after.
class ScopedLogSink {
  public:
    explicit ScopedLogSink(DiagnosticLog::Sink sink)
        : previous_(DiagnosticLog::SetSink(std::move(sink))) {}
    ~ScopedLogSink() { DiagnosticLog::SetSink(std::move(previous_)); }
    ScopedLogSink(const ScopedLogSink&) = delete;
    ScopedLogSink& operator=(const ScopedLogSink&) = delete;

  private:
    DiagnosticLog::Sink previous_;
};

}  // namespace cuttrace
