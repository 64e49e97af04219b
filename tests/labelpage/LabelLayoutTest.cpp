#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#include "common/TestSupport.h"
#include "labelpage/LabelLayout.h"
#include "labelpage/LabelSheet.h"
#include "labelpage/TaggedValueStream.h"

namespace {

TLabelLayoutRecord MakeLayout(const std::string& name, int across = 2, int down = 3) {
  TLabelLayoutRecord layout;
  layout.LayoutName = name;
  layout.LabelWidth = 2500;
  layout.LabelHeight = 750;
  layout.HorizontalPitch = 2750;
  layout.VerticalPitch = 1000;
  layout.LeftMargin = 250;
  layout.TopMargin = 500;
  layout.PageWidth = 8500;
  layout.PageHeight = 11000;
  layout.TextTop = 63;
  layout.TextLeft = 63;
  layout.TextBottom = 687;
  layout.TextRight = 2437;
  layout.NumberAcross = across;
  layout.NumberDown = down;
  layout.Reserved1 = -7;
  layout.Reserved2 = 70000;
  layout.Reserved3 = 3;
  layout.Reserved4 = -40000;
  return layout;
}

// Builds the bytes of a layout file with the program's writer.
class TLayoutFileBuilder {
 public:
  TLayoutFileBuilder() : FWriter(FStream) {
    FWriter.WriteListBegin();
    FWriter.WriteInteger(1);
    FWriter.WriteInteger(33);
    FWriter.WriteListEnd();
  }
  TLayoutFileBuilder& Entry(const TLabelLayoutRecord& layout, bool closed = true) {
    FWriter.WriteListBegin();
    WriteLayout(FWriter, layout);
    if (closed) FWriter.WriteListEnd();
    return *this;
  }
  TLayoutFileBuilder& Raw(const std::string& bytes) {
    FStream.WriteString(bytes);
    return *this;
  }
  TTaggedValueWriter& Writer() { return FWriter; }
  const std::string& Bytes() const { return FStream.Data(); }

 private:
  TMemoryStream FStream;
  TTaggedValueWriter FWriter;
};

class LayoutFile : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& bytes) {
    const QString path = FDir.filePath(QStringLiteral("KLXFF.LLO"));
    testsupport::WriteAll(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return path.toStdString();
  }
  TLabelLayoutArray Load(const std::string& bytes) {
    TLabelLayoutArray layouts;
    LoadLLOFile(PathOf(bytes), layouts);
    return layouts;
  }
  std::string ErrorOf(const std::string& bytes, TLabelLayoutArray& layouts) {
    try {
      LoadLLOFile(PathOf(bytes), layouts);
    } catch (const EStreamError& error) {
      return error.what();
    }
    return "no error";
  }
  QTemporaryDir FDir;
};

TEST_F(LayoutFile, WriteThenLoadKeepsEveryFieldInOrder) {
  TLabelLayoutRecord wide = MakeLayout("Wide values");
  for (std::size_t i = 0; i < LayoutIntegerFields.size(); ++i)
    wide.*LayoutIntegerFields[i].Member = static_cast<std::int32_t>(i * 1000 - 5000);
  wide.NumberAcross = 4;
  wide.NumberDown = 5;
  const std::string path = FDir.filePath(QStringLiteral("saved.llo")).toStdString();
  SaveLLOFile(path, {MakeLayout("First"), wide});
  TLabelLayoutArray layouts;
  LoadLLOFile(path, layouts);
  ASSERT_EQ(layouts.Count(), 2);
  EXPECT_EQ(layouts[1], MakeLayout("First"));
  EXPECT_EQ(layouts[2], wide);
}

TEST_F(LayoutFile, HeaderOnlyGivesAnEmptyTable) { EXPECT_EQ(Load(TLayoutFileBuilder().Bytes()).Count(), 0); }

TEST_F(LayoutFile, ABadHeaderFailsWithNothingLoaded) {
  TLabelLayoutArray layouts;
  TLayoutFileBuilder wrongTag;
  std::string bytes = wrongTag.Entry(MakeLayout("A")).Bytes();
  bytes[0] = 0x02;
  EXPECT_EQ(ErrorOf(bytes, layouts), "Invalid property value");
  EXPECT_EQ(ErrorOf(std::string("\x01\x02\x01", 3), layouts), "Stream read error");
  EXPECT_EQ(ErrorOf("", layouts), "Stream read error");
  EXPECT_EQ(layouts.Count(), 0);
}

