// Painting of laid-out lines, through the editor control's PaintToCanvas.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "richtext/MulDiv.h"
#include "richtext/RtfPicture.h"
#include "richtext/Stream.h"
#include "richtext/gui/RichText.h"
#include "richtextgui/PaintTestSupport.h"

namespace {

using namespace painttest;

class PaintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.resize(300, 200);
    editor.Clear();
  }
  TWPRTFTextInput& Doc() { return *editor.RtfText(); }
  // Appends a run to paragraph 0.
  void Add(const std::string& text, TAttr attr) {
    TParagraph* par = Doc().FirstParagraph;
    Doc().InsertText(par, par->TextLength(), &attr, text.c_str());
    Doc().ReformatAll();
  }
  QImage Paint(int width, int height, int startLine = 0, TPaintToCanvasMode mode = kPaintLines,
               int* result = nullptr) {
    QImage image = WhiteImage(width, height);
    TWPCanvas canvas(&image, true);
    const int r = editor.PaintToCanvas(&canvas, 0, 0, width, height, startLine, mode);
    if (result) *result = r;
    return image;
  }

  TWPRichText editor;
};

}  // namespace

TEST(EmptyDocumentTest, DocumentWithoutParagraphsShowsEmpty) {
  TWPRTFTextPaint doc;
  TParagraph* first = doc.FirstParagraph;
  doc.FreeParagraph(first);
  ASSERT_EQ(doc.FirstParagraph, nullptr);
  QImage image = WhiteImage(200, 100);
  {
    TWPCanvas canvas(&image, true);
    doc.SetCanvas(&canvas);
    doc.SetWrapWidth(200);
    doc.ClipHeight = 100;
    doc.PaintVisible();
  }
  const QRect ink = InkBox(image, image.rect(), Dark);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.left(), 100);  // drawn from the centre point
  EXPECT_GE(ink.top(), 50);
  EXPECT_NEAR(ink.width(),
              TWPFontCache::Instance().Find("Arial", 13, 0).Widths['<'] * 2 +
                  TWPFontCache::Instance().Find("Arial", 13, 0).Widths['e'] * 5,
              12);
}

TEST_F(PaintingTest, TextStandsOnTheBaseline) {
  Add("HHHH", Attr());
  QImage image = Paint(300, 100);
  TLine* line = Doc().FirstParagraph->FirstLine;
  const QRect ink = InkBox(image, image.rect(), Dark);
  ASSERT_FALSE(ink.isNull());
  EXPECT_EQ(ink.bottom(), line->Ascent - 1);
  EXPECT_LE(ink.left(), 2);
}

TEST_F(PaintingTest, SuperscriptIsPaintedSmallerAndRaisedByAThirdOfItsAscent) {
  Add("H", Attr(9));
  Add("H", Attr(9, kStyleSuperscript));
  QImage image = Paint(300, 100);
  TLine* line = Doc().FirstParagraph->FirstLine;
  const int split = line->Attrs[0].Width;
  const QRect normal = InkBox(image, QRect(0, 0, split, 100), Dark);
  const QRect super = InkBox(image, QRect(split, 0, 100, 100), NotWhite);
  ASSERT_FALSE(normal.isNull());
  ASSERT_FALSE(super.isNull());
  const TWPFontEntry& six = TWPFontCache::Instance().Find("Arial", 8, 0);  // 6 pt at 96 ppi
  EXPECT_EQ(line->Attrs[1].Ascent, six.Ascent);
  EXPECT_LT(super.height(), normal.height());
  EXPECT_EQ(normal.bottom(), line->Ascent - 1);
  EXPECT_EQ(super.bottom(), line->Ascent - 1 - six.Ascent / 3);
}

TEST_F(PaintingTest, SubscriptIsLoweredByAFifthOfItsAscent) {
  Add("H", Attr(12));
  Add("H", Attr(12, kStyleSubscript));
  QImage image = Paint(300, 100);
  TLine* line = Doc().FirstParagraph->FirstLine;
  const QRect sub = InkBox(image, QRect(line->Attrs[0].Width, 0, 100, 100), NotWhite);
  EXPECT_EQ(sub.bottom(), line->Ascent - 1 + line->Attrs[1].Ascent / 5);
}

