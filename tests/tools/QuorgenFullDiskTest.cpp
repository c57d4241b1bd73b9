// quorgen render onto a disk that fills up: a small memory file system of its own, mounted in a
// private mount namespace, so that neither root's nor anyone's file systems are touched.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace quor::tools {
namespace {

struct FullDiskRender {
  bool mounted = false;
  int exitCode = -1;
  QString standardError;
  QStringList filesLeft;  // on the small disk after the render
  QString keptText;       // the file that was there before
};

// Mounts a 64 KiB disk on `folder` in a namespace of its own, puts a file there, renders a
// five-second tone beside it and lists what is left; the disk goes with the namespace.
FullDiskRender renderOntoFullDisk(const QString& folder) {
  const char* script = R"sh(
    mount -t tmpfs -o size=64k tmpfs "$1" || exit 100
    printf 'keep me' >"$1/kept.wav"
    "$2" render --period 5 -o "$1/tone.wav"
    status=$?
    echo "files: $(ls -A "$1" | tr '\n' ' ')"
    echo "kept: $(cat "$1/kept.wav")"
    exit $status)sh";
  QProcess shell;
  shell.start("unshare",
              {"--mount", "--map-root-user", "sh", "-c", script, "render", folder, QUORGEN_PATH});
  shell.waitForFinished(60000);
  FullDiskRender result;
  result.exitCode = shell.exitCode();
  result.mounted = shell.exitStatus() == QProcess::NormalExit && result.exitCode != 100;
  result.standardError = QString::fromLocal8Bit(shell.readAllStandardError());
  for (const QString& line : QString::fromLocal8Bit(shell.readAllStandardOutput()).split('\n')) {
    if (line.startsWith("files: ")) result.filesLeft = line.mid(7).split(' ', Qt::SkipEmptyParts);
    if (line.startsWith("kept: ")) result.keptText = line.mid(6);
  }
  return result;
}

TEST(QuorgenFullDisk, ARenderThatFillsTheDiskSaysIoErrorAndLeavesNoFileBehind) {
  if (QStandardPaths::findExecutable("unshare").isEmpty()) GTEST_SKIP() << "no unshare";
  QTemporaryDir folder;
  const FullDiskRender render = renderOntoFullDisk(folder.path());
  if (!render.mounted) {
    if (qEnvironmentVariableIsSet("CI")) FAIL() << render.standardError.toStdString();
    GTEST_SKIP() << "this machine allows no private mount: " << render.standardError.toStdString();
  }
  EXPECT_EQ(render.exitCode, 1);
  // 28 is the C library's number for a full disk.
  EXPECT_TRUE(render.standardError.contains(folder.path() + "/tone.wav: I/O error 28"))
      << render.standardError.toStdString();
  EXPECT_EQ(render.filesLeft, QStringList{"kept.wav"});
  EXPECT_EQ(render.keptText, "keep me");
  EXPECT_TRUE(QDir(folder.path()).isEmpty());  // the disk went with its namespace
}

}  // namespace
}  // namespace quor::tools
