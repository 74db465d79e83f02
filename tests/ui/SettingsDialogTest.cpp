#include <gtest/gtest.h>

#include <QCheckBox>
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

class TSetingFormTest : public ::testing::Test {
  protected:
    TSetingFormTest() : form_(settings_, dialogs_) { form_.FormShow(); }

    Settings settings_;
    test::FakeDialogs dialogs_;
    SettingsDialog form_;
};

TEST_F(TSetingFormTest, ShowsTheRecord) {
    EXPECT_EQ(form_.Edit1()->text(), "000000FF");
    EXPECT_EQ(form_.Edit2()->text(), "00000000");
    EXPECT_EQ(form_.Edit3()->text(), "2000");
    EXPECT_EQ(form_.Edit4()->text(), "10");
    EXPECT_EQ(form_.Edit5()->text(), "blockpad.exe");
    EXPECT_TRUE(form_.RadioItem(0)->isChecked());
    EXPECT_TRUE(form_.CheckBox1()->isChecked());
    EXPECT_TRUE(form_.CheckBox3()->isChecked());
}

TEST_F(TSetingFormTest, OkStoresEveryFieldAndTheStoreKeepsThem) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Nc.ini"));
    form_.RadioItem(1)->setChecked(true);
    form_.Edit1()->setText(QStringLiteral("0000ff00"));
    form_.Edit2()->setText(QStringLiteral("808080"));
    form_.Edit3()->setText(QStringLiteral(" 5000 "));
    form_.Edit4()->setText(QStringLiteral("0"));
    form_.Edit5()->setText(QStringLiteral("/usr/bin/my editor"));
    form_.CheckBox2()->setChecked(false);
    form_.CheckBox3()->setChecked(false);
    form_.CheckBox4()->setChecked(false);
    QTest::mouseClick(form_.BitBtn1(), Qt::LeftButton);
    EXPECT_EQ(form_.result(), QDialog::Accepted);
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
    EXPECT_EQ(back.dryRunSpeed, 5000.0);
    EXPECT_EQ(back.timerIntervalMs, 0);
    EXPECT_EQ(back.editorCommand, "/usr/bin/my editor");
    EXPECT_FALSE(back.stopAtM1);
    EXPECT_FALSE(back.noMotionBuffer);
    EXPECT_FALSE(back.showCutter);
    EXPECT_TRUE(back.drawRapids);
}

TEST_F(TSetingFormTest, ABadNumberIsMarkedAndNothingIsApplied) {
    form_.Edit1()->setText(QStringLiteral("00ABCDEF"));
    form_.Edit3()->setText(QStringLiteral("2000.5"));
    form_.Edit4()->setText(QStringLiteral("25"));
    form_.ok();
    EXPECT_NE(form_.result(), QDialog::Accepted);
    EXPECT_TRUE(SettingsDialog::IsMarked(form_.Edit3()));
    EXPECT_EQ(settings_.feedColor, 0xFFu);
    EXPECT_EQ(settings_.timerIntervalMs, 10);

    form_.Edit3()->setText(QStringLiteral("3000"));
    form_.Edit4()->setText(QStringLiteral("1O"));  // letter O
    form_.ok();
    EXPECT_TRUE(SettingsDialog::IsMarked(form_.Edit4()));
    EXPECT_EQ(settings_.dryRunSpeed, 2000.0);

    // Typing into the field takes the mark away; a valid text is then accepted.
    form_.Edit4()->clear();
    QTest::keyClicks(form_.Edit4(), QStringLiteral("25"));
    EXPECT_FALSE(SettingsDialog::IsMarked(form_.Edit4()));
    form_.ok();
    EXPECT_EQ(form_.result(), QDialog::Accepted);
    EXPECT_EQ(settings_.feedColor, 0xABCDEFu);
    EXPECT_EQ(settings_.dryRunSpeed, 3000.0);
    EXPECT_EQ(settings_.timerIntervalMs, 25);
}

TEST_F(TSetingFormTest, TimerMustNotBeNegativeAndEmptyIsNoNumber) {
    form_.Edit4()->setText(QStringLiteral("-5"));
    form_.ok();
    EXPECT_TRUE(SettingsDialog::IsMarked(form_.Edit4()));
    form_.Edit4()->setText(QString());
    form_.ok();
    EXPECT_TRUE(SettingsDialog::IsMarked(form_.Edit4()));
    EXPECT_EQ(settings_.timerIntervalMs, 10);
    form_.Edit3()->setText(QStringLiteral("99999999999"));
    form_.Edit4()->setText(QStringLiteral("5"));
    form_.ok();
    EXPECT_TRUE(SettingsDialog::IsMarked(form_.Edit3()));
}

TEST_F(TSetingFormTest, AColourWithoutHexDigitsKeepsThePreviousColour) {
    settings_.rapidColor = 0x123456;
    form_.FormShow();
    form_.Edit1()->setText(QStringLiteral("red"));  // no leading hex digit
    form_.Edit2()->setText(QStringLiteral("   "));
    form_.ok();
    EXPECT_EQ(form_.result(), QDialog::Accepted);
    EXPECT_EQ(settings_.feedColor, 0xFFu);
    EXPECT_EQ(settings_.rapidColor, 0x123456u);
}

TEST(TSetingFormReadColour, TakesTheLeadingHexDigits) {
    uint32_t c = 7;
    EXPECT_TRUE(SettingsDialog::ReadColour(QStringLiteral("0x00ff00"), c));
    EXPECT_EQ(c, 0xFF00u);
    EXPECT_TRUE(SettingsDialog::ReadColour(QStringLiteral("#C0C0C0"), c));
    EXPECT_EQ(c, 0xC0C0C0u);
    EXPECT_TRUE(SettingsDialog::ReadColour(QStringLiteral(" ff zz"), c));
    EXPECT_EQ(c, 0xFFu);
    EXPECT_TRUE(SettingsDialog::ReadColour(QStringLiteral("0"), c));
    EXPECT_EQ(c, 0u);
    EXPECT_FALSE(SettingsDialog::ReadColour(QStringLiteral("xyz"), c));
    EXPECT_FALSE(SettingsDialog::ReadColour(QStringLiteral("$"), c));
    EXPECT_EQ(c, 0u);
}

TEST_F(TSetingFormTest, CancelAppliesNothing) {
    form_.RadioItem(2)->setChecked(true);
    form_.Edit4()->setText(QStringLiteral("50"));
    QTest::mouseClick(form_.BitBtn2(), Qt::LeftButton);
    EXPECT_EQ(form_.result(), QDialog::Rejected);
    EXPECT_EQ(settings_.dialect, 0);
    EXPECT_EQ(settings_.timerIntervalMs, 10);
}

TEST_F(TSetingFormTest, DoubleClickOnTheEditorFieldPicksAProgram) {
    form_.Edit5()->setText(QStringLiteral("kate"));
    dialogs_.fileAnswers = {QStringLiteral("/usr/bin/gedit"), QString()};
    QTest::mouseDClick(form_.Edit5(), Qt::LeftButton);
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.fileRequests[0].fileName, "kate");
    EXPECT_EQ(form_.Edit5()->text(), "/usr/bin/gedit");
    form_.Edit5DblClick();  // cancelled: the text stays
    EXPECT_EQ(form_.Edit5()->text(), "/usr/bin/gedit");
}

}  // namespace
}  // namespace cuttrace::ui
