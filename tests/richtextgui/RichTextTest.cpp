// The editor control: published defaults, display setters, document queries.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "richtext/gui/RichText.h"
#include "richtextgui/PaintTestSupport.h"

namespace {

using painttest::Attr;

void AddParagraphs(TWPRichText& editor, int count) {
  TWPRTFTextInput& doc = *editor.RtfText();
  TAttr a = Attr();
  doc.SetParagraphText(0, "line", &a, 4);
  for (int i = 1; i < count; ++i) doc.InsertParagraphText(i, "line", &a, 4);
  doc.ReformatAll();
}

}  // namespace

TEST(RichTextTest, PublishedDefaults) {
  TWPRichText editor;
  EXPECT_FALSE(editor.ReadOnly());
  EXPECT_TRUE(editor.WordWrap());
  EXPECT_EQ(editor.Zooming(), 100);
  EXPECT_EQ(editor.Resizing(), 100);
  EXPECT_TRUE(editor.Inserting());
  EXPECT_FALSE(editor.Transparent());
  EXPECT_EQ(editor.ScrollBars(), ssNone);
  EXPECT_TRUE(editor.WantTabs);
  EXPECT_FALSE(editor.DragAndDropSupport);
  EXPECT_EQ(editor.BorderStyle(), bsSingle);
  EXPECT_EQ(editor.Color(), 0xFFFFFFu);
  EXPECT_EQ(editor.cursor().shape(), Qt::IBeamCursor);
  EXPECT_EQ(editor.HyperLinkCursor, Qt::ArrowCursor);
  EXPECT_FALSE(editor.NoBlockMarking());
  EXPECT_FALSE(editor.OneClickHyperlink);
  EXPECT_TRUE(editor.ShowPageBreak());
  EXPECT_TRUE(editor.BackgroundImage().Bitmap.isNull());
  EXPECT_TRUE(editor.BackgroundScrolling());
  EXPECT_FALSE(editor.CaretDisabled());
  EXPECT_EQ(editor.TopOffset(), 0);
  EXPECT_EQ(editor.LeftOffset(), 0);
  EXPECT_TRUE(editor.InsertPointAttr().UseTextColor());
  EXPECT_EQ(editor.InsertPointAttr().TextColor(), 0x0000FFu);
  EXPECT_EQ(editor.HyperlinkTextAttr().Underline(), tsTRUE);
  EXPECT_TRUE(editor.ProtectedProp().Empty());
  EXPECT_EQ(editor.MemoryFormat(), fmRichText);
  EXPECT_EQ(editor.PaintSwitches, 0);
  EXPECT_EQ(editor.size(), QSize(100, 100));
  EXPECT_EQ(editor.RtfText()->Header.FontNames[0], "Arial");  // added by construction
  // The window exists: layout is unlocked.
  EXPECT_FALSE(editor.RtfText()->PaintOptions() & poLayoutLocked);
  EXPECT_EQ(editor.RtfText()->WrapWidth(), editor.ClientWidth());
}

TEST(RichTextTest, ZoomingOfZeroOrLessMeans100) {
  TWPRichText editor;
  editor.SetZooming(150);
  EXPECT_EQ(editor.Zooming(), 150);
  EXPECT_EQ(editor.RtfText()->Header.XPixelsPerInch, 144);
  editor.SetZooming(0);
  EXPECT_EQ(editor.Zooming(), 100);
  editor.SetZooming(150);
  editor.SetZooming(-5);
  EXPECT_EQ(editor.Zooming(), 100);
  EXPECT_EQ(editor.RtfText()->Header.XPixelsPerInch, 96);
}

TEST(RichTextTest, DocumentHeightOfOneEmptyParagraphIsItsLine) {
  TWPRichText editor;
  editor.Clear();
  const TWPFontEntry& arial = TWPFontCache::Instance().Find("Arial", 13, 0);
  EXPECT_EQ(editor.DocumentHeight(), arial.Height);
  EXPECT_EQ(editor.DocumentHeight(), editor.RtfText()->FirstParagraph->FirstLine->Height);
  // Clear writes with the control's font afterwards.
  EXPECT_EQ(editor.RtfText()->CurrentAttr.Size, 10);
  EXPECT_EQ(editor.RtfText()->CurrentAttr.FontIndex, 0);
  AddParagraphs(editor, 3);
  EXPECT_EQ(editor.DocumentHeight(), 3 * arial.Height);
}

