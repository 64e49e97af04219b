// The build tool that turns data/layouts.txt into KLXFF.LLO.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "common/TestSupport.h"
#include "labelpage/LabelLayout.h"

namespace {

class MkLayouts : public ::testing::Test {
 protected:
  // Runs the tool on the table text; returns its exit code.
  int Run(const QByteArray& table) {
    testsupport::WriteAll(TablePath(), table);
    QProcess tool;
    tool.start(testsupport::BinDir() + QStringLiteral("/../tools/mklayouts"), {TablePath(), OutputPath()});
    EXPECT_TRUE(tool.waitForFinished(30000));
    FErrors = QString::fromLocal8Bit(tool.readAllStandardError());
    return tool.exitCode();
  }
  QString TablePath() const { return FDir.filePath(QStringLiteral("layouts.txt")); }
  QString OutputPath() const { return FDir.filePath(QStringLiteral("KLXFF.LLO")); }

  QTemporaryDir FDir;
  QString FErrors;
};

const QByteArray Complete =
    "# comment\n"
    "\n"
    "[Sample, 2 x 3]\n"
    "LabelWidth = 2000\nLabelHeight = 1000\nHorizontalPitch = 2500\nVerticalPitch = 1250\n"
    "LeftMargin = 500\nTopMargin = 1000\nPaperSize = 1\nPageWidth = 8268\nPageHeight = 11693\n"
    "TextTop = 63\nTextLeft = 63\nTextBottom = 937\n  TextRight   =   1937  \n"
    "NumberAcross = 2\nNumberDown = 3\nReserved3 = -70000\n";

TEST_F(MkLayouts, WritesTheTableAsALayoutFile) {
  ASSERT_EQ(Run(Complete), 0) << FErrors.toStdString();
  TLabelLayoutArray layouts;
  LoadLLOFile(OutputPath().toStdString(), layouts);
  ASSERT_EQ(layouts.Count(), 1);
  EXPECT_EQ(layouts[1].LayoutName, "Sample, 2 x 3");
  EXPECT_EQ(layouts[1].TextRight, 1937);
  EXPECT_EQ(layouts[1].PaperSize, 1);
  EXPECT_EQ(layouts[1].Reserved3, -70000);
  EXPECT_EQ(layouts[1].StripeStyle, 0);
}

TEST_F(MkLayouts, RefusesAFaultyTableAndWritesNothing) {
  struct Case {
    QByteArray Table;
    const char* Message;
  };
  const Case cases[] = {
      {QByteArray(Complete).replace("  TextRight   =   1937  \n", ""),
       "layouts.txt:3: layout \"Sample, 2 x 3\" lacks TextRight"},
      {Complete + "Colour = 3\n", "layouts.txt:20: unknown field Colour"},
      {Complete + "TextTop = 5\n", "layouts.txt:20: field TextTop given twice"},
      {QByteArray(Complete).replace("= 2000", "= 2 in"), "layouts.txt:4: not a whole number: 2 in"},
      {QByteArray(Complete).replace("NumberDown = 3", "NumberDown = 101"), "needs 1 to 200 labels"},
      {"LabelWidth = 5\n", "layouts.txt:1: a field before the first [layout name]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.Table), 1) << c.Message;
    EXPECT_TRUE(FErrors.contains(QLatin1String(c.Message))) << FErrors.toStdString();
    EXPECT_FALSE(QFile::exists(OutputPath())) << c.Message;
  }
}

}  // namespace
