#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "ui/SplashWindow.h"

namespace cuttrace::ui {
namespace {

TEST(SplashWindowTest, ShowsForFourSecondsThenRunsTheCommandLineOnceAndGoes) {
    {
        SplashWindow standard([] {});
        auto* timer = standard.findChild<QTimer*>(QStringLiteral("displayTimer"));
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), 4000);
        EXPECT_TRUE(timer->isActive());
    }

    int calls = 0;
    QPointer<SplashWindow> window = new SplashWindow([&] { ++calls; }, 200);
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(calls, 0) << "the command line waits for the end of the display time";
    QElapsedTimer waited;
    waited.start();
    while (calls == 0 && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(calls, 1);
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(window.isNull()) << "the window frees itself when it closes";
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace cuttrace::ui
