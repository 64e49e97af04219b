#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/TestSupport.h"
#include "platform/IniFile.h"

namespace {

using testsupport::ReadAll;
using testsupport::WriteAll;

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FDir.isValid()); }
  QString Path() const { return FDir.filePath("KLXFF.ini"); }
  QString Text() const { return QString::fromUtf8(ReadAll(Path())); }

  QTemporaryDir FDir;
};

struct TIntegerCase {
  const char* Text;
  int Expected;
};

TEST(IniFileInteger, DecimalHexadecimalAndTextThatIsNoNumber) {
  const TIntegerCase cases[] = {
      {"10", 10},         {"-7", -7},    {"+5", 5},    {"0x1F", 31},         {"0X1f", 31},
      {"0xFFFFFFFF", -1}, {"0x", -99},   {"abc", -99}, {"12abc", -99},       {"", -99},
      {"0x1G", -99},      {"0x-5", -99}, {"1.5", -99}, {"99999999999", -99}, {"0x100000000", -99},
  };
  for (const auto& c : cases) EXPECT_EQ(TIniFile::ParseInteger(c.Text, -99), c.Expected) << c.Text;
}

TEST_F(IniFileTest, ReadsIgnoreLetterCaseBlanksAndComments) {
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadString("Default Font", "Name", "Arial"), "Arial");  // no file yet
  EXPECT_FALSE(QFile::exists(Path()));
  WriteAll(Path(),
           "; kept by hand\r\n"
           "[zooming]\r\n"
           "  main =  80 \r\n"
           ";Prop=1\r\n"
           "[Hints]\r\n"
           "On=0\r\n"
           "[HINTS]\r\n"
           "On=1\r\n");
  EXPECT_EQ(ini.ReadInteger("Zooming", "MAIN", 100), 80);
  EXPECT_EQ(ini.ReadInteger("Zooming", "Prop", 30), 30);  // commented out
  EXPECT_FALSE(ini.ReadBool("hints", "on", true));        // the first section of a name counts
  EXPECT_EQ(ini.ReadSectionValues("ZOOMING"), QStringList{"main=80"});
  EXPECT_TRUE(ini.ReadSectionValues("MRU").isEmpty());
}

TEST_F(IniFileTest, ValuesAreReadUpTo1023Characters) {
  const QString longValue(2000, QLatin1Char('x'));
  TIniFile ini(Path());
  ini.WriteString("MRU", "F0", longValue);
  EXPECT_EQ(ini.ReadString("MRU", "F0", ""), longValue.left(1023));
}

TEST_F(IniFileTest, WritesKeepEverythingElseOfTheFile) {
  WriteAll(Path(),
           "; settings\r\n"
           "[Other]\r\n"
           "Key=kept as is  \r\n"
           "\r\n"
           "[Zooming]\r\n"
           "MAIN=90\r\n"
           "; a note\r\n"
           "\r\n"
           "[Last]\r\n"
           "X=1\r\n");
  TIniFile ini(Path());
  ini.WriteInteger("zooming", "Main", 70);  // replaced where it stands, spelling kept
  ini.WriteInteger("Zooming", "Prop", 30);  // a new key after the section's last line
  ini.WriteBool("Hints", "On", true);       // a new section at the end
  EXPECT_EQ(Text(),
            "; settings\r\n"
            "[Other]\r\n"
            "Key=kept as is  \r\n"
            "\r\n"
            "[Zooming]\r\n"
            "MAIN=70\r\n"
            "; a note\r\n"
            "Prop=30\r\n"
            "\r\n"
            "[Last]\r\n"
            "X=1\r\n"
            "\r\n"
            "[Hints]\r\n"
            "On=1\r\n");
}

TEST_F(IniFileTest, EraseSectionTakesOnlyThatSectionAndKeysStayInFileOrder) {
  WriteAll(Path(), "[MRU]\nF2=/b\nF0=/a\n[Printer]\nTopMarginNudge=5\n[mru]\nF9=/c\n");
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadSectionValues("MRU"), (QStringList{"F2=/b", "F0=/a"}));
  ini.EraseSection("Mru");
  EXPECT_EQ(Text(), "[Printer]\nTopMarginNudge=5\n");
  ini.WriteString("MRU", "F0", "/new");
  EXPECT_EQ(ini.ReadSectionValues("MRU"), QStringList{"F0=/new"});
  EXPECT_EQ(ini.ReadInteger("Printer", "TopMarginNudge", 0), 5);
}

TEST_F(IniFileTest, ALineBreakInAValueCannotStartAnotherKey) {
  TIniFile ini(Path());
  ini.WriteString("MRU", "F0", "/tmp/a\n[Printer]\nTopMarginNudge=999");
  EXPECT_EQ(ini.ReadInteger("Printer", "TopMarginNudge", 0), 0);
  EXPECT_EQ(ini.ReadSectionValues("MRU").size(), 1);
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenRaisesAndStaysWhole) {
  WriteAll(Path(), "[Zooming]\nMain=80\n");
  QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  testsupport::TWithoutFolderOverride asAUser;
  TIniFile ini(Path());
  try {
    ini.WriteInteger("Zooming", "Main", 60);
    FAIL() << "the write went through";
  } catch (const EIniFileError& error) {
    EXPECT_EQ(QString::fromLocal8Bit(error.what()), "Unable to write to " + Path());
  }
  EXPECT_THROW(ini.EraseSection("Zooming"), EIniFileError);
  EXPECT_EQ(Text(), "[Zooming]\nMain=80\n");

  // A folder that takes no files: nothing is left behind in it either.
  const QString locked = FDir.filePath("locked");
  QDir().mkdir(locked);
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
  EXPECT_THROW(TIniFile(locked + "/KLXFF.ini").WriteBool("Hints", "On", true), EIniFileError);
  EXPECT_TRUE(testsupport::FolderEntries(locked).isEmpty());
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
