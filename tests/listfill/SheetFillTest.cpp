#include <gtest/gtest.h>

#include <algorithm>

#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/LabelTextFit.h"
#include "listfill/SheetFill.h"

namespace {

using labelpagetest::FileFolderSheet;
using labelpagetest::PutText;

std::vector<int> Range(int from, int to) {
  std::vector<int> labels;
  for (int n = from; n <= to; ++n) labels.push_back(n);
  return labels;
}

// The 30-label sheet with text in labels 6 and 9.
class SheetFillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSheet.Reset(FileFolderSheet());
    PutText(FSheet.Storage(6)->RtfText(), "Six");
    PutText(FSheet.Storage(9)->RtfText(), "Nine");
  }
  std::string Paragraphs(int n) {
    const TLabelDocument& text = *FSheet.CellText(n);
    std::string joined;
    for (int i = 0; i < text.ParagraphCount(); ++i) joined += (i ? "|" : "") + text.ParagraphText(i);
    return joined;
  }

  TLabelSheet FSheet;
};

TEST_F(SheetFillTest, PlansFromTheStartSkippingLabelsThatHoldTextUnlessReplacing) {
  struct TCase {
    int Entries;
    int Start;
    bool Replace;
    std::vector<int> Labels;
    int Unconvertible;
    QString Summary;
  };
  std::vector<int> rest = {5, 7, 8};
  for (int n : Range(10, 30)) rest.push_back(n);
  const TCase cases[] = {
      {5, 5, false, {5, 7, 8, 10, 11}, 0, "5 labels will be filled, labels 5 to 11"},
      {5, 5, true, Range(5, 9), 0, "5 labels will be filled, labels 5 to 9"},
      {30, 5, false, rest, 0, "24 labels will be filled, labels 5 to 30; 6 entries do not fit on this sheet"},
      {1, 30, false, {30}, 0, "1 label will be filled, label 30"},
      {2,
       30,
       false,
       {30},
       1,
       "1 label will be filled, label 30; 1 entry does not fit on this sheet\n"
       "1 character is not in the Windows-1252 character set and becomes \"?\""},
      {3,
       1,
       false,
       {1, 2, 3},
       4,
       "3 labels will be filled, labels 1 to 3\n"
       "4 characters are not in the Windows-1252 character set and become \"?\""},
      {0, 1, false, {}, 0, "The list holds no entries"},
  };
  for (const TCase& c : cases) {
    const TFillPlan plan = PlanFill(FSheet, c.Entries, c.Start, c.Replace);
    EXPECT_EQ(plan.Labels, c.Labels) << c.Summary.toStdString();
    EXPECT_EQ(FillSummary(plan, c.Unconvertible), c.Summary);
  }
  TLabelSheet full;
  full.Reset(labelpagetest::GridLayout(1, 2));
  PutText(full.Storage(2)->RtfText(), "Two");
  EXPECT_EQ(FillSummary(PlanFill(full, 3, 2, false), 0),
            "No label from label 2 on is free; 3 entries do not fit on this sheet");
}

TEST_F(SheetFillTest, WritesEachEntryInTheDefaultEditorFont) {
  TDefaultEditorFont font;
  font.Name = "Times New Roman";
  font.Size = 12;
  font.Bold = true;
  font.Underline = true;
  font.Color = 0x0000FF;  // red: entry 1 of the colour table
  const std::vector<std::string> entries = {"Alpha", "Beta\nGamma"};
  const TFillPlan plan = PlanFill(FSheet, 2, 5, false);
  const TFillResult result = FillSheet(FSheet, entries, plan, font);
  EXPECT_TRUE(result.CutLabels.empty());
  EXPECT_TRUE(result.Beyond.empty());
  EXPECT_EQ(Paragraphs(5), "Alpha");
  EXPECT_EQ(Paragraphs(6), "Six");
  EXPECT_EQ(Paragraphs(7), "Beta|Gamma");
  EXPECT_TRUE(FSheet.CellText(8)->IsEmpty());

  const TLabelDocument& text = *FSheet.CellText(7);
  for (TParagraph* par = text.FirstParagraph; par; par = par->Next) {
    const TAttr& attr = par->FirstLine->Attrs[0];
    EXPECT_EQ(text.Header.FontNames[attr.FontIndex], "Times New Roman");
    EXPECT_EQ(attr.Size, 12);
    EXPECT_EQ(attr.Style, kStyleBold | kStyleUnderline);
    EXPECT_EQ(attr.TextColor(), 1);
  }
  // Black is the last entry of the table that holds it, as the editor picks it.
  TAttr black{};
  TTextHeader header;
  ApplyDefaultFont(black, header, TDefaultEditorFont());
  EXPECT_EQ(black.TextColor(), 15);
  TDefaultEditorFont odd;
  odd.Color = 0x123456;
  ApplyDefaultFont(black, header, odd);
  EXPECT_EQ(black.TextColor(), 0);
}

TEST_F(SheetFillTest, CutsEntriesTallerThanTheLabelAndKeepsThoseBeyondTheSheet) {
  std::string tall = "Line 1";
  for (int i = 2; i <= 12; ++i) tall += "\nLine " + std::to_string(i);
  std::vector<std::string> entries = {"Short", tall};
  for (int i = 0; i < 23; ++i) entries.push_back("Entry " + std::to_string(i));
  entries.push_back("Last\nof all");
  const TFillPlan plan = PlanFill(FSheet, static_cast<int>(entries.size()), 1, false);
  const TFillResult result = FillSheet(FSheet, entries, plan, TDefaultEditorFont());

  EXPECT_EQ(result.CutLabels, std::vector<int>{2});
  EXPECT_EQ(CutReport(result.CutLabels), "Label 2 was cut to fit");
  TLabelTextFit fit(FSheet.LayoutDescription());
  EXPECT_TRUE(fit.Fits(*FSheet.CellText(2)));
  // The lines that fit, and not one more.
  std::string kept = Paragraphs(2);
  std::replace(kept.begin(), kept.end(), '|', '\n');
  ASSERT_LT(kept.size(), tall.size());
  EXPECT_EQ(tall.rfind(kept, 0), 0u);
  TWPRtfStorage oneMore;
  WriteLabelText(oneMore.RtfText(), tall.substr(0, tall.find('\n', kept.size() + 1)), TDefaultEditorFont());
  EXPECT_FALSE(fit.Fits(oneMore.RtfText()));
  EXPECT_EQ(Paragraphs(3), "Entry 0");

  // 26 entries, 28 free labels from label 1: every entry placed.
  EXPECT_TRUE(result.Beyond.empty());
  const TFillPlan second = PlanFill(FSheet, 4, 29, false);
  const std::vector<std::string> more = {"A", "B", "C\nD", "E"};
  const TFillResult overflow = FillSheet(FSheet, more, second, TDefaultEditorFont());
  EXPECT_EQ(overflow.Beyond, (std::vector<std::string>{"C\nD", "E"}));
  EXPECT_EQ(EntriesAsText(overflow.Beyond), "C\nD\n\nE\n");
  EXPECT_EQ(EntriesAsText({"x", "y"}), "x\ny\n");
}

TEST(CutReportTest, NamesTheLabels) {
  EXPECT_EQ(CutReport({}), "");
  EXPECT_EQ(CutReport({7, 12}), "Labels 7 and 12 were cut to fit");
  EXPECT_EQ(CutReport({3, 7, 12}), "Labels 3, 7 and 12 were cut to fit");
}

}  // namespace