TEST_F(LayoutFile, AMissingFileCannotBeOpened) {
  TLabelLayoutArray layouts;
  const std::string path = FDir.filePath(QStringLiteral("absent/KLXFF.LLO")).toStdString();
  try {
    LoadLLOFile(path, layouts);
    FAIL() << "no error";
  } catch (const EStreamError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
  }
}

TEST_F(LayoutFile, AnEntryCountsOnceItsFieldsAreRead) {
  // The last entry lacks its closing end-of-list byte.
  auto layouts = Load(TLayoutFileBuilder().Entry(MakeLayout("A")).Entry(MakeLayout("B"), false).Bytes());
  ASSERT_EQ(layouts.Count(), 2);
  EXPECT_EQ(layouts[2].LayoutName, "B");

  // A wrong closing byte keeps that entry and ends the reading.
  layouts =
      Load(TLayoutFileBuilder().Entry(MakeLayout("A"), false).Raw("\x05").Entry(MakeLayout("C")).Bytes());
  ASSERT_EQ(layouts.Count(), 1);
  EXPECT_EQ(layouts[1].LayoutName, "A");
}

TEST_F(LayoutFile, AnEntryCutShortIsDropped) {
  TLayoutFileBuilder builder;
  builder.Entry(MakeLayout("A")).Entry(MakeLayout("B"));
  builder.Writer().WriteListBegin();
  builder.Writer().WriteString("Cut short");
  for (int i = 0; i < 10; ++i) builder.Writer().WriteInteger(1000);
  const auto layouts = Load(builder.Bytes());
  ASSERT_EQ(layouts.Count(), 2);
  EXPECT_EQ(layouts[2].LayoutName, "B");
  EXPECT_EQ(layouts.FindFirst("Cut short"), nullptr);
}

TEST_F(LayoutFile, ReadsWideIntegerFormsAndLongNames) {
  TLayoutFileBuilder builder;
  builder.Raw(std::string("\x01\x0C\x05\x00\x00\x00Wide!", 11));
  const TLabelLayoutRecord expected = MakeLayout("Wide!");
  for (const auto& field : LayoutIntegerFields) {
    const auto v = static_cast<std::uint32_t>(expected.*field.Member);
    builder.Raw(std::string{'\x04', static_cast<char>(v), static_cast<char>(v >> 8),
                            static_cast<char>(v >> 16), static_cast<char>(v >> 24)});
  }
  builder.Raw(std::string(1, '\0'));
  const std::string longName(300, 'L');
  builder.Entry(MakeLayout(longName));
  const auto layouts = Load(builder.Bytes());
  ASSERT_EQ(layouts.Count(), 2);
  EXPECT_EQ(layouts[1], expected);
  EXPECT_EQ(layouts[2].LayoutName, longName);
}

TEST_F(LayoutFile, KeepsTheFirstFiftyUsableEntriesAndSkipsImpossibleSheets) {
  TLayoutFileBuilder builder;
  builder.Entry(MakeLayout("Zero across", 0, 5)).Entry(MakeLayout("Too many", 15, 15));
  builder.Entry(MakeLayout("Negative", -1, -5)).Entry(MakeLayout("Full", 10, 20));
  for (int i = 2; i <= 55; ++i) builder.Entry(MakeLayout("L" + std::to_string(i)));
  const auto layouts = Load(builder.Bytes());
  ASSERT_EQ(layouts.Count(), MaxLayouts);
  EXPECT_EQ(layouts[1].LayoutName, "Full");
  EXPECT_EQ(layouts[50].LayoutName, "L50");
  EXPECT_EQ(layouts.FindFirst("Zero across"), nullptr);
  EXPECT_EQ(layouts.FindFirst("Too many"), nullptr);
  EXPECT_EQ(layouts.FindFirst("L51"), nullptr);
}

TEST_F(LayoutFile, LoadingAppendsToTheTable) {
  TLabelLayoutArray layouts;
  const std::string path = PathOf(TLayoutFileBuilder().Entry(MakeLayout("A")).Bytes());
  LoadLLOFile(path, layouts);
  LoadLLOFile(path, layouts);
  EXPECT_EQ(layouts.Count(), 2);
}

