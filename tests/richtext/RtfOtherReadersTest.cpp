// What we write must open in other programs' RTF readers with the same text
// and formatting. unrtf (installed by the set-up scripts) turns our output
// into HTML, where fonts, sizes, colours, styles and alignment can be seen.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "common/TestSupport.h"
#include "richtext/RtfTextIo.h"

namespace {

QString ConvertedByUnrtf(const QString& rtfPath) {
  QProcess process;
  process.start(QStringLiteral("unrtf"), {QStringLiteral("--html"), rtfPath});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

TEST(RtfOtherReaders, UnrtfSeesOurTextFontsSizesColoursStylesAndAlignment) {
  if (QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty()) GTEST_SKIP() << "unrtf is not installed";
  QTemporaryDir dir;
  TWPRTFTextIo doc;
  doc.LoadFromFile(testsupport::DataFile(QStringLiteral("rtf/writer-rich.rtf")).toStdString());
  const QString written = dir.filePath(QStringLiteral("written.rtf"));
  doc.SaveToFile(written.toStdString());

  const QString html = ConvertedByUnrtf(written);
  ASSERT_FALSE(html.isEmpty());
  // Text, with the characters RTF must escape.
  for (const char* text : {"Plain ", "bold ", "italic ", "under ", "strike ", "{braces} \\ and &eacute;", "boxed",
                           "still boxed", "ruled", "shaded", "cell 0a", "cell 1b", "after the table"})
    EXPECT_TRUE(html.contains(QString::fromLatin1(text))) << text;
  // Fonts and sizes (HTML sizes: 10 pt is 2, 12 pt is 3, 24 pt is 6).
  EXPECT_TRUE(html.contains(QStringLiteral(R"(<font face="Times New Roman"><font size="3"><font color="#000000"><b>bold </b>)")));
  EXPECT_TRUE(html.contains(QStringLiteral(R"(<font face="Arial"><font size="6"><font color="#000000"><s>strike </s>)")));
  // Colours and styles.
  EXPECT_TRUE(html.contains(QStringLiteral(R"(<font color="#ff0000"><i>italic </i>)")));
  EXPECT_TRUE(html.contains(QStringLiteral("<u>under </u>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<sup>up</sup>")));
  // Alignment.
  EXPECT_TRUE(html.contains(QStringLiteral("<center>a")));
  EXPECT_TRUE(html.contains(QStringLiteral("<div align=\"right\">\nboxed")));
  EXPECT_TRUE(html.contains(QStringLiteral("<div align=\"justify\">\nprotected")));
  // A table of two rows of two cells.
  EXPECT_EQ(html.count(QStringLiteral("<tr>")), 3);
}
