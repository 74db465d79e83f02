#include "core/RunMessages.h"

#include "core/NcRunner.h"

namespace cuttrace::messages {

std::string_view EndRunMessage(int result) {
    switch (result) {
        case StepFinished:
            return kEndFinished;
        case StepOpenFailed:
            return kEndFileNotFound;
        case StepMotionFailed:
            return kEndMotionFailed;
        case StepNestOver:
            return kEndNestOver;
        case StepMacroFailed:
            return kEndMacroError;
        case StepMacroAbort:
            return kEndMacroAbort;
        case StepSequenceNotFound:
            return kSequenceNotFound;
        default:
            return kEndUnexpected;
    }
}

}  // namespace cuttrace::messages