TEST(LayoutNames, CompareUpperCasingAsciiLettersOnly) {
  EXPECT_TRUE(SameLayoutName("Folder size 2", "FOLDER SIZE 2"));
  EXPECT_FALSE(SameLayoutName("Size 2", "Size 2 "));
  EXPECT_FALSE(SameLayoutName("\xE9t\xE9", "\xC9T\xC9"));
}

TEST_F(LayoutFile, DescriptionUsesTheFirstMatchAndTheLayoutChangeTheLast) {
  TLabelLayoutRecord first = MakeLayout("Folder Labels", 2, 3);
  TLabelLayoutRecord second = MakeLayout("FOLDER labels", 3, 4);
  TLabelLayoutArray layouts;
  LoadLLOFile(PathOf(TLayoutFileBuilder().Entry(first).Entry(second).Bytes()), layouts);
  ASSERT_EQ(layouts.Count(), 2);

  QStringList lines;
  DescribeLayout(layouts, "folder labels", lines);
  ASSERT_EQ(lines.size(), 7);
  EXPECT_EQ(lines[0], QStringLiteral("Number Across  :  2"));
  TLabelSheet sheet;
  sheet.SetLayout(layouts.FindLast("folder labels"), false);
  EXPECT_EQ(sheet.LayoutDescription().NumberAcross, 3);
  EXPECT_EQ(sheet.LabelsPerPage(), 12);
}

class Description : public ::testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale::c()); }
  void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(Description, ListsTheLayoutInInches) {
  TLabelLayoutArray layouts;
  TLabelLayoutRecord layout = MakeLayout("Sheet");
  layout.LabelWidth = 3438;
  layout.LabelHeight = 667;
  layout.LeftMargin = 125;
  layout.TopMargin = -63;
  layout.NumberDown = 15;
  layouts.Add(layout);
  QStringList lines{QStringLiteral("old")};
  DescribeLayout(layouts, "SHEET", lines);
  const QStringList expected = {
      QStringLiteral("Number Across  :  2"),         QStringLiteral("Number Down  :  15"),
      QStringLiteral("Label Width  :  3.44 inches"), QStringLiteral("Label Height  :  0.67 inches"),
      QStringLiteral("Left Margin  :  0.13 inches"), QStringLiteral("Top Margin  :  -0.06 inches"),
      QStringLiteral("Paper Size  :  Letter")};
  EXPECT_EQ(lines, expected);
}

TEST_F(Description, NamesEachPaperSizeAndOmitsUnknownOnes) {
  const char* const names[] = {"Letter", "A4", "Letter Landscape", "A4 Landscape"};
  for (int paper = 0; paper <= 4; ++paper) {
    TLabelLayoutArray layouts;
    TLabelLayoutRecord layout = MakeLayout("P");
    layout.PaperSize = paper == 4 ? 7 : paper;
    layouts.Add(layout);
    QStringList lines;
    DescribeLayout(layouts, "P", lines);
    if (paper == 4) {
      EXPECT_EQ(lines.size(), 6);
    } else {
      ASSERT_EQ(lines.size(), 7);
      EXPECT_EQ(lines[6], QStringLiteral("Paper Size  :  ") + QLatin1String(names[paper]));
    }
  }
}

TEST_F(Description, AnUnknownNameLeavesTheLinesAlone) {
  TLabelLayoutArray layouts;
  layouts.Add(MakeLayout("Known"));
  QStringList lines{QStringLiteral("kept")};
  DescribeLayout(layouts, "Unknown", lines);
  EXPECT_EQ(lines, QStringList{QStringLiteral("kept")});
}

TEST_F(Description, FormatsInchesWithTwoDecimalsAndTheUsersSeparator) {
  EXPECT_EQ(FormatInches(2500), QStringLiteral("2.50"));
  EXPECT_EQ(FormatInches(750), QStringLiteral("0.75"));
  EXPECT_EQ(FormatInches(-63), QStringLiteral("-0.06"));
  EXPECT_EQ(FormatInches(125), QStringLiteral("0.13"));
  EXPECT_EQ(FormatInches(-4), QStringLiteral("0.00"));
  EXPECT_EQ(FormatInches(123456), QStringLiteral("123.46"));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(FormatInches(2500), QStringLiteral("2,50"));
  EXPECT_EQ(FormatInches(11693), QStringLiteral("11,69"));
}