TEST(RichTextTest, FontNumberAndColorOfNumber) {
  TWPRichText editor;
  EXPECT_EQ(editor.FontNumber("arial"), 0);
  EXPECT_EQ(editor.FontNumber("Times New Roman"), 1);
  EXPECT_EQ(editor.FontNumber(std::string(40, 'x')), 2);
  EXPECT_EQ(editor.RtfText()->Header.FontNames[2], std::string(31, 'x'));
  EXPECT_EQ(editor.ColorOfNumber(1), 0x0000FFu);
  EXPECT_EQ(editor.ColorOfNumber(0x80 + 3), 0xFF0000u);  // only the low 7 bits count
  EXPECT_EQ(editor.ColorOfNumber(15), 0u);
  EXPECT_EQ(editor.ColorOfNumber(100), 0u);
}

TEST(RichTextTest, SetPageSizeAndMarginsKeepsMinus1000) {
  TWPRichText editor;
  editor.SetPageSizeAndMargins(100, 200, 3000, 5000, -1000, 300);
  const TTextHeader& h = editor.RtfText()->Header;
  EXPECT_EQ(h.LeftMargin, 100);
  EXPECT_EQ(h.RightMargin, 200);
  EXPECT_EQ(h.PageHeight, 3000);
  EXPECT_EQ(h.PageWidth, 5000);
  EXPECT_EQ(h.BottomMargin, 1440);
  EXPECT_EQ(h.TopMargin, 300);
  EXPECT_EQ(h.TextAreaWidthPixels, (5000 - 300) * 96 / 1440);
}

TEST(RichTextTest, MetafileBackgroundIsRefused) {
  TWPRichText editor;
  TWPPicture metafile;
  metafile.Metafile = true;
  try {
    editor.SetBackgroundImage(metafile);
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Please use Bitmap.");
  }
  EXPECT_FALSE(editor.RtfText()->TileBackground);
  TWPPicture bitmap;
  bitmap.Bitmap = QImage(4, 4, QImage::Format_RGB32);
  editor.SetBackgroundImage(bitmap);
  EXPECT_TRUE(editor.RtfText()->TileBackground);
}

TEST(RichTextTest, BackgroundBitmapIsTiled) {
  TWPRichText editor;
  editor.resize(120, 80);
  editor.SetBorderStyle(bsNone);
  QImage tile(4, 4, QImage::Format_RGB32);
  tile.fill(QColor(0, 128, 0));
  tile.setPixel(0, 0, qRgb(255, 0, 255));
  TWPPicture picture;
  picture.Bitmap = tile;
  editor.SetBackgroundImage(picture);
  QImage image(editor.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  editor.render(&image);
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 255));
  EXPECT_EQ(image.pixel(100, 60), qRgb(255, 0, 255));
  EXPECT_EQ(image.pixel(101, 60), qRgb(0, 128, 0));
  // With no background at all nothing is tiled.
  editor.RtfText()->SetPaintOptions(poNoBackground);
  image.fill(Qt::white);
  editor.render(&image);
  EXPECT_EQ(image.pixel(100, 60), qRgb(255, 255, 255));
}

