#include "ui/QtUiDialogs.h"

#include "ui/Translation.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

// The extension of a filter entry's first pattern ("SVG (*.svg)" gives "svg"); empty for
// one that matches any name.
QString FilterSuffix(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

void PrepareFileDialog(QFileDialog& dialog, const FileRequest& request) {
    dialog.setNameFilter(request.filter);
    if (!request.selectedFilter.isEmpty()) dialog.selectNameFilter(request.selectedFilter);
    dialog.setDirectory(request.directory.isEmpty() ? QStringLiteral(".") : request.directory);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (request.defaultSuffix.isEmpty()) return;
    // A name typed without an extension gets the one of the chosen kind of file, so a
    // drawing saved as SVG is not named .png.
    const auto follow = [&dialog, fallback = request.defaultSuffix](const QString& filter) {
        const QString suffix = FilterSuffix(filter);
        dialog.setDefaultSuffix(suffix.isEmpty() ? fallback : suffix);
    };
    follow(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
}

namespace {

QString RunFileDialog(QWidget* parent, const FileRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    PrepareFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

void QtUiDialogs::Message(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

bool QtUiDialogs::Ask(QWidget* parent, const QString& text, const QString& caption) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

int QtUiDialogs::Choose(QWidget* parent, const QString& text, const QString& caption,
                        const QStringList& buttons) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> added;
    for (const QString& label : buttons)
        added << box.addButton(label, QMessageBox::AcceptRole);
    if (!added.isEmpty()) box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return chosen < 0 ? 0 : static_cast<int>(chosen);
}

void QtUiDialogs::Error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, Tr(kCaptionErrorDialog), text, QMessageBox::Yes);
}

QString QtUiDialogs::OpenFile(QWidget* parent, const FileRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtUiDialogs::SaveFile(QWidget* parent, const FileRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

int QtUiDialogs::Exec(QDialog& dialog) {
    return dialog.exec();
}

bool QtUiDialogs::StartDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

}  // namespace cuttrace::ui
