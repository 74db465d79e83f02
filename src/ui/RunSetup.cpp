#include "ui/RunSetup.h"

#include <QStringList>

#include <cstdio>
#include <string>
#include <vector>

#include "core/NcRunner.h"
#include "core/Settings.h"
#include "core/VariablesFile.h"
#include "machines/CallCodes.h"
#include "machines/DiagnosticLog.h"

namespace cuttrace::ui {

void ApplyProgramSettings(NcRunner& runner, const Settings& settings) {
    std::vector<std::string> folders;
    for (const QString& folder :
         QString::fromStdString(settings.programFolders).split(QLatin1Char(';'))) {
        if (!folder.trimmed().isEmpty()) folders.push_back(folder.trimmed().toStdString());
    }
    runner.SetProgramFolders(std::move(folders));
    std::vector<CallCode> codes;
    std::string error;
    if (!ParseCallCodes(settings.callCodes, codes, error)) {
        DiagnosticLog::LogText("call codes left out: ", error, Severity::Warning);
        codes.clear();
    }
    runner.SetCallCodes(std::move(codes));
}

bool LoadVariablesFile(NcRunner& runner, const Settings& settings, QString& error) {
    if (settings.variablesFile.empty()) return true;
    std::vector<VariableSetting> values;
    std::string why;
    if (ReadVariablesFile(settings.variablesFile, values, why) &&
        runner.PresetVariables(values, why)) {
        return true;
    }
    if (why.rfind("line ", 0) == 0) why = settings.variablesFile + ": " + why;
    error = QString::fromStdString(why);
    return false;
}

void PrintOutput::operator()(std::string_view record) {
    std::string_view shown = record;
    if (!shown.empty() && shown.back() == '\n') shown.remove_suffix(1);
    DiagnosticLog::Log(shown, Severity::Info);
    const std::string& path = settings_->printFile;
    if (path.empty()) return;
    std::FILE* file = std::fopen(path.c_str(), "ab");
    bool written =
        file != nullptr && std::fwrite(record.data(), 1, record.size(), file) == record.size();
    if (file != nullptr) written = std::fclose(file) == 0 && written;
    if (written) {
        failed_.clear();
    } else if (failed_ != path) {
        failed_ = path;
        DiagnosticLog::LogText("print file not written: ", path, Severity::Warning);
    }
}

}  // namespace cuttrace::ui
