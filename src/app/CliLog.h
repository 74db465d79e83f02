// cuttrace-cli's log: copies the diagnostic log to standard error when asked to.
#pragma once

#include <cstdio>
#include <string>

#include "machines/DiagnosticLog.h"

namespace cuttrace::app {

// Copies the log to standard error when asked to (errors with their file and line), and
// keeps the place of the last error for the closing report.
class CliLog {
  public:
    explicit CliLog(bool echo)
        : echo_(echo), sink_([this](const LogEntry& entry) { Take(entry); }) {}

    // "FILE at line N" of the last error logged during the run; empty when there was none.
    const std::string& LastErrorPlace() const { return lastErrorPlace_; }

  private:
    void Take(const LogEntry& entry) {
        std::string place;
        if (entry.severity != Severity::Info && entry.HasPlace()) {
            const LogPlace where = entry.Place();
            place = where.file;
            if (where.line > 0) place += ":" + std::to_string(where.line);
            if (entry.severity == Severity::Error) {
                lastErrorPlace_ = where.file;
                if (where.line > 0) lastErrorPlace_ += " at line " + std::to_string(where.line);
            }
        }
        if (!echo_) return;
        std::string line(entry.text.substr(0, entry.text.size() - entry.message.size()));
        if (!place.empty()) line += place + ": ";
        line += entry.message;
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stderr);
    }

    bool echo_;
    std::string lastErrorPlace_;
    ScopedLogSink sink_;
};

}  // namespace cuttrace::app