TEST(RichTextTest, VerticalScrollBarRangeAndOffsets) {
  TWPRichText editor;
  editor.resize(200, 60);
  editor.SetScrollBars(ssVertical);
  AddParagraphs(editor, 2);
  editor.UpdateScrollBars();
  EXPECT_TRUE(editor.VertScrollBar()->isHidden());  // the text fits
  AddParagraphs(editor, 12);
  editor.UpdateScrollBars();
  ASSERT_FALSE(editor.VertScrollBar()->isHidden());
  EXPECT_EQ(editor.VertScrollBar()->minimum(), 0);
  EXPECT_EQ(editor.VertScrollBar()->maximum(), 1000);
  EXPECT_EQ(editor.RtfText()->WrapWidth(), editor.ClientWidth());  // the bar narrows the text
  const int range = editor.DocumentHeight() - editor.ClientHeight();
  editor.SetTopOffset(range / 2);
  EXPECT_EQ(editor.RtfText()->ScrollTop, range / 2);
  EXPECT_EQ(editor.VertScrollBar()->value(), (range / 2) * 1000 / range);
  editor.VertScrollBar()->setValue(1000);
  EXPECT_EQ(editor.RtfText()->ScrollTop, range);
  editor.SetTopOffset(-20);
  EXPECT_EQ(editor.TopOffset(), 0);
  EXPECT_EQ(editor.RtfText()->ScrollTop, 0);
  editor.SetLeftOffset(-3);
  EXPECT_EQ(editor.LeftOffset(), 0);
}

TEST(RichTextTest, TopOffsetScrollsAControlWithoutScrollBars) {
  TWPRichText editor;
  editor.resize(200, 60);
  AddParagraphs(editor, 12);
  editor.SetTopOffset(20);
  EXPECT_EQ(editor.RtfText()->ScrollTop, 20);
  EXPECT_TRUE(editor.VertScrollBar()->isHidden());
  // A document that fits goes back to the top.
  editor.Clear();
  EXPECT_EQ(editor.RtfText()->ScrollTop, 0);
}

TEST(RichTextTest, ShowPageBreakSwitchesTheNoPageBreakLinesBit) {
  TWPRichText editor;
  editor.SetShowPageBreak(false);
  EXPECT_TRUE(editor.RtfText()->PaintOptions() & poNoPageBreakLines);
  editor.SetShowPageBreak(true);
  EXPECT_FALSE(editor.RtfText()->PaintOptions() & poNoPageBreakLines);
}

TEST(RichTextTest, HiddenControlLaysOutOnlyWhenAsked) {
  QWidget parent;
  TWPRichText* editor = new TWPRichText(&parent);
  editor->hide();
  EXPECT_FALSE(editor->RtfText()->PaintingAllowed);
  TWPRTFTextIo source;
  TAttr a = Attr(20);
  source.SetParagraphText(0, "Big", &a, 3);
  editor->SetRtfText(source);
  EXPECT_TRUE(editor->RtfText()->FirstParagraph->ParState & kParNeedsMeasure);  // not laid out yet
  EXPECT_EQ(editor->DocumentHeight(), TWPFontCache::Instance().Find("Arial", 27, 0).Height);
  editor->show();
  EXPECT_TRUE(editor->RtfText()->PaintingAllowed);
}

TEST(RichTextTest, ResizingDoublesOnlyFontSizes) {
  TWPRichText editor;
  AddParagraphs(editor, 1);
  editor.SetResizing(200);
  EXPECT_EQ(editor.Resizing(), 200);
  EXPECT_EQ(editor.RtfText()->Header.XPixelsPerInch, 96);
  EXPECT_EQ(editor.DocumentHeight(), TWPFontCache::Instance().Find("Arial", 27, 0).Height);
  // Like Zooming, 0 or less means 100.
  editor.SetResizing(0);
  EXPECT_EQ(editor.Resizing(), 100);
  EXPECT_EQ(editor.DocumentHeight(), TWPFontCache::Instance().Find("Arial", 13, 0).Height);
  editor.SetResizing(200);
  editor.SetResizing(-1);
  EXPECT_EQ(editor.Resizing(), 100);
}

TEST(RichTextTest, TransparentControlPaintsNoBackground) {
  TWPRichText editor;
  editor.SetBorderStyle(bsNone);
  editor.SetColor(0x0000FF);
  QImage image(editor.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  editor.render(&image);
  EXPECT_EQ(image.pixel(50, 90), qRgb(255, 0, 0));
  editor.SetTransparent(true);
  image.fill(Qt::white);
  editor.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  EXPECT_EQ(image.pixel(50, 90), qRgb(255, 255, 255));
}