TEST_F(PaintingTest, PaintSwitches4LeaveEveryBackgroundPixelWhite) {
  editor.SetColor(0x00FFFF);       // yellow control
  Add("Mark", Attr(12, 0, 0x41));  // red text on a yellow cell
  auto coloured = [](QRgb p) { return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) < 100; };
  editor.PaintSwitches = psKeepColor;
  QImage filled = Paint(200, 60);
  EXPECT_FALSE(InkBox(filled, filled.rect(), coloured).isNull());
  editor.PaintSwitches = psTransparent;
  QImage printed = Paint(200, 60);
  EXPECT_TRUE(InkBox(printed, printed.rect(), coloured).isNull());
  // Only the red text reaches the canvas.
  const QRect text = InkBox(printed, printed.rect(), NotWhite);
  ASSERT_FALSE(text.isNull());
  for (int y = 0; y < printed.height(); ++y)
    for (int x = 0; x < printed.width(); ++x) {
      const QRgb p = printed.pixel(x, y);
      ASSERT_TRUE(p == qRgb(255, 255, 255) || (qRed(p) >= qGreen(p) && qGreen(p) == qBlue(p)))
          << x << "," << y;
    }
}

TEST_F(PaintingTest, SwitchesWithoutKeepColorPaintOnWhite) {
  editor.SetColor(0x00FFFF);
  Add("x", Attr());
  QImage image = Paint(100, 40);
  EXPECT_EQ(image.pixel(90, 5), qRgb(255, 255, 255));
  editor.PaintSwitches = psKeepColor;
  image = Paint(100, 40);
  EXPECT_EQ(image.pixel(90, 5), qRgb(255, 255, 0));
}

TEST_F(PaintingTest, SelectedRunIsPaintedInTheHighlightColours) {
  Add("Hello world", Attr());
  TWPRTFTextInput& doc = Doc();
  TParagraph* par = doc.FirstParagraph;
  doc.SelStartParagraph = doc.SelEndParagraph = par;
  doc.SelStartLine = doc.SelEndLine = par->FirstLine;
  doc.SelStartIndex = 0;
  doc.SelEndIndex = 5;
  QImage image = Paint(300, 40);
  const QColor highlight = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
  TLine* line = par->FirstLine;
  int selectedWidth = 0;
  for (int i = 0; i < 5; ++i) selectedWidth += line->Attrs[i].Width;
  EXPECT_EQ(QColor(image.pixel(0, 0)), highlight);
  EXPECT_EQ(QColor(image.pixel(selectedWidth - 1, line->Height - 1)), highlight);
  EXPECT_NE(QColor(image.pixel(selectedWidth + 1, 0)), highlight);
  // The mark is for painting only.
  for (int i = 0; i < line->Length; ++i) EXPECT_FALSE(line->Attrs[i].Style & kStyleSelected) << i;
  // A backwards selection paints the same range.
  doc.SelectionBackwards = true;
  std::swap(doc.SelStartIndex, doc.SelEndIndex);
  QImage backwards = Paint(300, 40);
  EXPECT_EQ(backwards, image);
}

TEST_F(PaintingTest, UnderlineOnePixelBelowTheBaseline) {
  Add("under", Attr(10, kStyleUnderline));
  QImage image = Paint(200, 40);
  TLine* line = Doc().FirstParagraph->FirstLine;
  int width = 0;
  for (int i = 0; i < line->Length; ++i) width += line->Attrs[i].Width;
  const int row = line->Ascent + 1;
  for (int x = 0; x < width; ++x) ASSERT_EQ(image.pixel(x, row), qRgb(0, 0, 0)) << x;
  EXPECT_EQ(image.pixel(width, row), qRgb(255, 255, 255));
}

TEST_F(PaintingTest, MisspelledWordGetsARedWavyStroke) {
  TAttr wrong = Attr();
  wrong.Marker = kMarkerMisspelled;
  Add("wrnog", wrong);
  QImage image = Paint(200, 40);
  TLine* line = Doc().FirstParagraph->FirstLine;
  const QRect red = InkBox(image, QRect(0, line->Ascent, 200, 4),
                           [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80; });
  ASSERT_FALSE(red.isNull());
  EXPECT_EQ(red.top(), line->Ascent);
  EXPECT_EQ(red.bottom(), line->Ascent + 1);
}

