#include "ui/support/ProgramFolder.h"

#include <QFile>

namespace cuttrace::test {

std::string ProgramFolder::Write(const QString& name, const std::string& text) {
    QFile file(dir_.filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(text.data(), static_cast<qint64>(text.size()));
    return PathOf(name);
}

std::string ProgramFolder::PathOf(const QString& name) const {
    return QFile::encodeName(dir_.filePath(name)).toStdString();
}

}  // namespace cuttrace::test
