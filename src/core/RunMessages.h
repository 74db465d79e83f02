// Texts of the execution core: log lines and the end-of-run messages.
#pragma once

#include <string_view>

namespace cuttrace {
enum class StepResult : int;
}

namespace cuttrace::messages {

inline constexpr std::string_view kOpenFile = "Open file: ";
inline constexpr std::string_view kCantOpenFile = "Can't Open file";
inline constexpr std::string_view kCloseFile = "Close file";
inline constexpr std::string_view kNcEnd = "NCEND";
inline constexpr std::string_view kSequenceNotFound = "sequence not found";
inline constexpr std::string_view kLoopStackOver = "loop stack over";
inline constexpr std::string_view kLoopStackEmpty = "loop end without loop start";
inline constexpr std::string_view kProgramFound = "program found: ";            // + name and place
inline constexpr std::string_view kProgramAlsoFound = "program found twice: ";  // + the other
inline constexpr std::string_view kFolderUnreadable = "program folder not readable: ";  // + path
inline constexpr std::string_view kFolderTooLarge =
    "program folder has too many files, the rest is not searched: ";  // + path

// Messages shown when a run ends, by Step result.
inline constexpr std::string_view kEndFinished = "終わりだよー(Standart Fin)";
inline constexpr std::string_view kEndUnexpected = "このメッセージは出るはずない";
inline constexpr std::string_view kEndFileNotFound = "ファイルが見つかりません";
inline constexpr std::string_view kEndMotionFailed = "失敗しましたmemory err!";
inline constexpr std::string_view kEndNestOver = "proguram nest over!";
inline constexpr std::string_view kEndMacroError = "macro error!";

// The message for a Step result that ends the run (0 or negative).
std::string_view EndRunMessage(StepResult result);

}  // namespace cuttrace::messages