TEST_F(PaintingTest, ItalicRunAtTheLineEndGetsItsOverhang) {
  Add("ff", Attr(28, kStyleItalic));
  QImage image = Paint(300, 60);
  TLine* line = Doc().FirstParagraph->FirstLine;
  const int advance = line->Attrs[0].Width + line->Attrs[1].Width;
  // The slanted top of the last f reaches beyond the advance; nothing is clipped.
  EXPECT_GT(InkBox(image, image.rect(), Dark).right(), advance - 1);
}

TEST_F(PaintingTest, RightAndCentreAlignment) {
  Add("abc", Attr());
  TParagraph* par = Doc().FirstParagraph;
  const int width = Doc().LineContentWidth(par, par->FirstLine);
  par->Alignment = 1;
  QImage right = Paint(200, 40);
  EXPECT_GE(InkBox(right, right.rect(), Dark).left(), 200 - width - 1);
  par->Alignment = 2;
  QImage centre = Paint(200, 40);
  const QRect ink = InkBox(centre, centre.rect(), Dark);
  EXPECT_NEAR(ink.left(), (200 - width) / 2, 2);
}

TEST_F(PaintingTest, PaintToCanvasBelowTheFirstLinePaintsItAndReturnsOne) {
  editor.resize(160, 120);
  Add("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll", Attr());
  TWPRTFTextInput& doc = Doc();
  editor.SetScrollBars(ssVertical);
  editor.SetTopOffset(3);
  const int wrap = doc.WrapWidth(), scroll = doc.ScrollTop, ppi = doc.Header.XPixelsPerInch;
  std::vector<int> lengths;
  for (TLine* l = doc.FirstParagraph->FirstLine; l; l = l->Next) lengths.push_back(l->Length);
  const std::uint32_t options = doc.PaintOptions();

  int result = -1;
  QImage image = Paint(400, 5, 0, kPaintLines, &result);
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(InkBox(image, image.rect(), Dark).isNull());

  EXPECT_EQ(doc.WrapWidth(), wrap);
  EXPECT_EQ(doc.ScrollTop, scroll);
  EXPECT_EQ(doc.Header.XPixelsPerInch, ppi);
  EXPECT_EQ(doc.PaintOptions(), options);
  std::vector<int> after;
  for (TLine* l = doc.FirstParagraph->FirstLine; l; l = l->Next) after.push_back(l->Length);
  EXPECT_EQ(after, lengths);
}

TEST_F(PaintingTest, PaintToCanvasReturnsTheFirstLineThatDidNotFit) {
  Add("one\ntwo\nthree\nfour", Attr());
  const int lineHeight = Doc().FirstParagraph->FirstLine->Height;
  int result = -1;
  Paint(200, 2 * lineHeight + 1, 0, kPaintLines, &result);
  EXPECT_EQ(result, 2);
  Paint(200, 100, 0, kPaintLines, &result);
  EXPECT_EQ(result, 0);
  // Mode 0 measures only.
  QImage measured = Paint(200, 2 * lineHeight + 1, 0, kPaintMeasureOnly, &result);
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(InkBox(measured, measured.rect(), Dark).isNull());
  // Start line 2 is painted at Y.
  QImage third = Paint(200, 100, 2, kPaintLines, &result);
  EXPECT_EQ(result, 0);
  EXPECT_LT(InkBox(third, third.rect(), Dark).top(), lineHeight);
}

TEST_F(PaintingTest, BatchKeepsTheForeignLayoutUntilItEnds) {
  Add("batch", Attr());
  QImage image = WhiteImage(200, 40);
  TWPCanvas canvas(&image, true);
  EXPECT_EQ(editor.PaintToCanvas(&canvas, 0, 0, 200, 40, 0, kPaintBeginBatch), 0);
  EXPECT_TRUE(Doc().PaintOptions() & poForeignCanvas);
  EXPECT_EQ(editor.PaintToCanvas(&canvas, 10, 0, 190, 40, 0, kPaintLines), 0);
  EXPECT_TRUE(Doc().PaintOptions() & poForeignCanvas);
  EXPECT_EQ(editor.PaintToCanvas(&canvas, 0, 0, 0, 0, 0, kPaintEndBatch), 0);
  EXPECT_FALSE(Doc().PaintOptions() & poForeignCanvas);
  EXPECT_GE(InkBox(image, image.rect(), Dark).left(), 10);
}

