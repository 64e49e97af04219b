#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "common/TestSupport.h"
#include "listfill/LabelList.h"

namespace {

using Entries = std::vector<std::string>;

class LabelListTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

  // The list as the file with these bytes gives it.
  TLabelList FromFile(const QByteArray& bytes, const TListOptions& options,
                      const QString& name = "list.txt") {
    const QString path = FDir.filePath(name);
    testsupport::WriteAll(path, bytes);
    return MakeLabelList(ReadListFile(path), options);
  }
  // The message reading the file raises, empty when none.
  std::string FileError(const QString& path, const TListOptions& options = {}) {
    try {
      MakeLabelList(ReadListFile(path), options);
    } catch (const EListError& error) {
      return error.what();
    }
    return {};
  }

  QTemporaryDir FDir;
};

TEST_F(LabelListTest, CsvColumnWithQuotesCommasLineBreaksByteOrderMarkAndHeading) {
  const QByteArray csv =
      "\xEF\xBB\xBF"
      "Id,Client,Folder,Year,Note\r\n"
      "1,\"Smith, Jane\",\"Taxes, \"\"personal\"\"\",2024,x\r\n"
      "2,Baker,\"Invoices\r\nQ1 and Q2\",2025,\r\n"
      "3,Lee,  Contracts  ,2026\r\n"
      "4,Ng\r\n"
      "5,Cho,\"\",2026,\r\n";
  TListOptions options;
  options.Csv = true;
  options.Column = 3;
  options.Heading = true;
  const TLabelList list = FromFile(csv, options, "clients.csv");
  // A short row and an empty field give no entry.
  EXPECT_EQ(list.Entries, (Entries{"Taxes, \"personal\"", "Invoices\nQ1 and Q2", "Contracts"}));
  EXPECT_EQ(list.Unconvertible, 0);

  options.Heading = false;
  EXPECT_EQ(FromFile(csv, options, "clients.csv").Entries.front(), "Folder");
  const std::vector<QStringList> rows = ParseCsv(ReadListFile(FDir.filePath("clients.csv")));
  EXPECT_EQ(rows.front(), (QStringList{"Id", "Client", "Folder", "Year", "Note"}));
  EXPECT_EQ(CsvColumnCount(rows), 5);

  options.Column = 6;
  try {
    FromFile(csv, options, "clients.csv");
    ADD_FAILURE() << "column 6 accepted";
  } catch (const EListError& error) {
    EXPECT_STREQ(error.what(), "Column 6 is out of range; the list has 5 columns");
  }
}

TEST_F(LabelListTest, TextByLinesOrByBlankLineSeparatedBlocks) {
  const QString text = "  Accounts Payable  \r\nReceivable\n\n\t\nTaxes 2026\nFederal\n\n\n";
  EXPECT_EQ(EntriesFromText(text, false).Entries,
            (Entries{"Accounts Payable", "Receivable", "Taxes 2026", "Federal"}));
  EXPECT_EQ(EntriesFromText(text, true).Entries,
            (Entries{"Accounts Payable\nReceivable", "Taxes 2026\nFederal"}));
  EXPECT_TRUE(EntriesFromText("", false).Entries.empty());
  EXPECT_TRUE(EntriesFromText(" \n\t\n", true).Entries.empty());
}

TEST_F(LabelListTest, TextBecomesWindows1252AndCountsWhatItLacks) {
  // UTF-8 with characters the code page has (é, €, curly quotes) and lacks (Ω, an emoji).
  const TLabelList utf8 =
      FromFile("Caf\xC3\xA9 \xE2\x82\xAC\n\xE2\x80\x9CQ\xE2\x80\x9D \xCE\xA9 \xF0\x9F\x93\x81\n", {});
  EXPECT_EQ(utf8.Entries, (Entries{"Caf\xE9 \x80", "\x93Q\x94 ? ?"}));
  EXPECT_EQ(utf8.Unconvertible, 2);
  // Bytes that are no UTF-8 are Windows-1252 already.
  EXPECT_EQ(FromFile("Caf\xE9 \x80\n", {}).Entries, (Entries{"Caf\xE9 \x80"}));
  // UTF-16 with its byte-order mark.
  EXPECT_EQ(FromFile(QByteArray("\xFF\xFE"
                                "A\0\xE9\0\n\0B\0",
                                10),
                     {})
                .Entries,
            (Entries{"A\xE9", "B"}));
  // Control characters are no label text.
  EXPECT_EQ(EntriesFromText(QString("A\x01"
                                    "B\x7F"
                                    "C"),
                            false)
                .Entries,
            (Entries{"A B C"}));
}

TEST_F(LabelListTest, BadFilesAreRefusedWithAReason) {
  TListOptions csv;
  csv.Csv = true;
  struct TCase {
    const char* Name;
    QByteArray Bytes;
    TListOptions Options;
    std::string Error;  // after the path
  };
  const TCase cases[] = {
      {"empty.txt", "", {}, ""},
      {"binary.txt", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), {}, " is not a text file"},
      {"quotes.csv", "a,b\nc,\"d\ne,f\ng,h\n", csv, "Unbalanced quotes in line 2"},
      {"stray.csv", "a,b\n\n\"c\" d,e\n", csv, "Unbalanced quotes in line 3"},
      {"closed.csv", "a,\"b\nc\",d\ne,\"f\n", csv, "Unbalanced quotes in line 3"},
  };
  for (const TCase& c : cases) {
    const QString path = FDir.filePath(c.Name);
    testsupport::WriteAll(path, c.Bytes);
    const std::string expected =
        c.Error.empty() || c.Error[0] != ' ' ? c.Error : path.toStdString() + c.Error;
    EXPECT_EQ(FileError(path, c.Options), expected) << c.Name;
  }
  EXPECT_EQ(FileError(FDir.filePath("none.txt")),
            "Unable to read " + FDir.filePath("none.txt").toStdString() + ": No such file or directory");
  EXPECT_EQ(FileError(FDir.path()), "Unable to read " + FDir.path().toStdString() + ": it is a folder");
}

TEST_F(LabelListTest, HugeFilesAndLinesAreReadWithinLimits) {
  // 100 MB (sparse): refused after reading no more than the limit.
  const QString huge = FDir.filePath("huge.txt");
  {
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(100LL * 1024 * 1024));
  }
  EXPECT_EQ(FileError(huge), huge.toStdString() + " is too large for a list (more than 10 MB)");

  // Lines of 100,000 characters: kept to the longest line the engine holds.
  const QByteArray line(100000, 'W');
  const TLabelList text = FromFile(line + "\n" + line + "\n", {});
  ASSERT_EQ(text.Entries.size(), 2u);
  EXPECT_EQ(text.Entries[0].size(), static_cast<std::size_t>(kMaxEntryLength));
  TListOptions csv;
  csv.Csv = true;
  csv.Column = 2;
  const TLabelList fields = FromFile("a,\"" + line + "\"\n", csv, "long.csv");
  ASSERT_EQ(fields.Entries.size(), 1u);
  EXPECT_EQ(fields.Entries[0], std::string(kMaxEntryLength, 'W'));
}

}  // namespace
