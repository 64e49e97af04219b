#include <gtest/gtest.h>

#include "richtext/gui/AnsiCodec.h"
#include "richtext/gui/Canvas.h"
#include "richtext/gui/FontCache.h"
#include "richtext/gui/RichText.h"
#include "richtextgui/PaintTestSupport.h"

using namespace painttest;

TEST(AnsiCodecTest, MapsTheWindowsRangeAndLatin1) {
  EXPECT_EQ(wpansi::ToUnicode(0x80), u'\u20AC');
  EXPECT_EQ(wpansi::ToUnicode(0x93), u'\u201C');
  EXPECT_EQ(wpansi::ToUnicode(0x9F), u'\u0178');
  EXPECT_EQ(wpansi::ToUnicode(0x81), u'\u0081');
  EXPECT_EQ(wpansi::ToUnicode(0xE9), u'\u00E9');
  EXPECT_EQ(wpansi::ToUnicode('A'), u'A');
  const char symbol[] = "\x80\xE9";
  EXPECT_EQ(wpansi::ToQString(symbol, 2, true), QString(QChar(0x80)) + QChar(0xE9));
  EXPECT_EQ(wpansi::ToQString(symbol, 2, false), QString(QChar(0x20AC)) + QChar(0xE9));
}

TEST(FontCacheTest, SizesFontsInPixelsAndKeepsEntries) {
  TWPCanvas canvas(96, 96);
  canvas.SetFont("Arial", 10, 96, 0);
  const TWPFontEntry& arial = canvas.Font();
  EXPECT_EQ(arial.Font.pixelSize(), 13);  // MulDiv(10, 96, 72)
  EXPECT_EQ(arial.Height, arial.Ascent + arial.Descent + std::max(0, QFontMetrics(arial.Font).leading()));
  EXPECT_GT(arial.Widths['W'], arial.Widths['i']);
  EXPECT_EQ(arial.Widths[0], 0);
  EXPECT_EQ(arial.Widths['\t'], arial.Widths[' ']);
  EXPECT_NE(arial.Glyphs['A'], 0u);
  canvas.SetFont("Arial", 10, 600, 0);
  EXPECT_EQ(canvas.Font().PixelSize, 83);  // 10/72 inch at 600 ppi
  canvas.SetFont("ARIAL", 10, 96, 0);
  // Same family in another spelling, same size: the cache answers with one entry.
  EXPECT_EQ(&TWPFontCache::Instance().Find("arial", 13, 0), &TWPFontCache::Instance().Find("Arial", 13, 0));
}

TEST(CanvasTest, ReadsThePixelsPerInchOfItsDevice) {
  QImage image = WhiteImage(10, 10, 600);
  TWPCanvas canvas(&image);
  EXPECT_EQ(canvas.PixelsPerInchX(), 600);
  EXPECT_EQ(canvas.PixelsPerInchY(), 600);
  EXPECT_EQ(canvas.Technology(), kTechRasterDisplay);
  EXPECT_FALSE(canvas.CanPaint());
}

TEST(CanvasTest, TextRunPutsGlyphsOnTheBaselineAtTheAdvances) {
  QImage image = WhiteImage(200, 40);
  {
    TWPCanvas canvas(&image, true);
    canvas.SetFont("Arial", 10, 96, 0);
    const int advances[] = {40, 40};
    canvas.TextRun(10, 20, "ll", 2, advances);
  }
  const QRect ink = InkBox(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_LE(ink.bottom(), 20);  // 'l' has no descender
  EXPECT_GE(ink.top(), 8);
  EXPECT_GE(ink.left(), 10);
  EXPECT_GE(ink.right(), 50);  // the second l stands 40 pixels further
  EXPECT_LE(ink.right(), 56);
}

TEST(CanvasTest, OpaqueRunFillsItsCell) {
  QImage image = WhiteImage(50, 20);
  {
    TWPCanvas canvas(&image, true);
    canvas.BrushColor = QColor(0, 0, 255);
    const QRect cell = EdgeRect(5, 2, 25, 18);
    const int advances[] = {20};
    canvas.TextRun(5, 14, " ", 1, advances, &cell);
  }
  EXPECT_EQ(image.pixel(5, 2), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(24, 17), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(25, 17), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(5, 18), qRgb(255, 255, 255));
}

TEST(FontCacheTest, SymbolFontDrawsBytesAsThemselves) {
  TWPFontCache& cache = TWPFontCache::Instance();
  const TWPFontEntry& symbol = cache.Find("Standard Symbols PS", 20, 0);
  const TWPFontEntry& arial = cache.Find("Arial", 20, 0);
  EXPECT_TRUE(symbol.Symbol);
  EXPECT_FALSE(arial.Symbol);
  // 'a' of a symbol font is its own glyph (alpha), found without any code page.
  EXPECT_NE(symbol.Glyphs['a'], 0u);
  EXPECT_GT(symbol.Widths['a'], 0);
}

// "Greek: " and alpha beta gamma from the Symbol font, as a label holds them,
// at the zooms of the page. Each letter is painted alone (the others in
// white) so that every pixel it touches counts as its ink.
TEST(FontCacheTest, SymbolLettersSideBySideNeverShareAPixelColumn) {
  for (const int zoom : {60, 70, 80, 100}) {
    SCOPED_TRACE(zoom);
    QRect ink[3];
    for (int shown = 0; shown < 3; ++shown) {
      std::string rtf =
          "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\ftech\\fcharset2 Symbol;}}"
          "{\\colortbl;\\red255\\green255\\blue255;}\\f0\\fs24\\cf1 Greek: \\f1";
      for (int letter = 0; letter < 3; ++letter)
        rtf += (letter == shown ? "\\cf0 " : "\\cf1 ") + std::string(1, "abg"[letter]);
      rtf += "\\par}";
      TWPRichText editor;
      LoadRtf(*editor.RtfText(), rtf);
      editor.SetZooming(zoom);
      QImage image = WhiteImage(300, 60);
      {
        TWPCanvas canvas(&image, true);
        editor.PaintToCanvas(&canvas, 0, 0, 300, 60, 0, kPaintLines);
      }
      ink[shown] = InkBox(image);
      ASSERT_FALSE(ink[shown].isNull());
    }
    EXPECT_LT(ink[0].right(), ink[1].left());
    EXPECT_LT(ink[1].right(), ink[2].left());
  }
}
