#include "ui/VariableMemory.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <string>

#include "machines/NcMachine.h"

namespace cuttrace::ui {

QString VariableMemory::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Kv/Nc/variables.txt");
}

bool VariableMemory::Load(const QString& path, QString& error) {
    if (!QFileInfo::exists(path)) return true;
    std::vector<VariableSetting> read;
    std::string why;
    if (!ReadVariablesFile(path.toStdString(), read, why)) {
        error = QString::fromStdString(why);
        return false;
    }
    values_.clear();
    for (const VariableSetting& setting : read) {
        if (setting.number >= kFirst && setting.number <= kLast) values_.push_back(setting);
    }
    return true;
}

bool VariableMemory::Save(const QString& path, QString& error) const {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("cannot make the folder of ") + path;
        return false;
    }
    QSaveFile file(path);
    const std::string text = FormatVariables(values_);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        error = file.errorString() + QStringLiteral(": ") + path;
        return false;
    }
    return true;
}

void VariableMemory::Capture(const NcMachine& machine) {
    values_.clear();
    const MacroVariables& variables = machine.Variables();
    for (int n = kFirst; n <= kLast; ++n) {
        if (!variables.CommonVacant(n)) values_.push_back({n, variables.Common(n), 0});
    }
}

void VariableMemory::ApplyTo(NcMachine& machine) const {
    for (const VariableSetting& setting : values_)
        machine.PresetVariable(setting.number, setting.value);
}

}  // namespace cuttrace::ui
