#include "ui/PictureFileActions.h"

#include "core/Settings.h"
#include "ui/Translation.h"

#include "core/PictureFile.h"
#include "machines/DiagnosticLog.h"
#include "ui/ProgramText.h"
#include "ui/RunController.h"
#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

FileRequest PictureRequest() {
    FileRequest request;
    request.filter = Tr(kPictureFilter);
    request.defaultSuffix = Tr(kPictureSuffix);
    return request;
}

}  // namespace

PictureFileActions::PictureFileActions(QWidget& window, UiDialogs& dialogs, Settings& settings,
                                       MotionBuffer& picture, RunController& run,
                                       std::function<void()> drawPicture)
    : window_(window),
      dialogs_(dialogs),
      settings_(settings),
      picture_(picture),
      run_(run),
      drawPicture_(std::move(drawPicture)) {}

void PictureFileActions::Failed() {
    dialogs_.Message(&window_, Tr(kFailed), Tr(kCaptionError));
}

void PictureFileActions::SavePicture() {
    // An empty picture is not saved as if it were one: say why, and offer to keep the
    // motions of the next run.
    if (picture_.empty()) {
        const QString caption = Tr(kCaptionSavePicture);
        if (!settings_.noMotionBuffer) {
            dialogs_.Message(&window_, Tr(kNothingToSave), caption);
        } else if (dialogs_.Ask(&window_, Tr(kKeepMotions), caption)) {
            settings_.noMotionBuffer = false;
        }
        return;
    }
    const QString path = dialogs_.SaveFile(&window_, PictureRequest());
    if (path.isEmpty()) return;
    if (cuttrace::SavePicture(PathFromQString(path), picture_) != PictureStatus::Ok) Failed();
}

QString PictureFileActions::LoadPicture() {
    run_.LoadProgram(false);
    const QString path = dialogs_.OpenFile(&window_, PictureRequest());
    if (path.isEmpty()) return {};
    return LoadPictureFile(path) ? path : QString();
}

bool PictureFileActions::LoadPictureFile(const QString& path) {
    const PictureStatus status = cuttrace::LoadPicture(PathFromQString(path), picture_);
    switch (status) {
        case PictureStatus::CannotOpen:
            Failed();
            return false;
        case PictureStatus::WrongFormat:
            dialogs_.Error(&window_, Tr(kWrongFormat));
            return false;
        case PictureStatus::Ok:
        case PictureStatus::Truncated:
            break;
    }
    DiagnosticLog::LogInt(kLogPictureLoaded, static_cast<long long>(picture_.size()));
    // The complete records of a cut-off file are drawn, and the load is reported failed.
    if (drawPicture_) drawPicture_();
    if (status == PictureStatus::Truncated) Failed();
    return true;
}

void PictureFileActions::WriteExpandedProgram() {
    if (!run_.ProgramLoaded() || run_.Running()) return;
    FileRequest request;
    request.filter = Tr(kExpandedFilter);
    const QString path = dialogs_.SaveFile(&window_, request);
    if (path.isEmpty()) return;
    if (!run_.StartExpandedOutput(PathFromQString(path))) Failed();
}

}  // namespace cuttrace::ui
