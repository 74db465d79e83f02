#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>

#include "ui/SplashWindow.h"

namespace cuttrace::ui {
namespace {

QString TextOf(QWidget& form, const char* name) {
    auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

TEST(TOpenFormTest, ShowsTheProgramAndItsVersion) {
    auto* form = new SplashWindow([] {});
    EXPECT_EQ(form->windowTitle(), "NC");
    EXPECT_EQ(form->size(), QSize(292, 138));
    EXPECT_EQ(TextOf(*form, "ProductName"), "Cuttrace");
    EXPECT_EQ(TextOf(*form, "Version"), "version2.5");
    EXPECT_EQ(TextOf(*form, "Comments"), "NCﾃﾞｰﾀﾌｧｲﾙﾄﾞﾛｳｿﾌﾄ");
    EXPECT_EQ(form->Timer1().interval(), 4000);
    EXPECT_TRUE(form->Timer1().isActive());
    delete form;
}

TEST(TOpenFormTest, AtTheEndOfItsTimeItRunsTheCommandLineOnceAndGoes) {
    int calls = 0;
    QPointer<SplashWindow> form = new SplashWindow([&] { ++calls; }, 200);
    form->show();
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
    EXPECT_TRUE(form.isNull()) << "the window frees itself when it closes";
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace cuttrace::ui
