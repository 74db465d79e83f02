#include "ui/MacroVariablesWindow.h"

#include "ui/Translation.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

#include "machines/MacroVariables.h"
#include "machines/NumberText.h"
#include "ui/UiTexts.h"
#include "ui/VariableSheet.h"

namespace cuttrace::ui {

namespace {

constexpr int kClientWidth = 458;
constexpr int kClientHeight = 198;
constexpr int kFontPixels = 12;
constexpr int kFirstColumnX = 8;
constexpr int kColumnStep = 96;
constexpr int kColumns = 4;
// A value as wide as most: the columns widen when the font needs more room for it.
constexpr char kWideValue[] = "-0000.00000000";
constexpr int kGap = 4;
constexpr int kRowsPerColumn = 10;
constexpr int kFirstRowY = 8;
constexpr int kRowStep = 16;
constexpr int kValueOffset = 32;
constexpr int kFirstCommonTab = 4;
constexpr int kSheetBase[] = {100, 150, 200, 250};
constexpr int kLocalDecimals = 8;
constexpr int kCommonDecimals = 6;
constexpr int kFirstKept = 500;
constexpr int kKeptCount = 500;

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, decimals));
}

// A vacant variable shows no value, so that it is never taken for a stored 0.
QString CommonEntry(const MacroVariables& variables, int n) {
    if (variables.CommonVacant(n)) return Tr(kCommonEntry).arg(n).arg(QString()).trimmed();
    return Tr(kCommonEntry).arg(n).arg(Fixed(variables.Common(n), kCommonDecimals));
}

}  // namespace

MacroVariablesWindow::MacroVariablesWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(Tr(kMacroCaption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    // The window's narrow Japanese proportional font, or the nearest one installed.
    QFont small = font();
    small.setFamilies({Tr(kMacroFont), QStringLiteral("MS PGothic"), QStringLiteral("VL PGothic"),
                       QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    small.setPixelSize(kFontPixels);
    setFont(small);

    // The columns stand 96 pixels apart with the values 32 pixels right of their names,
    // unless the font is too wide for that.
    const QFontMetrics metrics(small);
    int nameWidth = 0;
    for (const char* name : kLocalNames) {
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(QString::fromLatin1(name)));
    }
    valueOffset_ = std::max(kValueOffset, nameWidth + kGap);
    valueWidth_ = metrics.horizontalAdvance(QString::fromLatin1(kWideValue));
    columnStep_ = std::max(kColumnStep, valueOffset_ + valueWidth_ + kGap);
    const int width = kFirstColumnX + (kColumns - 1) * columnStep_ + valueOffset_ + valueWidth_;
    setFixedSize(std::max({kClientWidth, width, VariableSheet::WidthFor(small)}), kClientHeight);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("variableTabs"));
    for (int level = 0; level < kMacroLevels; ++level) {
        tabs_->addTab(BuildLocalPage(level), Tr(kLocalTab).arg(level + 1));
    }
    for (int sheet = 0; sheet < kSheets; ++sheet) {
        auto* view = new VariableSheet(tabs_);
        sheets_[static_cast<std::size_t>(sheet)] = view;
        tabs_->addTab(view, Tr(kCommonTab).arg(kSheetBase[sheet]));
    }
    tabs_->addTab(BuildScrolledSheet(keptSheet_), QString::fromLatin1(kKeptTab));
    keptSheet_->SetRows(kKeptCount / VariableSheet::kColumns);
    tabs_->addTab(BuildScrolledSheet(systemSheet_), Tr(kSystemTab));
    tabs_->setCurrentIndex(kFirstCommonTab);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
}

QWidget* MacroVariablesWindow::BuildLocalPage(int level) {
    auto* panel = new QWidget(tabs_);
    auto& row = values_[static_cast<std::size_t>(level)];
    for (int n = 0; n < kLocals; ++n) {
        const int x = kFirstColumnX + columnStep_ * (n / kRowsPerColumn);
        const int y = kFirstRowY + kRowStep * (n % kRowsPerColumn);
        auto* name = new QLabel(Tr(kLocalNames[n]), panel);
        name->move(x, y);
        auto* value = new QLabel(panel);
        value->move(x + valueOffset_, y);
        value->setMinimumWidth(valueWidth_);
        row[static_cast<std::size_t>(n)] = value;
    }
    return panel;
}

QWidget* MacroVariablesWindow::BuildScrolledSheet(VariableSheet*& sheet) {
    auto* page = new QScrollArea(tabs_);
    page->setWidgetResizable(true);
    page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sheet = new VariableSheet(page);
    page->setWidget(sheet);
    return page;
}

void MacroVariablesWindow::UpdateValues() {
    if (!variables_) return;
    for (int level = 0; level < kMacroLevels; ++level) {
        auto& row = values_[static_cast<std::size_t>(level)];
        for (int n = 0; n < kLocals; ++n) {
            row[static_cast<std::size_t>(n)]->setText(
                variables_->LocalVacant(level, n + 1)
                    ? QString()
                    : Fixed(variables_->Local(level, n + 1), kLocalDecimals));
        }
    }
    for (int sheet = 0; sheet < kSheets; ++sheet) {
        QStringList texts;
        texts.reserve(kSheetEntries);
        const int base = kSheetBase[sheet];
        for (int i = 0; i < kSheetEntries; ++i)
            texts << CommonEntry(*variables_, base + i);
        sheets_[static_cast<std::size_t>(sheet)]->SetTexts(texts);
    }
    QStringList kept;
    kept.reserve(kKeptCount);
    for (int n = kFirstKept; n < kFirstKept + kKeptCount; ++n)
        kept << CommonEntry(*variables_, n);
    keptSheet_->SetTexts(kept);
    // The system variables in use: those stored by a program or a variables file, in order.
    std::vector<std::pair<int, double>> used(variables_->Others().begin(),
                                             variables_->Others().end());
    std::sort(used.begin(), used.end());
    QStringList system;
    for (const auto& [n, value] : used)
        system << Tr(kCommonEntry).arg(n).arg(Fixed(value, kCommonDecimals));
    systemSheet_->SetRows(std::max(
        VariableSheet::kRows,
        (static_cast<int>(used.size()) + VariableSheet::kColumns - 1) / VariableSheet::kColumns));
    systemSheet_->SetTexts(system);
}

const QStringList& MacroVariablesWindow::KeptTexts() const {
    return keptSheet_->Texts();
}

const QStringList& MacroVariablesWindow::SystemTexts() const {
    return systemSheet_->Texts();
}

QString MacroVariablesWindow::LocalText(int level, int n) const {
    return values_[static_cast<std::size_t>(level)][static_cast<std::size_t>(n)]->text();
}

QString MacroVariablesWindow::CommonText(int sheet, int i) const {
    const QStringList& texts = sheets_[static_cast<std::size_t>(sheet)]->Texts();
    return i < texts.size() ? texts[i] : QString();
}

void MacroVariablesWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    if (onClose_) onClose_();
}

}  // namespace cuttrace::ui
