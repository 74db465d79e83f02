// The viewer in both languages: under English no Japanese text shows and every text fits
// its widget; under Japanese the original texts show and none of their English.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>

#include <memory>
#include <set>

#include "core/Settings.h"
#include "ui/MainWindow.h"
#include "ui/SettingsDialog.h"
#include "ui/SplashWindow.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"
#include "ui/support/FakeDialogs.h"

namespace cuttrace {
namespace {

struct Shown {
    QString text;
    QWidget* widget = nullptr;  // the widget that shows it as its own text; null for hints
};

// Every text the windows show: titles, labels, buttons, group titles, tabs, hints, actions.
std::vector<Shown> ShownTexts(const std::vector<QWidget*>& windows) {
    std::vector<Shown> texts;
    for (QWidget* window : windows) {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* widget : widgets) {
            texts.push_back({widget->windowTitle(), nullptr});
            texts.push_back({widget->toolTip(), nullptr});
            if (auto* label = qobject_cast<QLabel*>(widget))
                texts.push_back({label->text(), label});
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                texts.push_back({button->text(), button});
            if (auto* group = qobject_cast<QGroupBox*>(widget))
                texts.push_back({group->title(), group});
            if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
                for (int i = 0; i < tabs->count(); ++i)
                    texts.push_back({tabs->tabText(i), nullptr});
            }
            for (QAction* action : widget->actions()) {
                texts.push_back({action->text(), nullptr});
                texts.push_back({action->toolTip(), nullptr});
            }
        }
    }
    return texts;
}

bool HasJapanese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
    }
    return false;
}

// The viewer's windows, built while the given translation is installed.
class Windows {
  public:
    explicit Windows(ui::UiLanguage language) {
        if (language == ui::UiLanguage::English) {
            EXPECT_TRUE(ui::InstallTranslation(*qApp, translator_, language));
        }
        window_ = std::make_unique<ui::MainWindow>(settings_, dialogs_, clock_);
        window_->show();
        splash_ = std::make_unique<ui::SplashWindow>([] {}, 1000000);
        splash_->show();
        auto* dialog = window_->findChild<ui::SettingsDialog*>(QStringLiteral("settingsDialog"));
        dialog->LoadFromSettings();
        dialog->show();
        QApplication::processEvents();
        windows_ = {window_.get(), splash_.get(), dialog};
    }
    ~Windows() { QApplication::removeTranslator(&translator_); }

    std::vector<Shown> Texts() const { return ShownTexts(windows_); }

  private:
    QTranslator translator_;
    Settings settings_;
    test::FakeDialogs dialogs_;
    test::ManualClock clock_;
    std::unique_ptr<ui::MainWindow> window_;
    std::unique_ptr<ui::SplashWindow> splash_;
    std::vector<QWidget*> windows_;
};

TEST(Translation, EnglishShowsNoJapaneseAndEveryTranslatedTextFits) {
    std::vector<Shown> japaneseTexts;
    {
        const Windows japanese(ui::UiLanguage::Japanese);
        japaneseTexts = japanese.Texts();
    }
    const Windows english(ui::UiLanguage::English);
    EXPECT_EQ(ui::Tr(ui::kHintOpen), "Open a program");  // the translation is there at all
    const std::vector<Shown> englishTexts = english.Texts();
    ASSERT_EQ(englishTexts.size(), japaneseTexts.size());
    for (std::size_t i = 0; i < englishTexts.size(); ++i) {
        const Shown& shown = englishTexts[i];
        EXPECT_FALSE(HasJapanese(shown.text)) << shown.text.toStdString();
        if (shown.widget == nullptr || !shown.widget->isVisible()) continue;
        if (shown.text == japaneseTexts[i].text) continue;  // not a translation
        EXPECT_LE(shown.widget->sizeHint().width(), shown.widget->width() + 1)
            << "cut off: " << shown.text.toStdString();
    }
}

TEST(Translation, JapaneseShowsTheOriginalTextsAndNoneOfTheirEnglish) {
    std::set<QString> translated;  // English texts that differ from their Japanese
    std::vector<Shown> englishTexts;
    {
        const Windows english(ui::UiLanguage::English);
        englishTexts = english.Texts();
    }
    const Windows japanese(ui::UiLanguage::Japanese);
    const std::vector<Shown> japaneseTexts = japanese.Texts();
    ASSERT_EQ(japaneseTexts.size(), englishTexts.size());
    for (std::size_t i = 0; i < japaneseTexts.size(); ++i) {
        if (japaneseTexts[i].text != englishTexts[i].text) translated.insert(englishTexts[i].text);
    }
    EXPECT_GT(translated.size(), 30u);
    bool anyJapanese = false;
    for (const Shown& shown : japaneseTexts) {
        anyJapanese = anyJapanese || HasJapanese(shown.text);
        EXPECT_EQ(translated.count(shown.text), 0u) << shown.text.toStdString();
    }
    EXPECT_TRUE(anyJapanese);
    EXPECT_EQ(ui::Tr(ui::kHintOpen), QString::fromUtf8(ui::kHintOpen));
    // Texts added since are Japanese too: the only English phrases are the ones the viewer
    // has always shown in Japan, and the block-skip switch named as its neighbours are.
    const std::set<QString> keptEnglish = {"Single Block", "Dry Run", "Block Skip"};
    const QRegularExpression phrase(QStringLiteral("[A-Za-z]{3,} [A-Za-z]{2,}"));
    for (const Shown& shown : japaneseTexts) {
        if (HasJapanese(shown.text) || keptEnglish.count(shown.text) > 0) continue;
        EXPECT_FALSE(phrase.match(shown.text).hasMatch()) << shown.text.toStdString();
    }
}

}  // namespace
}  // namespace cuttrace
