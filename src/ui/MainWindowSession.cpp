// The main window's remembered state: recent files, geometry, splitters, layout and views.
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSlider>
#include <QSplitter>

#include "ui/MainWindow.h"

#include <cstdio>

#include "machines/DiagnosticLog.h"
#include "ui/PictureFileActions.h"
#include "ui/RunController.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"
#include "ui/ViewArea.h"
#include "ui/ViewLayout.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

namespace {

QSlider* ScaleSlider(const ViewPane& view) {
    return view.findChild<QSlider*>(QStringLiteral("scaleSlider"));
}

}  // namespace

void MainWindow::RememberFile(const QString& path) {
    recent_ = WithRecentFile(recent_, QFileInfo(path).absoluteFilePath());
}

void MainWindow::OpenRecentFile(const QString& path) {
    if (path.endsWith(QLatin1String(".ncv"), Qt::CaseInsensitive)) {
        if (pictureFiles_->LoadPictureFile(path)) RememberFile(path);
        return;
    }
    OpenProgram(path);
}

void MainWindow::FillRecentMenu() {
    recentMenu_->clear();
    for (const QString& path : recent_) {
        QAction* entry = recentMenu_->addAction(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    }
    if (recent_.isEmpty()) recentMenu_->addAction(Tr(kNoRecentFiles))->setEnabled(false);
}

SessionState MainWindow::Session() const {
    SessionState state;
    state.recentFiles = recent_;
    state.geometry = saveGeometry();
    for (const QSplitter* splitter : findChildren<QSplitter*>()) {
        if (!splitter->objectName().isEmpty())
            state.splitters[splitter->objectName()] = splitter->saveState();
    }
    state.layout = LayoutNumber();
    for (const ViewPane* view : viewArea_->Views()) {
        const QSlider* scale = ScaleSlider(*view);
        state.views.push_back({view->PresetRotation(), scale ? scale->value() : 0});
    }
    return state;
}

void MainWindow::RestoreSession(const SessionState& state) {
    recent_ = state.recentFiles;
    if (state.layout >= 0 && state.layout < ViewLayout::kLayouts)
        viewArea_->Layout().Apply(state.layout);
    if (state.views.size() == viewArea_->Views().size()) {
        for (std::size_t i = 0; i < state.views.size(); ++i) {
            ViewPane* view = viewArea_->Views()[i];
            view->SetPresetRotation(state.views[i].rotation);
            if (QSlider* scale = ScaleSlider(*view)) scale->setValue(state.views[i].scale);
        }
    }
    for (QSplitter* splitter : findChildren<QSplitter*>()) {
        const auto stored = state.splitters.find(splitter->objectName());
        if (stored != state.splitters.end()) splitter->restoreState(stored->second);
    }
    if (!state.geometry.isEmpty()) restoreGeometry(state.geometry);
}

void MainWindow::LoadVariableMemory(const QString& path) {
    QString error;
    if (!run_->Memory().Load(path, error)) {
        DiagnosticLog::LogText("kept variables not read: ", error.toStdString(), Severity::Warning);
        return;
    }
    if (runner_.Machine()) run_->Memory().ApplyTo(*runner_.Machine());
}

bool MainWindow::SaveVariableMemory(const QString& path) {
    if (runner_.Machine()) run_->Memory().Capture(*runner_.Machine());
    // Nothing kept and no file yet: no file is made.
    if (run_->Memory().Values().empty() && !QFileInfo::exists(path)) return true;
    QString error;
    if (run_->Memory().Save(path, error)) return true;
    std::fprintf(stderr, "cuttrace: the kept variables were not written: %s\n", qPrintable(error));
    return false;
}

}  // namespace cuttrace::ui
