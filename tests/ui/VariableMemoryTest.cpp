#include "ui/VariableMemory.h"

#include <gtest/gtest.h>

#include <QFile>

#include "machines/NcMachine.h"
#include "support/TempFiles.h"

namespace cuttrace::ui {
namespace {

using test::TempFolder;

TEST(VariableMemoryTest, KeepsTheCommonsFromMachineToMachineAndFile) {
    TempFolder dir;
    const QString path = QString::fromStdString(dir.Path("Kv/Nc/variables.txt"));
    auto first = CreateMachine(Dialect::Fanuc);
    first->Variables().SetCommon(500, 1.25);
    first->Variables().SetCommon(999, -3.0);
    first->Variables().SetCommon(700, 0.0);  // a stored 0 is kept; vacant ones are not
    first->Variables().SetCommon(499, 7.0);  // not kept
    VariableMemory memory;
    memory.Capture(*first);
    QString error;
    ASSERT_TRUE(memory.Save(path, error)) << error.toStdString();
    EXPECT_EQ(test::ReadWholeFile(path.toStdString()), "#500=1.25\n#700=0\n#999=-3\n");

    VariableMemory restored;
    ASSERT_TRUE(restored.Load(path, error));
    auto second = CreateMachine(Dialect::Meldas);
    restored.ApplyTo(*second);
    EXPECT_EQ(second->Variables().Common(500), 1.25);
    EXPECT_EQ(second->Variables().Common(999), -3.0);
    EXPECT_FALSE(second->Variables().CommonVacant(700));
    EXPECT_TRUE(second->Variables().CommonVacant(499));

    // A damaged file is named and changes nothing; a missing one is no error.
    dir.Write("Kv/Nc/variables.txt", "#500=1\n#501=x\n");
    EXPECT_FALSE(restored.Load(path, error));
    EXPECT_TRUE(error.contains("line 2")) << error.toStdString();
    EXPECT_EQ(restored.Values().size(), 3u);
    EXPECT_TRUE(restored.Load(QString::fromStdString(dir.Path("none.txt")), error));

    // The file lives in the data folder (tests see Qt's test location, never the user's).
    EXPECT_TRUE(
        VariableMemory::DefaultPath().endsWith(QStringLiteral("/share/Kv/Nc/variables.txt")))
        << VariableMemory::DefaultPath().toStdString();
}

}  // namespace
}  // namespace cuttrace::ui
