// The page panel shows every label's text through the label renderer.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include "labelpage/KLXPagePanel.h"
#include "labelpage/LabelPageTestSupport.h"

namespace {

using labelpagetest::LabelRtf;
using labelpagetest::PutRtf;

QImage Grab(TKLXPagePanel& panel) { return panel.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRect ToRect(const TCellRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

int Inked(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) count += qGray(image.pixel(x, y)) < 128;
  return count;
}

class PanelLabelText : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    FPanel.SetPixelsPerInch(96);
    FPanel.AddLayout(labelpagetest::FileFolderSheet("File folder 2 x 15"));
    FPanel.SetLayout("File folder 2 x 15", false);
  }
  TKLXPagePanel FPanel;
};

}  // namespace

TEST_P(PanelLabelText, LabelTextIsPaintedInsideItsTextArea) {
  FPanel.SetMagnification(GetParam());
  const QImage before = Grab(FPanel);
  PutRtf(FPanel.Storage(3)->RtfText(), LabelRtf);
  const QImage after = Grab(FPanel);

  const QRect free = ToRect(FPanel.Cell(3).rFree);
  int changedOutside = 0;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x)
      if (!free.contains(x, y) && after.pixel(x, y) != before.pixel(x, y)) ++changedOutside;
  EXPECT_GT(Inked(after, free), 50);
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

// The panel's text area holds what the renderer paints at the panel's zoom,
// stretched from the one pixel larger scratch area onto the text area.
TEST_P(PanelLabelText, PanelShowsWhatTheRendererPaints) {
  FPanel.SetMagnification(GetParam());
  PutRtf(FPanel.Storage(3)->RtfText(), LabelRtf);
  const QImage page = Grab(FPanel);
  const TCellRect r = FPanel.Cell(3).rFree;
  const int fw = r.Right - r.Left + 1, fh = r.Bottom - r.Top + 1;

  QImage scratch(fw, fh, QImage::Format_RGB32);
  scratch.setDotsPerMeterX(qRound(96 / 0.0254));
  scratch.setDotsPerMeterY(qRound(96 / 0.0254));
  scratch.fill(Qt::white);
  {
    TLabelRenderer renderer;
    QPainter painter(&scratch);
    renderer.Render(FPanel.Sheet(), 3, painter, QRect(0, 0, fw, fh + 15), GetParam(), 0);
  }
  QImage expected(fw - 1, fh - 1, QImage::Format_RGB32);
  {
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(expected.rect(), scratch);
  }
  EXPECT_EQ(page.copy(ToRect(r)), expected);
}

INSTANTIATE_TEST_SUITE_P(Zoom, PanelLabelText, ::testing::Values(100, 60));

TEST_F(PanelLabelText, ASecondRepaintWithoutAChangeLaysNothingOut) {
  PutRtf(FPanel.Storage(1)->RtfText(), LabelRtf);
  PutRtf(FPanel.Storage(2)->RtfText(), LabelRtf);
  Grab(FPanel);
  const int first = FPanel.Renderer().LayoutCount();
  EXPECT_EQ(first, 2);  // empty labels need no layout
  Grab(FPanel);
  EXPECT_EQ(FPanel.Renderer().LayoutCount(), first);
  PutRtf(FPanel.Storage(2)->RtfText(), "{\\rtf1\\ansi Receivable\\par}");
  Grab(FPanel);
  EXPECT_EQ(FPanel.Renderer().LayoutCount(), first + 1);
  FPanel.SetMagnification(80);
  Grab(FPanel);
  EXPECT_EQ(FPanel.Renderer().LayoutCount(), first + 3);
}

TEST_F(PanelLabelText, EmptyLabelWithABorderedParagraphShowsItsBorder) {
  const QImage before = Grab(FPanel);
  TWPRTFTextIo& doc = FPanel.Storage(2)->RtfText();
  ASSERT_TRUE(doc.IsEmpty());
  doc.FirstParagraph->BorderFlags = kBorderOn | kBorderBox;
  const QImage after = Grab(FPanel);
  const QRect free = ToRect(FPanel.Cell(2).rFree);
  int inked = 0;
  for (int y = free.top(); y <= free.bottom(); ++y)
    for (int x = free.left(); x <= free.right(); ++x)
      if (qGray(after.pixel(x, y)) < 128 && after.pixel(x, y) != before.pixel(x, y)) ++inked;
  EXPECT_GT(inked, 100);  // the top and bottom edges across the text area
}

TEST_F(PanelLabelText, LabelThatCannotBeLaidOutStaysWhiteAndTheOthersShow) {
  PutRtf(FPanel.Storage(1)->RtfText(),
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Broken\\par}");
  FPanel.Storage(1)->RtfText().FirstParagraph->FirstLine->Attrs[0].FontIndex = 120;  // names no slot
  PutRtf(FPanel.Storage(2)->RtfText(), "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Fine\\par}");
  const QImage image = Grab(FPanel);
  EXPECT_EQ(Inked(image, ToRect(FPanel.Cell(1).rFree)), 0);
  EXPECT_GT(Inked(image, ToRect(FPanel.Cell(2).rFree)), 20);
}
