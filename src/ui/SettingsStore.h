// Reads and writes the settings record through QSettings: organisation "Kv",
// application "Nc", group "setting", one value per field under the record's value names.
#pragma once

#include <memory>

class QSettings;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class SettingsStore {
  public:
    static constexpr char kOrganisation[] = "Kv";
    static constexpr char kApplication[] = "Nc";
    static constexpr char kGroup[] = "setting";

    // The user's own settings.
    SettingsStore();
    // Any settings object (tests use one on a temporary file); it must outlive the store.
    explicit SettingsStore(QSettings& settings);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Reads every value in order. A missing value takes its default; so does a malformed
    // one, without affecting the others. Returns how many present values were malformed.
    int Read(Settings& settings) const;

    // Writes every value in order and flushes; false when the settings could not be saved.
    bool Write(const Settings& settings);

  private:
    std::unique_ptr<QSettings> owned_;
    QSettings* settings_;
};

}  // namespace cuttrace::ui
