// What the viewer remembers between sessions, beside the settings: the programs and picture
// files opened last, the window's geometry, the splitters, the view layout and each view's
// rotation and scale. Stored through QSettings (organisation "Kv", application "Nc") in the
// group "session", apart from the settings group whose values other tools read.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

#include "core/Point3.h"

class QSettings;

namespace cuttrace::ui {

struct ViewState {
    Point3 rotation;  // degrees about X, Y, Z
    int scale = 0;    // the scale slider's value
};

struct SessionState {
    static constexpr int kMaxRecent = 10;

    QStringList recentFiles;                  // most recent first
    QByteArray geometry;                      // QWidget::saveGeometry
    std::map<QString, QByteArray> splitters;  // QSplitter::saveState by object name
    int layout = -1;                          // -1: none stored
    std::vector<ViewState> views;
};

// The list with path in front, once, cut to kMaxRecent entries.
QStringList WithRecentFile(QStringList files, const QString& path);

class SessionStore {
  public:
    static constexpr char kGroup[] = "session";

    SessionStore();                              // the user's own
    explicit SessionStore(QSettings& settings);  // tests: it must outlive the store
    ~SessionStore();
    SessionStore(const SessionStore&) = delete;
    SessionStore& operator=(const SessionStore&) = delete;

    // Values that are missing or malformed are left out.
    SessionState Read() const;
    // False when the values could not be saved.
    bool Write(const SessionState& state);

  private:
    std::unique_ptr<QSettings> owned_;
    QSettings* settings_;
};

}  // namespace cuttrace::ui