// The layout file built from data/layouts.txt.
TEST(ShippedLayoutFile, ListsEveryPromisedSheet) {
  struct Sheet {
    const char* Name;
    int W, H, X0, Y0, Dx, Dy, Across, Down, Paper, Stripe;
  };
  const Sheet sheets[] = {
      {"File folder 3-7/16 x 2/3 in, 30 per sheet, Letter, plain", 3438, 667, 531, 500, 4000, 667, 2, 15, 0,
       0},
      {"File folder 3-7/16 x 2/3 in, 30 per sheet, Letter, segmented stripe", 3438, 667, 531, 500, 4000, 667,
       2, 15, 0, 1},
      {"File folder 3-7/16 x 2/3 in, 30 per sheet, Letter, full stripe", 3438, 667, 531, 500, 4000, 667, 2,
       15, 0, 2},
      {"File folder 3-7/16 x 15/16 in, 18 per sheet, Letter", 3438, 938, 498, 511, 4067, 1130, 2, 9, 0, 0},
      {"File folder 3 x 5/8 in, 32 per sheet, Letter", 3000, 625, 844, 500, 3813, 625, 2, 16, 0, 0},
      {"File folder 3-1/2 x 3/4 in, 24 per sheet, Letter", 3500, 750, 188, 313, 4625, 875, 2, 12, 0, 0},
      {"Lever-arch file spine 192 x 38 mm, 7 per sheet, A4", 7559, 1496, 354, 608, 7559, 1496, 1, 7, 1, 0},
      {"Address 1 x 2-5/8 in, 30 per sheet, Letter", 2625, 1000, 156, 500, 2781, 1000, 3, 10, 0, 0},
      {"Address 2 x 4 in, 10 per sheet, Letter", 4000, 2000, 163, 500, 4188, 2000, 2, 5, 0, 0},
      {"Address 63.5 x 38.1 mm, 21 per sheet, A4", 2519, 1500, 294, 610, 2600, 1500, 3, 7, 1, 0},
  };
  TLabelLayoutArray layouts;
  LoadLLOFile((testsupport::BinDir() + QStringLiteral("/KLXFF.LLO")).toStdString(), layouts);
  EXPECT_EQ(layouts.Count(), static_cast<int>(std::size(sheets)));
  for (const Sheet& s : sheets) {
    const TLabelLayoutRecord* l = layouts.FindFirst(s.Name);
    ASSERT_NE(l, nullptr) << s.Name;
    EXPECT_EQ(
        std::vector<int>({l->LabelWidth, l->LabelHeight, l->LeftMargin, l->TopMargin, l->HorizontalPitch,
                          l->VerticalPitch, l->NumberAcross, l->NumberDown, l->PaperSize, l->StripeStyle}),
        std::vector<int>({s.W, s.H, s.X0, s.Y0, s.Dx, s.Dy, s.Across, s.Down, s.Paper, s.Stripe}))
        << s.Name;
    EXPECT_EQ(l->PageWidth, s.Paper == 0 ? 8500 : 8268) << s.Name;
    EXPECT_EQ(l->PageHeight, s.Paper == 0 ? 11000 : 11693) << s.Name;
    // The text area keeps clear of the label's edges, and of the stripe.
    EXPECT_GE(l->TextLeft, 50) << s.Name;
    EXPECT_LE(l->TextRight, l->LabelWidth - 50) << s.Name;
    EXPECT_GE(l->TextTop, l->StripeStyle != 0 ? 180 : 50) << s.Name;
    EXPECT_LE(l->TextBottom, l->LabelHeight - 50) << s.Name;
    // Every label lies on the page.
    EXPECT_LE(l->LeftMargin + (l->NumberAcross - 1) * l->HorizontalPitch + l->LabelWidth, l->PageWidth)
        << s.Name;
    EXPECT_LE(l->TopMargin + (l->NumberDown - 1) * l->VerticalPitch + l->LabelHeight, l->PageHeight)
        << s.Name;
  }
}

}  // namespace
