#include "ui/SessionStore.h"

#include <QSettings>
#include <QVariant>

#include "ui/SettingsStore.h"

namespace cuttrace::ui {

namespace {

// A view as "x y z scale", numbers in the C locale.
QString ViewText(const ViewState& view) {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(view.rotation.x)
        .arg(view.rotation.y)
        .arg(view.rotation.z)
        .arg(view.scale);
}

bool ParseView(const QString& text, ViewState& view) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 4) return false;
    bool ok[4] = {};
    view.rotation = {parts[0].toDouble(&ok[0]), parts[1].toDouble(&ok[1]),
                     parts[2].toDouble(&ok[2])};
    view.scale = parts[3].toInt(&ok[3]);
    return ok[0] && ok[1] && ok[2] && ok[3];
}

}  // namespace

QStringList WithRecentFile(QStringList files, const QString& path) {
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > SessionState::kMaxRecent)
        files.removeLast();
    return files;
}

SessionStore::SessionStore()
    : owned_(std::make_unique<QSettings>(QString::fromLatin1(SettingsStore::kOrganisation),
                                         QString::fromLatin1(SettingsStore::kApplication))),
      settings_(owned_.get()) {}

SessionStore::SessionStore(QSettings& settings) : settings_(&settings) {}

SessionStore::~SessionStore() = default;

SessionState SessionStore::Read() const {
    SessionState state;
    settings_->beginGroup(QString::fromLatin1(kGroup));
    for (const QString& file : settings_->value(QStringLiteral("recentFiles")).toStringList()) {
        if (!file.isEmpty() && state.recentFiles.size() < SessionState::kMaxRecent &&
            !state.recentFiles.contains(file))
            state.recentFiles.append(file);
    }
    state.geometry = settings_->value(QStringLiteral("geometry")).toByteArray();
    bool ok = false;
    const int layout = settings_->value(QStringLiteral("layout")).toInt(&ok);
    if (ok && layout >= 0) state.layout = layout;
    for (const QString& text : settings_->value(QStringLiteral("views")).toStringList()) {
        ViewState view;
        if (!ParseView(text, view)) {
            state.views.clear();  // all or none: a view must not take another's place
            break;
        }
        state.views.push_back(view);
    }
    settings_->beginGroup(QStringLiteral("splitters"));
    for (const QString& name : settings_->childKeys())
        state.splitters[name] = settings_->value(name).toByteArray();
    settings_->endGroup();
    settings_->endGroup();
    return state;
}

bool SessionStore::Write(const SessionState& state) {
    settings_->beginGroup(QString::fromLatin1(kGroup));
    settings_->remove(QString());
    settings_->setValue(QStringLiteral("recentFiles"), state.recentFiles);
    settings_->setValue(QStringLiteral("geometry"), state.geometry);
    settings_->setValue(QStringLiteral("layout"), state.layout);
    QStringList views;
    for (const ViewState& view : state.views)
        views << ViewText(view);
    settings_->setValue(QStringLiteral("views"), views);
    for (const auto& [name, splitter] : state.splitters)
        settings_->setValue(QStringLiteral("splitters/") + name, splitter);
    settings_->endGroup();
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace cuttrace::ui
