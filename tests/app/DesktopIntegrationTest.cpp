// `cmake --install` puts the program on the desktop: an entry that validates
// and opens label page files, the file type for *.KLX and the icon.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "common/TestSupport.h"

namespace {

QString RunTool(const QString& program, const QStringList& arguments, int* status) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  process.waitForFinished(120000);
  *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return QString::fromLocal8Bit(process.readAll());
}

TEST(DesktopIntegration, InstalledEntryFileTypeAndIcons) {
  const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
  ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate is missing (scripts/setup.sh installs it)";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // A blank in the prefix: the entry must quote the program's path.
  const QString prefix = dir.filePath("my programs");
  int status = 0;
  const QString log = RunTool("cmake", {"--install", TABWRIGHT_BINARY_DIR, "--prefix", prefix}, &status);
  ASSERT_EQ(status, 0) << log.toStdString();

  const QString entry = prefix + "/share/applications/tabwright.desktop";
  const QString verdict = RunTool(validator, {entry}, &status);
  EXPECT_EQ(status, 0) << verdict.toStdString();
  EXPECT_EQ(verdict, "");
  const QString text = QString::fromUtf8(testsupport::ReadAll(entry));
  EXPECT_TRUE(text.contains("\nExec=\"" + prefix + "/bin/tabwright\" %f\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("\nMimeType=application/x-tabwright-label-page;\n"));

  // The file type matches *.klx in any letter case and opens with the entry.
  const QString globs = QString::fromUtf8(testsupport::ReadAll(prefix + "/share/mime/globs2"));
  EXPECT_TRUE(globs.contains("application/x-tabwright-label-page:*.klx\n"));
  const QString types =
      QString::fromUtf8(testsupport::ReadAll(prefix + "/share/mime/packages/tabwright-label-page.xml"));
  EXPECT_TRUE(types.contains("<comment>Label Page File</comment>"));
  EXPECT_TRUE(QString::fromUtf8(testsupport::ReadAll(prefix + "/share/applications/mimeinfo.cache"))
                  .contains("application/x-tabwright-label-page=tabwright.desktop;"));

  for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QImage icon(
        QStringLiteral("%1/share/icons/hicolor/%2x%2/apps/tabwright.png").arg(prefix).arg(side));
    EXPECT_EQ(icon.size(), QSize(side, side)) << side;
  }
}

}  // namespace
