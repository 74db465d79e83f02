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

    // The file and line (0: none) of the last error logged during the run; the file is
    // empty when there was none.
    const std::string& LastErrorFile() const { return lastErrorFile_; }
    long long LastErrorLine() const { return lastErrorLine_; }

  private:
    void Take(const LogEntry& entry) {
        std::string place;
        if (entry.severity != Severity::Info && entry.HasPlace()) {
            const LogPlace where = entry.Place();
            place = where.file;
            if (where.line > 0) place += ":" + std::to_string(where.line);
            if (entry.severity == Severity::Error) {
                lastErrorFile_ = where.file;
                lastErrorLine_ = where.line;
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
    std::string lastErrorFile_;
    long long lastErrorLine_ = 0;
    ScopedLogSink sink_;
};

}  // namespace cuttrace::app
