// At the default window size every control of every layout is on the screen and labelled,
// and no text is cut or runs into its neighbour.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>

#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using WindowLayoutTest = MainWindowTest;

// Every control of the bar lies within it, shown and with a tooltip (or a text of its own);
// the bar needs no extension button for controls that did not fit.
void ExpectWholeBar(const QToolBar* bar, const QString& where) {
    const auto* extension = bar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"));
    EXPECT_TRUE(extension == nullptr || !extension->isVisible()) << where.toStdString();
    for (QAction* action : bar->actions()) {
        QWidget* control = bar->widgetForAction(action);
        if (!control || action->isSeparator()) continue;
        const std::string name = (where + u'/' + control->objectName()).toStdString();
        EXPECT_TRUE(control->isVisible()) << name;
        EXPECT_TRUE(bar->rect().contains(control->geometry())) << name;
        const auto* button = qobject_cast<QAbstractButton*>(control);
        const bool labelled =
            !control->toolTip().isEmpty() || (button && !button->text().isEmpty());
        EXPECT_TRUE(labelled) << name;
    }
}

// The labels under parent are wide enough for their text and do not overlap.
void ExpectWholeLabels(const QWidget* parent, const QString& where) {
    QList<const QLabel*> shown;
    for (const QLabel* label : parent->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty()) continue;
        if (label->wordWrap() || label->minimumWidth() == 1) continue;  // meant to elide
        const std::string name = (where + u'/' + label->text()).toStdString();
        EXPECT_GE(label->width(), label->sizeHint().width()) << name;
        for (const QLabel* other : shown) {
            if (other->parentWidget() != label->parentWidget()) continue;
            EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                << name << " and " << other->text().toStdString();
        }
        shown << label;
    }
}

TEST_F(WindowLayoutTest, EveryControlIsReachableAndNoTextIsCutInEveryLayout) {
    window.resize(1100, 700);
    // Wide values in every field of the modal panel.
    Open(
        "G91 G18 G01 X-12345.678 Y-12345.678 Z-1234.567 F100000. S20000 E1000 T20 D100 H100\n"
        "N1000 G04 P1000\n");
    window.Start();
    RunToStop();
    for (int layout = 0; layout < 4; ++layout) {
        while (window.LayoutNumber() != layout)
            window.CycleViewLayout();
        for (int i = 0; i < 3; ++i)  // the views' tool bars arrange themselves once shown
            QApplication::processEvents();
        const QString where = QStringLiteral("layout %1").arg(layout);
        for (int v = 0; v < 4; ++v) {
            const ui::ViewPane* view = window.View(v);
            if (!view->isVisible()) continue;
            for (const QToolBar* bar : view->findChildren<QToolBar*>())
                ExpectWholeBar(bar, where + QStringLiteral(" view %1").arg(v));
        }
        for (const QToolBar* bar : window.findChildren<QToolBar*>()) {
            if (!bar->parentWidget()->inherits("cuttrace::ui::ViewPane"))
                ExpectWholeBar(bar, where);
        }
        ExpectWholeLabels(ModalPanel(), where);
        ExpectWholeLabels(window.statusBar(), where);
    }
}

}  // namespace
}  // namespace cuttrace::test
