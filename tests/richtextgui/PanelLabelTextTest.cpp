// The page panel shows every label's text, painted through its hidden editor.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "labelpage/KLXPagePanel.h"
#include "labelpage/LabelPageTestSupport.h"
#include "richtextgui/PaintTestSupport.h"

namespace {

using painttest::LoadRtf;

TLabelLayoutRecord FileFolderSheet() { return labelpagetest::FileFolderSheet("File folder 2 x 15"); }

QImage Grab(TKLXPagePanel& panel) { return panel.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRect ToRect(const TCellRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

class PanelLabelText : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(PanelLabelText, LabelTextIsPaintedInsideItsTextArea) {
  TKLXPagePanel panel;
  panel.SetPixelsPerInch(96);
  panel.AddLayout(FileFolderSheet());
  panel.SetLayout("File folder 2 x 15", false);
  panel.SetMagnification(GetParam());
  ASSERT_FALSE(panel.PaintEditor()->isVisible());
  const QImage before = Grab(panel);

  LoadRtf(panel.Storage(3)->RtfText(),
          "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Accounts \\b Payable\\b0\\par "
          "\\i 2026\\i0  \\ul Q3\\ul0\\par}");
  const QImage after = Grab(panel);

  const QRect free = ToRect(panel.Cell(3).rFree);
  int inked = 0, changedOutside = 0;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x) {
      const bool inside = free.contains(x, y);
      if (inside && qGray(after.pixel(x, y)) < 128) ++inked;
      if (!inside && after.pixel(x, y) != before.pixel(x, y)) ++changedOutside;
    }
  EXPECT_GT(inked, 50);
  EXPECT_EQ(changedOutside, 0);
  // The text starts at the text area's top-left corner.
  QRect ink;
  for (int y = free.top(); y <= free.bottom(); ++y)
    for (int x = free.left(); x <= free.right(); ++x)
      if (qGray(after.pixel(x, y)) < 160) ink |= QRect(x, y, 1, 1);
  EXPECT_LE(ink.left() - free.left(), 3);
  EXPECT_LE(ink.top() - free.top(), 6);
  // Two lines of 12-point text, scaled with the zoom.
  EXPECT_GT(ink.height(), 16 * GetParam() / 100);
  // Set TABWRIGHT_SCREENSHOTS to a folder to keep the picture.
  const QString folder = qEnvironmentVariable("TABWRIGHT_SCREENSHOTS");
  if (!folder.isEmpty())
    after.save(QDir(folder).filePath(QStringLiteral("label-text-%1.png").arg(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Zoom, PanelLabelText, ::testing::Values(100, 60));

TEST(PanelLabelTextEmpty, EmptyLabelWithABorderedParagraphShowsItsBorder) {
  TKLXPagePanel panel;
  panel.SetPixelsPerInch(96);
  panel.AddLayout(FileFolderSheet());
  panel.SetLayout("File folder 2 x 15", false);
  const QImage before = Grab(panel);
  TWPRTFTextIo& doc = panel.Storage(2)->RtfText();
  ASSERT_TRUE(doc.IsEmpty());
  doc.FirstParagraph->BorderFlags = kBorderOn | kBorderBox;
  const QImage after = Grab(panel);
  const QRect free = ToRect(panel.Cell(2).rFree);
  int inked = 0;
  for (int y = free.top(); y <= free.bottom(); ++y)
    for (int x = free.left(); x <= free.right(); ++x)
      if (qGray(after.pixel(x, y)) < 128 && after.pixel(x, y) != before.pixel(x, y)) ++inked;
  EXPECT_GT(inked, 100);  // the top and bottom edges across the text area
}

TEST(PanelPaintEditor, IsAHiddenChildThatNeverPaintsItself) {
  TKLXPagePanel panel;
  TWPRichText* editor = panel.PaintEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->parentWidget(), &panel);
  EXPECT_EQ(editor->geometry(), QRect(1300, 0, 50, 50));
  EXPECT_FALSE(editor->isVisible());
  EXPECT_FALSE(editor->RtfText()->PaintingAllowed);
}

TEST(PanelLabelTextEmpty, LabelThatCannotBeLaidOutStaysWhiteAndTheOthersShow) {
  TKLXPagePanel panel;
  panel.SetPixelsPerInch(96);
  panel.AddLayout(FileFolderSheet());
  panel.SetLayout("File folder 2 x 15", false);
  LoadRtf(panel.Storage(1)->RtfText(),
          "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Broken\\par}");
  panel.Storage(1)->RtfText().FirstParagraph->FirstLine->Attrs[0].FontIndex = 120;  // names no slot
  LoadRtf(panel.Storage(2)->RtfText(), "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Fine\\par}");
  const QImage image = Grab(panel);
  auto inked = [&image](const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) count += qGray(image.pixel(x, y)) < 128;
    return count;
  };
  EXPECT_EQ(inked(ToRect(panel.Cell(1).rFree)), 0);
  EXPECT_GT(inked(ToRect(panel.Cell(2).rFree)), 20);
  EXPECT_FALSE(panel.PaintEditor()->RtfText()->PaintOptions() & wppo::ForeignCanvas);
}
