#include "ui/ProgramSettingsBox.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <string>
#include <vector>

#include "core/Settings.h"
#include "core/VariablesFile.h"
#include "machines/CallCodes.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

constexpr int kListLines = 3;

void FitLines(QPlainTextEdit* edit, int lines) {
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * lines + 12);
}

// The stored list ("a; b") as lines, and lines as the stored list.
QString ListAsLines(const std::string& stored) {
    QStringList lines;
    for (const QString& part : QString::fromStdString(stored).split(QLatin1Char(';'))) {
        if (!part.trimmed().isEmpty()) lines << part.trimmed();
    }
    return lines.join(QLatin1Char('\n'));
}

std::string LinesAsList(const QString& text) {
    QStringList parts;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) parts << line.trimmed();
    }
    return parts.join(QStringLiteral("; ")).toStdString();
}

}  // namespace

ProgramSettingsBox::ProgramSettingsBox(QWidget* parent) : QGroupBox(Tr(kCalledPrograms), parent) {
    auto* form = new QFormLayout(this);
    folders_ = new QPlainTextEdit(this);
    folders_->setObjectName(QStringLiteral("programFoldersEdit"));
    folders_->setPlaceholderText(Tr(kProgramFoldersHint));
    FitLines(folders_, kListLines);
    variables_ = new QLineEdit(this);
    variables_->setObjectName(QStringLiteral("variablesFileEdit"));
    variables_->setPlaceholderText(Tr(kVariablesFileHint));
    callCodes_ = new QPlainTextEdit(this);
    callCodes_->setObjectName(QStringLiteral("callCodesEdit"));
    callCodes_->setPlaceholderText(QString::fromLatin1(kCallCodesHint));
    FitLines(callCodes_, kListLines);
    print_ = new QLineEdit(this);
    print_->setObjectName(QStringLiteral("printFileEdit"));
    print_->setPlaceholderText(Tr(kPrintFileHint));
    form->addRow(Tr(kProgramFolders), folders_);
    form->addRow(Tr(kVariablesFile), variables_);
    form->addRow(Tr(kCallCodes), callCodes_);
    form->addRow(Tr(kPrintFile), print_);
}

void ProgramSettingsBox::Load(const Settings& settings) {
    folders_->setPlainText(ListAsLines(settings.programFolders));
    variables_->setText(QString::fromStdString(settings.variablesFile));
    print_->setText(QString::fromStdString(settings.printFile));
    callCodes_->setPlainText(ListAsLines(settings.callCodes));
}

QString ProgramSettingsBox::Check() const {
    std::string error;
    const std::string variables = variables_->text().trimmed().toStdString();
    std::vector<VariableSetting> values;
    if (!variables.empty() && !ReadVariablesFile(variables, values, error)) {
        variables_->setFocus();
        return Tr(kVariablesFileBad).arg(QString::fromStdString(error));
    }
    std::vector<CallCode> codes;
    if (!ParseCallCodes(callCodes_->toPlainText().toStdString(), codes, error)) {
        callCodes_->setFocus();
        return Tr(kCallCodesBad).arg(QString::fromStdString(error));
    }
    return {};
}

void ProgramSettingsBox::Apply(Settings& settings) const {
    settings.programFolders = LinesAsList(folders_->toPlainText());
    settings.variablesFile = variables_->text().trimmed().toStdString();
    settings.printFile = print_->text().trimmed().toStdString();
    // Stored in their plain form, without the comments the field may hold.
    std::vector<CallCode> codes;
    std::string error;
    if (ParseCallCodes(callCodes_->toPlainText().toStdString(), codes, error))
        settings.callCodes = FormatCallCodes(codes);
}

}  // namespace cuttrace::ui
