#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "ProgramDataFolder.h"

namespace quor::testing {
namespace {

// The program's folder as a build folder has it (data beside the executable) and as an
// installation has it (bin/ and share/quor-generator/ under one prefix).
TEST(ProgramDataFolder, FindsTheDataOfTheBuildFolderAndOfAnInstalledCopy) {
  const struct {
    const char* layout;
    const char* program;  // the executable's folder
    QStringList folders;  // made below the temporary root
    const char* expected;
  } cases[] = {
      {"build folder", "app", {"app/help"}, "app/help"},
      {"installed", "bin", {"bin", "share/quor-generator/help"}, "share/quor-generator/help"},
      {"both: the one beside wins", "bin", {"bin/help", "share/quor-generator/help"}, "bin/help"},
      {"neither: the installed place", "bin", {"bin"}, "share/quor-generator/help"},
  };
  for (const auto& c : cases) {
    QTemporaryDir root;
    for (const QString& folder : c.folders) ASSERT_TRUE(QDir(root.path()).mkpath(folder));
    EXPECT_EQ(programDataFolder(root.filePath(c.program), "help"), root.filePath(c.expected))
        << c.layout;
  }
}

}  // namespace
}  // namespace quor::testing
