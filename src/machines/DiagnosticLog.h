// The one message log that the interpreter and the execution core write to.
//
// Logging does nothing until a sink is set. The viewer sets one that appends to its
// log view, the command-line tool one that writes to standard error, tests a recorder.
// Each entry carries its severity and, while a program runs, the file and line it came
// from, next to the exact message text. Its text is the time of day ("hh:mm:ss"), one
// blank, and the message.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace cuttrace {

// Messages are errors unless they say otherwise: most of what the interpreter logs is a
// fault in the program.
enum class Severity : uint8_t { Info, Warning, Error };

// Where a message came from: the program file and its line (1 = the first line); an empty
// file when nothing runs, line 0 when no line of the file has been read yet.
struct LogPlace {
    std::string file;
    int64_t line = 0;
};

// Says where the run is; the execution core installs one while it steps (ScopedLogPlace).
class LogPlaceSource {
  public:
    virtual LogPlace CurrentPlace() const = 0;

  protected:
    ~LogPlaceSource() = default;
};

struct LogEntry {
    Severity severity = Severity::Error;
    std::string_view message;                // the exact message text
    std::string_view text;                   // time of day, blank, message
    const LogPlaceSource* source = nullptr;  // null outside a run

    bool HasPlace() const { return source != nullptr; }
    // Where the message came from; worked out only when a sink asks.
    LogPlace Place() const { return source ? source->CurrentPlace() : LogPlace{}; }

    operator std::string_view() const { return text; }  // sinks that only show the text
};

class DiagnosticLog {
  public:
    using Sink = std::function<void(const LogEntry& entry)>;

    // Installs the sink (an empty function removes it) and returns the previous one.
    static Sink SetSink(Sink sink);
    static bool HasSink();

    static void Log(std::string_view message, Severity severity = Severity::Error);
    // message + text
    static void LogText(std::string_view message, std::string_view text,
                        Severity severity = Severity::Error);
    static void LogNumber(std::string_view message, double value);  // "%s%lf"
    static void LogChar(std::string_view message, char c);          // "%s%c"
    static void LogInt(std::string_view message, long long value);  // "%s%d"

    // Replaces the time stamp (tests); an empty function restores the clock.
    static void SetClock(std::function<std::string()> clock);

  private:
    friend class ScopedLogPlace;
    static const LogPlaceSource*& PlaceSource();
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

// Messages logged on this thread while the object lives come from source's place.
class ScopedLogPlace {
  public:
    explicit ScopedLogPlace(const LogPlaceSource& source)
        : previous_(DiagnosticLog::PlaceSource()) {
        DiagnosticLog::PlaceSource() = &source;
    }
    ~ScopedLogPlace() { DiagnosticLog::PlaceSource() = previous_; }
    ScopedLogPlace(const ScopedLogPlace&) = delete;
    ScopedLogPlace& operator=(const ScopedLogPlace&) = delete;

  private:
    const LogPlaceSource* previous_;
};

}  // namespace cuttrace
