// A temporary folder holding the NC programs of a test.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

namespace cuttrace::test {

class ProgramFolder {
  public:
    // Writes text (bytes as given) to name in the folder and returns the path.
    std::string Write(const QString& name, const std::string& text);
    std::string PathOf(const QString& name) const;
    QString Path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};

}  // namespace cuttrace::test
