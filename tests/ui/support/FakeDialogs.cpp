#include "ui/support/FakeDialogs.h"

#include "ui/UiTexts.h"

namespace cuttrace::test {

void FakeDialogs::Message(QWidget*, const QString& text, const QString& caption) {
    messages.push_back({text, caption});
}

bool FakeDialogs::Ask(QWidget*, const QString& text, const QString& caption) {
    questions.push_back({text, caption});
    return answer;
}

int FakeDialogs::Choose(QWidget*, const QString& text, const QString& caption,
                        const QStringList& buttons) {
    messages.push_back({text, caption});
    choices.push_back(buttons);
    return choice;
}

void FakeDialogs::Error(QWidget*, const QString& text) {
    messages.push_back({text, QString::fromUtf8(ui::kCaptionErrorDialog)});
}

QString FakeDialogs::OpenFile(QWidget*, const ui::FileRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return {};
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString FakeDialogs::SaveFile(QWidget* parent, const ui::FileRequest& request) {
    return OpenFile(parent, request);
}

int FakeDialogs::Exec(QDialog& dialog) {
    if (onExec) return onExec(dialog);
    return QDialog::Rejected;
}

bool FakeDialogs::StartDetached(const QString& program, const QStringList& arguments) {
    started.push_back({program, arguments});
    return startSucceeds;
}

}  // namespace cuttrace::test