TEST_F(PaintingTest, LabelPaintedAt600PixelsPerInch) {
  Add("Label", Attr(10));
  QImage image(1200, 300, QImage::Format_RGB32);
  image.setDotsPerMeterX(23622);
  image.setDotsPerMeterY(23622);
  image.fill(Qt::white);
  {
    TWPCanvas canvas(&image, true);
    EXPECT_EQ(editor.PaintToCanvas(&canvas, 0, 0, 1200, 300, 0, kPaintLines), 0);
  }
  const QRect ink = InkBox(image, image.rect(), Dark);
  // "L" is a cap: about 0.716 of the 83-pixel em of a 10-point font at 600 ppi.
  EXPECT_NEAR(ink.height(), 83 * 0.716, 3);
  EXPECT_EQ(Doc().Header.XPixelsPerInch, 96);  // the screen layout is back
}

TEST_F(PaintingTest, PageBreakLinesInTheControlsOwnWindow) {
  TWPRTFTextInput& doc = Doc();
  Add("first", Attr());
  TAttr a = Attr();
  doc.InsertParagraphText(1, "second", &a, 6);
  doc.FirstParagraph->Next->ParFlags |= kParPageBreakBefore;
  doc.ReformatAll();
  QImage image(editor.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  editor.render(&image);
  const int y = doc.FirstParagraph->Next->FirstLine->Top + editor.BorderWidth();
  int dark = 0, light = 0;
  for (int x = 10; x < 60; ++x) (Dark(image.pixel(x, y)) ? dark : light)++;
  EXPECT_GT(dark, 10);  // dashed
  EXPECT_GT(light, 5);
  // The foreign-canvas pass draws no page-break lines.
  QImage label = Paint(300, 100);
  int labelDark = 0;
  for (int x = 0; x < 300; ++x) labelDark += Dark(label.pixel(x, doc.FirstParagraph->Next->FirstLine->Top));
  EXPECT_EQ(labelDark, 0);
}

TEST_F(PaintingTest, BorderedParagraphGetsItsBox) {
  Add("boxed", Attr());
  TParagraph* par = Doc().FirstParagraph;
  par->BorderFlags = kBorderOn | kBorderBox;
  par->BorderSpaceColor = 0x11;  // spacing 1, red
  par->BorderWidth = 0;
  Doc().ReformatAll();
  editor.PaintSwitches = psKeepColor;
  QImage image = Paint(200, 40);
  TLine* line = par->FirstLine;
  auto red = [](QRgb p) { return p == qRgb(255, 0, 0); };
  const QRect box = InkBox(image, image.rect(), red);
  ASSERT_FALSE(box.isNull());
  EXPECT_EQ(box.top(), 0);
  EXPECT_EQ(box.bottom(), line->Height - 1);
  // The line at the indent; the spacing between it and the text.
  EXPECT_EQ(box.left(), 0);
  EXPECT_EQ(Doc().LeftEdge(par, line), Doc().BorderSpacingPixels(par) + 1);
}

TEST_F(PaintingTest, PictureIsDrawnScaledIntoItsCellAndAMetafileLeavesItEmpty) {
  // A blue dot of 2 by 2 pixels, as the reader frames a picture of the format.
  const auto dot = [](TWPRtfPicture::TFormat format, const char* file) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, file);
    auto picture = std::make_unique<TWPRtfPicture>();
    picture->Format = format;
    picture->Data.assign(bytes.constData(), bytes.size());
    picture->PixelsWide = picture->PixelsHigh = 2;
    return picture;
  };
  TWPRTFTextInput& doc = Doc();
  TTextObject* record = doc.AddObject(dot(TWPRtfPicture::pfDib, "BMP"), -1);
  record->Width = record->Height = 300;  // 20 pixels at 96 ppi
  TAttr object = Attr();
  object.Special = kSpecialObject;
  object.Tag = record->Id;
  Add("\x01", object);
  editor.PaintSwitches = psKeepColor;
  QImage image = Paint(100, 60);
  auto blue = [](QRgb p) { return p == qRgb(0, 0, 255); };
  const QRect cell = InkBox(image, image.rect(), blue);
  EXPECT_EQ(cell.size(), QSize(20, 20));
  EXPECT_EQ(cell.bottom(), doc.FirstParagraph->FirstLine->Ascent - 1);  // on the baseline

  auto metafile = std::make_unique<TWPRtfPicture>();
  metafile->Format = TWPRtfPicture::pfMetafile;
  metafile->Data = "not drawable";
  record->SetObject(std::move(metafile));
  doc.Changed();
  QImage empty = Paint(100, 60);
  EXPECT_TRUE(InkBox(empty, empty.rect(), blue).isNull());
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs[0].Width, 20);  // kept

  // A PNG, as other programs embed pictures, is drawn as the bitmap was.
  record->SetObject(dot(TWPRtfPicture::pfPng, "PNG"));
  doc.Changed();
  QImage drawn = Paint(100, 60);
  EXPECT_EQ(InkBox(drawn, drawn.rect(), blue).size(), QSize(20, 20));
}

