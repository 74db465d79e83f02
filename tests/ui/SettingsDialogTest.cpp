#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "core/Settings.h"
#include "ui/SettingsDialog.h"
#include "ui/SettingsStore.h"
#include "ui/support/FakeDialogs.h"

namespace cuttrace::ui {
namespace {

class SettingsDialogTest : public ::testing::Test {
  protected:
    SettingsDialogTest() : dialog_(settings_, dialogs_) { dialog_.LoadFromSettings(); }

    template <typename Widget>
    Widget* Control(const char* objectName) {
        auto* widget = dialog_.findChild<Widget*>(QString::fromLatin1(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }

    Settings settings_;
    test::FakeDialogs dialogs_;
    SettingsDialog dialog_;
};

TEST_F(SettingsDialogTest, ShowsTheRecord) {
    EXPECT_EQ(Control<QLineEdit>("feedColorEdit")->text(), "000000FF");
    EXPECT_EQ(Control<QLineEdit>("rapidColorEdit")->text(), "00000000");
    EXPECT_EQ(Control<QLineEdit>("contourColorEdit")->text(), "00C0C0FF");
    EXPECT_EQ(Control<QLineEdit>("dryRunSpeedEdit")->text(), "2000");
    EXPECT_EQ(Control<QLineEdit>("timerEdit")->text(), "10");
    EXPECT_EQ(Control<QLineEdit>("editorEdit")->text(), "blockpad.exe");
    EXPECT_TRUE(Control<QRadioButton>("meldasButton")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>("g0DrawBox")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>("noBufferBox")->isChecked());
}

TEST_F(SettingsDialogTest, OkStoresEveryFieldAndTheStoreKeepsThem) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Nc.ini"));
    Control<QRadioButton>("fanucButton")->setChecked(true);
    Control<QLineEdit>("feedColorEdit")->setText(QStringLiteral("0000ff00"));
    Control<QLineEdit>("rapidColorEdit")->setText(QStringLiteral("808080"));
    Control<QLineEdit>("contourColorEdit")->setText(QStringLiteral("E0E0E0"));
    Control<QLineEdit>("dryRunSpeedEdit")->setText(QStringLiteral(" 5000 "));
    Control<QLineEdit>("timerEdit")->setText(QStringLiteral("0"));
    Control<QLineEdit>("editorEdit")->setText(QStringLiteral("/usr/bin/my editor"));
    Control<QCheckBox>("m1StopBox")->setChecked(false);
    Control<QCheckBox>("noBufferBox")->setChecked(false);
    Control<QCheckBox>("showCutterBox")->setChecked(false);
    Control<QComboBox>("languageBox")->setCurrentIndex(2);  // English from the next start
    QTest::mouseClick(Control<QPushButton>("okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    {
        QSettings qs(ini, QSettings::IniFormat);
        ASSERT_TRUE(SettingsStore(qs).Write(settings_));
    }
    Settings back;
    QSettings qs(ini, QSettings::IniFormat);
    SettingsStore(qs).Read(back);
    EXPECT_EQ(back.dialect, 1);
    EXPECT_EQ(back.feedColor, 0xFF00u);
    EXPECT_EQ(back.rapidColor, 0x808080u);
    EXPECT_EQ(back.contourColor, 0xE0E0E0u);
    EXPECT_EQ(back.dryRunSpeed, 5000.0);
    EXPECT_EQ(back.timerIntervalMs, 0);
    EXPECT_EQ(back.editorCommand, "/usr/bin/my editor");
    EXPECT_FALSE(back.stopAtM1);
    EXPECT_FALSE(back.noMotionBuffer);
    EXPECT_FALSE(back.showCutter);
    EXPECT_TRUE(back.drawRapids);
    EXPECT_EQ(back.language, 2);
}

TEST_F(SettingsDialogTest, ABadNumberIsMarkedAndNothingIsApplied) {
    Control<QLineEdit>("feedColorEdit")->setText(QStringLiteral("00ABCDEF"));
    Control<QLineEdit>("dryRunSpeedEdit")->setText(QStringLiteral("2000.5"));
    Control<QLineEdit>("timerEdit")->setText(QStringLiteral("25"));
    dialog_.ApplyAndAccept();
    EXPECT_NE(dialog_.result(), QDialog::Accepted);
    EXPECT_TRUE(SettingsDialog::IsMarked(Control<QLineEdit>("dryRunSpeedEdit")));
    EXPECT_EQ(settings_.feedColor, 0xFFu);
    EXPECT_EQ(settings_.timerIntervalMs, 10);

    Control<QLineEdit>("dryRunSpeedEdit")->setText(QStringLiteral("3000"));
    Control<QLineEdit>("timerEdit")->setText(QStringLiteral("1O"));  // letter O
    dialog_.ApplyAndAccept();
    EXPECT_TRUE(SettingsDialog::IsMarked(Control<QLineEdit>("timerEdit")));
    EXPECT_EQ(settings_.dryRunSpeed, 2000.0);

    // Typing into the field takes the mark away; a valid text is then accepted.
    Control<QLineEdit>("timerEdit")->clear();
    QTest::keyClicks(Control<QLineEdit>("timerEdit"), QStringLiteral("25"));
    EXPECT_FALSE(SettingsDialog::IsMarked(Control<QLineEdit>("timerEdit")));
    dialog_.ApplyAndAccept();
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_EQ(settings_.feedColor, 0xABCDEFu);
    EXPECT_EQ(settings_.dryRunSpeed, 3000.0);
    EXPECT_EQ(settings_.timerIntervalMs, 25);
}

TEST_F(SettingsDialogTest, TimerMustNotBeNegativeAndEmptyIsNoNumber) {
    Control<QLineEdit>("timerEdit")->setText(QStringLiteral("-5"));
    dialog_.ApplyAndAccept();
    EXPECT_TRUE(SettingsDialog::IsMarked(Control<QLineEdit>("timerEdit")));
    Control<QLineEdit>("timerEdit")->setText(QString());
    dialog_.ApplyAndAccept();
    EXPECT_TRUE(SettingsDialog::IsMarked(Control<QLineEdit>("timerEdit")));
    EXPECT_EQ(settings_.timerIntervalMs, 10);
    Control<QLineEdit>("dryRunSpeedEdit")->setText(QStringLiteral("99999999999"));
    Control<QLineEdit>("timerEdit")->setText(QStringLiteral("5"));
    dialog_.ApplyAndAccept();
    EXPECT_TRUE(SettingsDialog::IsMarked(Control<QLineEdit>("dryRunSpeedEdit")));
}

TEST_F(SettingsDialogTest, RunFieldsAreCheckedThenStored) {
    EXPECT_EQ(Control<QLineEdit>("maxStepsEdit")->text(), "100000000");
    EXPECT_EQ(Control<QLineEdit>("pathMemoryEdit")->text(), "");  // 0: the default
    EXPECT_EQ(Control<QLineEdit>("rapidRateEdit")->text(), "10000");
    // Each bad field refuses the whole dialog with its reason.
    const std::pair<const char*, const char*> bad[] = {
        {"maxStepsEdit", "0"}, {"pathMemoryEdit", "-1"}, {"rapidRateEdit", "fast"}};
    for (const auto& [name, text] : bad) {
        dialog_.LoadFromSettings();
        Control<QLineEdit>(name)->setText(QString::fromLatin1(text));
        dialogs_.messages.clear();
        dialog_.ApplyAndAccept();
        EXPECT_NE(dialog_.result(), QDialog::Accepted) << name;
        EXPECT_EQ(dialogs_.messages.size(), 1u) << name;
    }
    dialog_.LoadFromSettings();
    Control<QLineEdit>("maxStepsEdit")->setText(QStringLiteral("5000"));
    Control<QLineEdit>("pathMemoryEdit")->setText(QStringLiteral("64"));
    Control<QLineEdit>("rapidRateEdit")->setText(QStringLiteral("24000"));
    Control<QCheckBox>("keepDrawingBox")->setChecked(true);
    Control<QCheckBox>("stepEveryLineBox")->setChecked(true);
    Control<QCheckBox>("autoFitBox")->setChecked(false);
    dialog_.ApplyAndAccept();
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_EQ(settings_.maxSteps, 5000);
    EXPECT_EQ(settings_.pathMemoryMb, 64);
    EXPECT_EQ(settings_.rapidRate, 24000.0);
    EXPECT_TRUE(settings_.keepDrawingOnOpen);
    EXPECT_TRUE(settings_.singleBlockEveryLine);
    EXPECT_FALSE(settings_.autoFit);
}

TEST_F(SettingsDialogTest, AColorWithoutHexDigitsKeepsThePreviousColor) {
    settings_.rapidColor = 0x123456;
    dialog_.LoadFromSettings();
    Control<QLineEdit>("feedColorEdit")->setText(QStringLiteral("red"));  // no leading hex digit
    Control<QLineEdit>("rapidColorEdit")->setText(QStringLiteral("   "));
    dialog_.ApplyAndAccept();
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_EQ(settings_.feedColor, 0xFFu);
    EXPECT_EQ(settings_.rapidColor, 0x123456u);
}

TEST_F(SettingsDialogTest, ReadColorTakesTheLeadingHexDigits) {
    uint32_t c = 7;
    EXPECT_TRUE(SettingsDialog::ReadColor(QStringLiteral("0x00ff00"), c));
    EXPECT_EQ(c, 0xFF00u);
    EXPECT_TRUE(SettingsDialog::ReadColor(QStringLiteral("#C0C0C0"), c));
    EXPECT_EQ(c, 0xC0C0C0u);
    EXPECT_TRUE(SettingsDialog::ReadColor(QStringLiteral(" ff zz"), c));
    EXPECT_EQ(c, 0xFFu);
    EXPECT_TRUE(SettingsDialog::ReadColor(QStringLiteral("0"), c));
    EXPECT_EQ(c, 0u);
    EXPECT_FALSE(SettingsDialog::ReadColor(QStringLiteral("xyz"), c));
    EXPECT_FALSE(SettingsDialog::ReadColor(QStringLiteral("$"), c));
    EXPECT_EQ(c, 0u);
}

TEST_F(SettingsDialogTest, CancelAppliesNothing) {
    Control<QRadioButton>("tosnacButton")->setChecked(true);
    Control<QLineEdit>("timerEdit")->setText(QStringLiteral("50"));
    QTest::mouseClick(Control<QPushButton>("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog_.result(), QDialog::Rejected);
    EXPECT_EQ(settings_.dialect, 0);
    EXPECT_EQ(settings_.timerIntervalMs, 10);
}

TEST_F(SettingsDialogTest, DoubleClickOnTheEditorFieldPicksAProgram) {
    Control<QLineEdit>("editorEdit")->setText(QStringLiteral("kate"));
    dialogs_.fileAnswers = {QStringLiteral("/usr/bin/gedit"), QString()};
    QTest::mouseDClick(Control<QLineEdit>("editorEdit"), Qt::LeftButton);
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.fileRequests[0].fileName, "kate");
    EXPECT_EQ(Control<QLineEdit>("editorEdit")->text(), "/usr/bin/gedit");
    dialog_.ChooseEditor();  // cancelled: the text stays
    EXPECT_EQ(Control<QLineEdit>("editorEdit")->text(), "/usr/bin/gedit");
}

}  // namespace
}  // namespace cuttrace::ui
