#include "ui/CutSettingsBox.h"

#include <QFormLayout>
#include <QLineEdit>

#include <string>

#include "core/Settings.h"
#include "core/ToolData.h"
#include "cutting/CutTool.h"
#include "cutting/HeightField.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

CutSettingsBox::CutSettingsBox(QWidget* parent) : QGroupBox(Tr(kCutSimulation), parent) {
    auto* form = new QFormLayout(this);
    stock_ = new QLineEdit(this);
    stock_->setObjectName(QStringLiteral("cutStockEdit"));
    stock_->setPlaceholderText(Tr(kCutStockHint));
    resolution_ = new QLineEdit(this);
    resolution_->setObjectName(QStringLiteral("cutResolutionEdit"));
    resolution_->setPlaceholderText(
        Tr(kCutResolutionHint).arg(cutting::HeightField::kDefaultResolution));
    tools_ = new QLineEdit(this);
    tools_->setObjectName(QStringLiteral("cutToolsEdit"));
    tools_->setPlaceholderText(Tr(kCutToolsHint));
    form->addRow(Tr(kCutStock), stock_);
    form->addRow(Tr(kCutResolution), resolution_);
    form->addRow(Tr(kCutTools), tools_);
}

void CutSettingsBox::Load(const Settings& settings) {
    stock_->setText(QString::fromStdString(settings.cutStock));
    resolution_->setText(settings.cutResolution > 0 ? QString::number(settings.cutResolution)
                                                    : QString());
    tools_->setText(QString::fromStdString(settings.cutToolTable));
}

QString CutSettingsBox::Check() const {
    const std::string stock = stock_->text().trimmed().toStdString();
    std::string error;
    cutting::StockBox box;
    if (!stock.empty() && stock != "auto" &&
        (!cutting::ParseStockBox(stock, &box, &error) || !box.Check(&error))) {
        stock_->setFocus();
        return Tr(kCutStockBad).arg(QString::fromStdString(error));
    }
    const QString resolution = resolution_->text().trimmed();
    bool ok = true;
    const int cells = resolution.isEmpty() ? 0 : resolution.toInt(&ok);
    if (!ok || cells < 0) {
        resolution_->setFocus();
        return Tr(kCutResolutionBad);
    }
    const std::string tools = tools_->text().trimmed().toStdString();
    cutting::ToolTable table;
    ToolData offsets;  // the same file holds the tool lengths and radii of the run
    if (!tools.empty() && (!table.Load(tools, &error) || !offsets.Load(tools, &error))) {
        tools_->setFocus();
        return Tr(kCutToolsBad).arg(QString::fromStdString(error));
    }
    return {};
}

void CutSettingsBox::Apply(Settings& settings) const {
    const std::string stock = stock_->text().trimmed().toStdString();
    settings.cutStock = stock == "auto" ? std::string() : stock;
    const QString resolution = resolution_->text().trimmed();
    settings.cutResolution = resolution.isEmpty() ? 0 : resolution.toInt();
    settings.cutToolTable = tools_->text().trimmed().toStdString();
}

}  // namespace cuttrace::ui