TEST_F(PaintingTest, TextAfterATabStartsAtTheStop) {
  TWPRTFTextInput& doc = Doc();
  Add("a\tb", Attr());
  doc.FirstParagraph->TabSet = doc.Header.InsertTab(1440, tkLeft);
  doc.ReformatAll();
  QImage image = Paint(300, 40);
  const QRect b = InkBox(image, QRect(40, 0, 260, 40), Dark);
  EXPECT_NEAR(b.left(), 96 + 1, 1);  // the stem of b stands a pixel into its cell
}

TEST_F(PaintingTest, JustifiedLineReachesTheRightEdge) {
  TWPRTFTextInput& doc = Doc();
  doc.FirstParagraph->Alignment = paJustify;
  Add("aaa bb c ddd ee f ggg hh i jjj kk l mmm nn o ppp qq r", Attr());
  TLine* first = doc.FirstParagraph->FirstLine;
  ASSERT_NE(first->Next, nullptr);
  QImage image = Paint(200, 60);
  const QRect line = InkBox(image, QRect(0, 0, 200, first->Height), Dark);
  EXPECT_GE(line.right(), 200 - 8);
  EXPECT_LE(line.right(), 199);
}

TEST_F(PaintingTest, ControlCharactersArePaintedAsSpaces) {
  Add("a\x05\x06z", Attr());
  QImage image = Paint(200, 40);
  TLine* line = Doc().FirstParagraph->FirstLine;
  const int from = line->Attrs[0].Width, to = from + line->Attrs[1].Width + line->Attrs[2].Width;
  EXPECT_TRUE(InkBox(image, QRect(from + 1, 0, to - from - 1, 40), NotWhite).isNull());
}

TEST_F(PaintingTest, BarTabsDrawVerticalLinesAtTheStops) {
  TWPRTFTextInput& doc = Doc();
  Add("bar", Attr());
  TParagraph* par = doc.FirstParagraph;
  par->TabSet = doc.Header.InsertTab(1440, tkLeft) | doc.Header.InsertTab(2880, tkLeft);
  par->BorderFlags = kBorderOn;
  par->BorderStyle = kBorderTableLine;
  doc.ReformatAll();
  QImage image = Paint(250, 40);
  const int height = par->FirstLine->Height;
  for (int x : {96, 192})
    for (int y = 0; y < height; ++y) ASSERT_TRUE(Dark(image.pixel(x, y))) << x << "," << y;
  EXPECT_FALSE(Dark(image.pixel(150, 2)));
}

TEST_F(PaintingTest, ColouredCellIsFilledOnlyWhereTheOptionsAllow) {
  Add("    ", Attr(10, 0, 0x30));  // spaces on a blue cell
  auto blue = [](QRgb p) { return p == qRgb(0, 0, 255); };
  editor.PaintSwitches = psKeepColor;
  EXPECT_FALSE(InkBox(Paint(100, 30), QRect(0, 0, 100, 30), blue).isNull());
  editor.PaintSwitches = psKeepColor | psOpaqueWhereNeeded;
  EXPECT_FALSE(InkBox(Paint(100, 30), QRect(0, 0, 100, 30), blue).isNull());
  // Without background only the fills around the text go: the text's own
  // cells keep their colour, as on the page panel (switches 0).
  editor.PaintSwitches = psKeepColor | psNoBackground;
  EXPECT_FALSE(InkBox(Paint(100, 30), QRect(0, 0, 100, 30), blue).isNull());
  editor.PaintSwitches = 0;
  EXPECT_FALSE(InkBox(Paint(100, 30), QRect(0, 0, 100, 30), blue).isNull());
  editor.PaintSwitches = psTransparent;
  EXPECT_TRUE(InkBox(Paint(100, 30), QRect(0, 0, 100, 30), blue).isNull());
}

