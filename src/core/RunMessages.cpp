#include "core/RunMessages.h"

#include "core/NcRunner.h"

namespace cuttrace::messages {

std::string_view EndRunMessage(StepResult result) {
    switch (result) {
        case StepResult::Finished:
            return kEndFinished;
        case StepResult::OpenFailed:
            return kEndFileNotFound;
        case StepResult::MotionFailed:
            return kEndMotionFailed;
        case StepResult::NestOver:
            return kEndNestOver;
        case StepResult::MacroFailed:
            return kEndMacroError;
        case StepResult::SequenceNotFound:
            return kSequenceNotFound;
        case StepResult::Invalid:
        case StepResult::FileOpened:  // the steps below do not end a run
        case StepResult::Line:
        case StepResult::Motion:
        case StepResult::NoMotion:
        case StepResult::FileClosed:
            break;
    }
    return kEndUnexpected;
}

}  // namespace cuttrace::messages
