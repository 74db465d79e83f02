// The viewer `cuttrace`: the start-up window, then the main window; the command line is
// processed when the start-up window closes. The settings are read before any window
// exists and written back when the program ends normally.
//
//   cuttrace [PROGRAM [OPTIONS...]] [--layout N] [--grab FILE] | --help | --version
//
// --layout N starts with view layout N (0 one view, 1 and 2 two views, 3 four views).
// --grab FILE saves a picture of the window to FILE when the run started from the command
// line ends, and quits instead of showing the end message (for screenshots and smoke tests).
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QTranslator>
#include <cstdio>

#include "core/RunMessages.h"
#include "core/Settings.h"
#include "ui/AppIcon.h"
#include "ui/CommandLine.h"
#include "ui/MainWindow.h"
#include "ui/MonotonicClock.h"
#include "ui/ProgramOverview.h"
#include "ui/QtUiDialogs.h"
#include "ui/SessionStore.h"
#include "ui/SettingsStore.h"
#include "ui/SplashWindow.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"
#include "ui/VariableMemory.h"

namespace {

using namespace cuttrace;
using namespace cuttrace::ui;

// Exit codes in grab mode.
constexpr int kExitFinished = 0;
constexpr int kExitRunFailed = 1;
constexpr int kExitGrabFailed = 3;
constexpr int kLookAheadWaitMs = 60000;

// Dialogs of an unattended run: nothing waits for a person. The end of the run saves
// the window's picture and quits.
class GrabbingDialogs final : public UiDialogs {
  public:
    explicit GrabbingDialogs(QString path) : path_(std::move(path)) {}
    void SetWindow(QWidget* window) { window_ = window; }

    void Message(QWidget*, const QString& text, const QString& caption) override {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        if (caption != QString::fromUtf8(kCaptionEndMessage)) {
            QCoreApplication::exit(kExitRunFailed);
            return;
        }
        const bool finished = text == Tr(messages::EndRunMessage(StepResult::Finished));
        // The picture shows the look-ahead pass's summary and the views fitted to the path.
        if (auto* main = qobject_cast<MainWindow*>(window_)) {
            main->Overview().Pass().Wait(kLookAheadWaitMs);
            QCoreApplication::processEvents();
        }
        const bool saved = window_ && window_->grab().save(path_);
        QCoreApplication::exit(!saved     ? kExitGrabFailed
                               : finished ? kExitFinished
                                          : kExitRunFailed);
    }
    void Error(QWidget* parent, const QString& text) override {
        Message(parent, text, Tr(kCaptionErrorDialog));
    }
    QString OpenFile(QWidget*, const FileRequest&) override { return {}; }
    QString SaveFile(QWidget*, const FileRequest&) override { return {}; }
    int Exec(QDialog&) override { return QDialog::Rejected; }
    bool StartDetached(const QString&, const QStringList&) override { return false; }

  private:
    QString path_;
    QWidget* window_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    // Help and version need no display: they are answered before the application starts.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const ViewerOptions early = TakeViewerOptions(raw); early.help || early.version) {
        std::fputs(early.help ? kViewerUsage : "", stdout);
        if (!early.help) std::printf("%s %s\n", kProductName, kVersion);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cuttrace"));
    QApplication::setDesktopFileName(QStringLiteral("cuttrace"));
    QApplication::setWindowIcon(AppIcon());

    SettingsStore store;
    store.Read(AppSettings());
    // The language of the settings; by default English unless the locale is Japanese.
    // Without the translation the built-in texts show.
    QTranslator english;
    InstallTranslation(app, english, UiLanguageFromSetting(AppSettings().language));

    QStringList arguments = QApplication::arguments().mid(1);
    const ViewerOptions viewer = TakeViewerOptions(arguments);
    QtUiDialogs interactive;
    GrabbingDialogs grabbing(viewer.grabPath);
    const bool unattended = !viewer.grabPath.isEmpty();
    UiDialogs& dialogs = unattended ? static_cast<UiDialogs&>(grabbing) : interactive;
    SteadyClock clock;

    // The start-up window shows while the main window is built, and frees itself.
    MainWindow* mainWindow = nullptr;
    auto* splash = new SplashWindow([&mainWindow, &arguments] {
        // A main window closed during the display time has nothing more to do.
        if (mainWindow && mainWindow->isVisible()) mainWindow->ProcessCommandLine(arguments);
    });
    splash->show();

    MainWindow window(AppSettings(), dialogs, clock);
    mainWindow = &window;
    // Recent files, geometry, splitters, layout and views as the last session left them;
    // an unattended run starts from the defaults and leaves them alone.
    SessionStore session;
    if (!unattended) window.RestoreSession(session.Read());
    // The common variables #500..#999 as the last session left them.
    if (!unattended) window.LoadVariableMemory(VariableMemory::DefaultPath());
    grabbing.SetWindow(&window);
    for (int i = 0; i < viewer.layout; ++i)
        window.CycleViewLayout();
    window.show();
    splash->raise();

    const int code = QApplication::exec();
    if (!unattended) {
        store.Write(AppSettings());
        session.Write(window.Session());
        window.SaveVariableMemory(VariableMemory::DefaultPath());
    }
    return code;
}