TEST_F(PaintingTest, NoBackgroundLeavesTheRestOfTheLineUnfilled) {
  editor.SetColor(0x00FFFF);  // yellow control
  Add("x", Attr());
  auto yellow = [](QRgb p) { return p == qRgb(255, 255, 0); };
  editor.PaintSwitches = psKeepColor;
  QImage filled = Paint(100, 40);
  EXPECT_TRUE(yellow(filled.pixel(90, 5)));
  editor.PaintSwitches = psKeepColor | psNoBackground;
  QImage bare = Paint(100, 40);
  EXPECT_EQ(bare.pixel(90, 5), qRgb(255, 255, 255));
  // The character's own cell is still filled with the brush.
  EXPECT_TRUE(yellow(bare.pixel(0, 0)));
}

TEST_F(PaintingTest, ItalicOverhangSurvivesTheFillOfTheRestOfTheLine) {
  editor.SetColor(0x00FFFF);
  editor.PaintSwitches = psKeepColor;
  Add("ff", Attr(28, kStyleItalic));
  QImage image = Paint(300, 60);
  TLine* line = Doc().FirstParagraph->FirstLine;
  const int advance = line->Attrs[0].Width + line->Attrs[1].Width;
  EXPECT_GT(InkBox(image, image.rect(), Dark).right(), advance - 1);
  EXPECT_EQ(image.pixel(advance + 8 + 2, 2), qRgb(255, 255, 0));
}

TEST(PaintToCanvasFailure, ControlKeepsNoForeignStateAfterAFailedPaint) {
  QWidget parent;
  auto* editor = new TWPRichText(&parent);
  editor->hide();
  TWPRTFTextIo source;
  TAttr a = Attr();
  source.SetParagraphText(0, "x", &a, 1);
  source.FirstParagraph->FirstLine->Attrs[0].FontIndex = 120;  // names no slot
  editor->SetRtfText(source);
  TWPRTFTextInput& doc = *editor->RtfText();
  TWPCanvas* own = doc.Canvas();
  const std::uint32_t options = doc.PaintOptions();
  {
    QImage image = WhiteImage(100, 40);
    TWPCanvas canvas(&image, true);
    EXPECT_THROW(editor->PaintToCanvas(&canvas, 0, 0, 100, 40, 0, kPaintLines), std::exception);
    EXPECT_NE(doc.Canvas(), &canvas);
  }
  EXPECT_EQ(doc.Canvas(), own);
  EXPECT_EQ(doc.PaintOptions(), options);
  EXPECT_EQ(doc.WrapWidth(), editor->ClientWidth());
}

TEST(PaintToCanvasFailure, OwnWindowPaintOfADocumentThatCannotBeLaidOutStops) {
  QWidget parent;
  auto* editor = new TWPRichText(&parent);
  editor->hide();
  TWPRTFTextIo source;
  TAttr a = Attr();
  source.SetParagraphText(0, "x", &a, 1);
  source.FirstParagraph->FirstLine->Attrs[0].FontIndex = 120;
  editor->SetRtfText(source);
  TWPCanvas* own = editor->RtfText()->Canvas();
  QImage image = WhiteImage(editor->width(), editor->height());
  EXPECT_NO_THROW(editor->render(&image));
  EXPECT_EQ(editor->RtfText()->Canvas(), own);
  EXPECT_FALSE(editor->RtfText()->Formatting());
}

namespace {

// Rows of the image that hold a horizontal line across most of its width.
std::vector<int> RuledRows(const QImage& image) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    int dark = 0;
    for (int x = 0; x < image.width(); ++x) dark += Dark(image.pixel(x, y));
    if (dark > image.width() * 3 / 4) rows.push_back(y);
  }
  return rows;
}

}  // namespace

TEST_F(PaintingTest, BorderGroupsFollowTheBorderKindsAndTheInheritanceBit) {
  struct {
    const char* Rtf;
    std::vector<int> LinesWithTop, LinesWithBottom;  // lines counted over the document
  } const cases[] = {
      // Three paragraphs in one box, though the last one's border ends there.
      {"{\\rtf1\\pard\\box\\brdrs A\\par B\\par C\\par\\pard D\\par}", {0}, {2}},
      // Two boxes that look alike are two boxes.
      {"{\\rtf1\\pard\\box A\\par\\pard\\box B\\par\\pard C\\par}", {0, 1}, {0, 1}},
  };
  for (const auto& c : cases) {
    LoadRtf(Doc(), c.Rtf);
    const QImage image = Paint(300, 200);
    std::vector<TLine*> lines;
    for (TParagraph* par = Doc().FirstParagraph; par; par = par->Next) lines.push_back(par->FirstLine);
    std::vector<int> expected;
    for (int i : c.LinesWithTop) expected.push_back(lines[i]->Top);
    for (int i : c.LinesWithBottom) expected.push_back(lines[i]->Top + lines[i]->Height - 1);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(RuledRows(image), expected) << c.Rtf;
  }
}

