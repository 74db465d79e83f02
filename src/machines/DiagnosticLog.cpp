#include "machines/DiagnosticLog.h"

#include <chrono>
#include <ctime>

#include "machines/NumberText.h"

namespace cuttrace {

namespace {

DiagnosticLog::Sink& CurrentSink() {
    static DiagnosticLog::Sink sink;
    return sink;
}

std::function<std::string()>& CurrentClock() {
    static std::function<std::string()> clock;
    return clock;
}

std::string TimeOfDay() {
    if (CurrentClock()) return CurrentClock()();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

}  // namespace

DiagnosticLog::Sink DiagnosticLog::SetSink(Sink sink) {
    Sink previous = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
    return previous;
}

bool DiagnosticLog::HasSink() {
    return static_cast<bool>(CurrentSink());
}

void DiagnosticLog::SetClock(std::function<std::string()> clock) {
    CurrentClock() = std::move(clock);
}

const LogPlaceSource*& DiagnosticLog::PlaceSource() {
    thread_local const LogPlaceSource* source = nullptr;
    return source;
}

void DiagnosticLog::Log(std::string_view message, Severity severity) {
    if (!CurrentSink()) return;
    std::string line = TimeOfDay();
    line += ' ';
    const std::size_t messageAt = line.size();
    line += message;
    LogEntry entry;
    entry.severity = severity;
    entry.source = PlaceSource();
    entry.message = std::string_view(line).substr(messageAt);
    entry.text = line;
    CurrentSink()(entry);
}

void DiagnosticLog::LogText(std::string_view message, std::string_view text, Severity severity) {
    if (!CurrentSink()) return;
    std::string m(message);
    m += text;
    Log(m, severity);
}

void DiagnosticLog::LogNumber(std::string_view message, double value) {
    if (!CurrentSink()) return;
    std::string m(message);
    AppendFixed(m, value, 6);
    Log(m);
}

void DiagnosticLog::LogChar(std::string_view message, char c) {
    if (!CurrentSink()) return;
    std::string m(message);
    m += c;
    Log(m);
}

void DiagnosticLog::LogInt(std::string_view message, long long value) {
    if (!CurrentSink()) return;
    std::string m(message);
    m += std::to_string(value);
    Log(m);
}

}  // namespace cuttrace