TEST_F(PaintingTest, BorderSpacingStaysInsideTheBorderLines) {
  Add("boxed", Attr());
  TParagraph* par = Doc().FirstParagraph;
  par->BorderFlags = kBorderOn | kBorderBox;
  par->BorderSpaceColor = 0x20;  // 2 mm, black
  par->Alignment = paRight;
  // The page's text area is wider than the 300 pixels painted.
  ASSERT_GT(Doc().Header.TextAreaWidthPixels, 300);
  const int spacing = MulDiv(2 * 567 / 10, 96, 1440);
  const QImage image = Paint(300, 40);
  const int middle = par->FirstLine->Height / 2;
  int left = -1, right = -1;  // the two vertical border lines
  for (int x = 0; x < 300; ++x)
    if (Dark(image.pixel(x, 1)) && Dark(image.pixel(x, middle)) &&
        Dark(image.pixel(x, par->FirstLine->Height - 2))) {
      if (left < 0) left = x;
      right = x;
    }
  ASSERT_GE(left, 0);
  ASSERT_GT(right, left);
  const QRect ink = InkBox(image, QRect(left + 1, 2, right - left - 1, par->FirstLine->Height - 4), Dark);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.left() - left - 1, spacing);
  EXPECT_GE(right - ink.right() - 1, spacing - 1);  // a glyph's right bearing may use a pixel
}

class JustifiedInk : public PaintingTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(JustifiedInk, EndsAtTheAvailableWidth) {
  const auto [ppi, points] = GetParam();
  Add("Justified lines end where the text area ends, never beyond it, on screen and on paper alike.",
      Attr(points));
  Doc().FirstParagraph->Alignment = paJustify;
  // Room to the right of the painted width shows ink that runs over it.
  const int width = 300 * ppi / 96;
  QImage image = WhiteImage(width + ppi / 4, 400 * ppi / 96, ppi);
  {
    TWPCanvas canvas(&image, true);
    editor.PaintToCanvas(&canvas, 0, 0, width, image.height(), 0, kPaintLines);
  }
  // Laid out again for the screen after the call: find the first line's
  // rows from the ink itself.
  const QRect all = InkBox(image, image.rect(), Dark);
  ASSERT_FALSE(all.isNull());
  const int lineHeight = MulDiv(points, ppi, 72);
  const QRect first = InkBox(image, QRect(0, all.top(), image.width(), lineHeight), Dark);
  EXPECT_LT(first.right(), width);
  EXPECT_GE(first.right(), width - ppi / 24);
}

INSTANTIATE_TEST_SUITE_P(PaintingTest, JustifiedInk,
                         ::testing::Values(std::pair{96, 28}, std::pair{96, 10}, std::pair{600, 10}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "ppi" +
                                  std::to_string(info.param.second) + "pt";
                         });

TEST_F(PaintingTest, ARightTabIsPaintedWhereTheLineWasLaidOut) {
  // The text after the tab goes on beyond the line: wrapping gave the tab
  // no room, and painting must not move the text to the tab stop.
  Add("a\tshort " + std::string(40, 'w'), Attr());
  TParagraph* par = Doc().FirstParagraph;
  par->TabSet |= Doc().Header.InsertTab(1440, tkRight);
  Doc().Header.RecomputePixelValues();
  par->ParState |= kParNeedsBoth;
  const QImage image = Paint(200, 100);
  TLine* line = par->FirstLine;
  ASSERT_EQ(line->String(), "a\tshort ");
  const QRect ink = InkBox(image, QRect(0, line->Top, 200, line->Height), Dark);
  EXPECT_LE(ink.right(), line->LineWidth + 1);
  // The caret's measure agrees with both.
  std::vector<int> advances;
  const int start = Doc().LineAdvances(par, line, advances);
  EXPECT_EQ(start + advances[0] + advances[1], Doc().XOfOffset(par, line, 2));
  EXPECT_LE(Doc().XOfOffset(par, line, 7), line->LineWidth);
}
