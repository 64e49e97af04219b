// The label renderer paints a label of a sheet into any painter, with no
// widget anywhere (this test program links no Qt Widgets).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <string>
#include <utility>

#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/LabelRenderer.h"
#include "richtext/Fingerprint.h"
#include "richtext/gui/RtfTextPaint.h"

namespace {

using labelpagetest::LabelRtf;
using labelpagetest::PutRtf;

QImage Image(int width, int height, int ppi, QColor fill = Qt::white) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(ppi / 0.0254));
  image.setDotsPerMeterY(qRound(ppi / 0.0254));
  image.fill(fill);
  return image;
}

QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 100) box |= QRect(x, y, 1, 1);
  return box;
}

class LabelRenderer : public ::testing::Test {
 protected:
  void SetUp() override {
    const TLabelLayoutRecord layout = labelpagetest::FileFolderSheet();
    FSheet.SetLayout(&layout, false);
    PutRtf(FSheet.Storage(1)->RtfText(), LabelRtf);
  }
  // Renders label n into image over area; the renderer's result.
  int Render(QImage& image, const QRect& area, int zoom = 100, std::uint8_t switches = 0, int n = 1) {
    QPainter painter(&image);
    return FRenderer.Render(FSheet, n, painter, area, zoom, switches);
  }

  TLabelSheet FSheet;
  TLabelRenderer FRenderer;
};

}  // namespace

TEST_F(LabelRenderer, PaintsTheLabelAtThePaintersResolutionWithoutChangingIt) {
  const TLine& line = *FSheet.Storage(1)->RtfText().FirstParagraph->FirstLine;
  const std::uint64_t before = ContentFingerprint(FSheet.Storage(1)->RtfText());
  const int height = line.Height, width = line.Attrs[0].Width;
  QImage screen = Image(330, 60, 96);
  EXPECT_EQ(Render(screen, screen.rect()), 0);
  const QRect onScreen = InkBox(screen);
  ASSERT_FALSE(onScreen.isNull());
  EXPECT_LE(onScreen.left(), 3);
  EXPECT_GT(onScreen.height(), 24);  // two lines of 12 points

  // The same label for a 600 pixels-per-inch printer, placed at (100, 200).
  QImage printer = Image(2300, 600, 600);
  EXPECT_EQ(Render(printer, QRect(100, 200, 2100, 390)), 0);
  const QRect onPrinter = InkBox(printer);
  EXPECT_GE(onPrinter.left(), 100);
  EXPECT_GE(onPrinter.top(), 200);
  EXPECT_NEAR(onPrinter.height(), onScreen.height() * 600 / 96, 12);
  EXPECT_NEAR(onPrinter.width(), onScreen.width() * 600 / 96, 40);

  // The label's own document was neither laid out nor changed.
  EXPECT_EQ(ContentFingerprint(FSheet.Storage(1)->RtfText()), before);
  EXPECT_EQ(line.Height, height);
  EXPECT_EQ(line.Attrs[0].Width, width);
}

TEST_F(LabelRenderer, TellsTheFirstLineThatDidNotFit) {
  QImage image = Image(330, 60, 96);
  EXPECT_EQ(Render(image, QRect(0, 0, 330, 5)), 1);  // painted, though it does not fit
  EXPECT_FALSE(InkBox(image).isNull());
  EXPECT_EQ(Render(image, QRect(0, 0, 330, 25)), 1);
  EXPECT_EQ(Render(image, QRect(0, 0, 330, 60)), 0);
  EXPECT_EQ(Render(image, image.rect(), 100, 0, 31), 0);  // no such label: nothing painted
}

// Text cells are filled white on screen; a printer gets the text alone.
TEST_F(LabelRenderer, PaintSwitchesDecideWhetherTextCellsAreFilled) {
  const QColor grey(0x90, 0x90, 0x90);
  for (const auto& [switches, cellsFilled] :
       {std::pair<std::uint8_t, bool>{0, true}, {psTransparent, false}}) {
    QImage image = Image(330, 60, 96, grey);
    Render(image, image.rect(), 100, switches);
    int white = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) white += image.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_EQ(white > 100, cellsFilled) << int{switches};
  }
}

// The layout of a label is kept until its text, the zoom, the resolution or
// the width changes.
TEST_F(LabelRenderer, LaysALabelOutOnlyWhenWhatItDependsOnChanged) {
  PutRtf(FSheet.Storage(2)->RtfText(), LabelRtf);
  QImage screen = Image(330, 60, 96);
  QImage printer = Image(2100, 390, 600);
  struct TStep {
    const char* What;
    std::function<void()> Do;
    int Layouts;
  };
  const TStep steps[] = {
      {"first paint", [&] { Render(screen, screen.rect()); }, 1},
      {"same again", [&] { Render(screen, screen.rect()); }, 0},
      {"another label", [&] { Render(screen, screen.rect(), 100, 0, 2); }, 1},
      {"text changed", [&] { TWPRtfStrings(FSheet.Storage(1)->RtfText()).Put(0, "Receivable"); }, 0},
      {"after the change", [&] { Render(screen, screen.rect()); }, 1},
      {"the other label again", [&] { Render(screen, screen.rect(), 100, 0, 2); }, 0},
      {"zoomed", [&] { Render(screen, screen.rect(), 60); }, 1},
      {"narrower", [&] { Render(screen, QRect(0, 0, 200, 60), 60); }, 1},
      {"on the printer", [&] { Render(printer, printer.rect(), 100, psTransparent); }, 1},
      {"same text copied in", [&] { FSheet.Storage(2)->RtfText().Assign(FSheet.Storage(2)->RtfText()); }, 0},
      {"copied label again", [&] { Render(screen, screen.rect(), 100, 0, 2); }, 0},
  };
  for (const TStep& step : steps) {
    const int before = FRenderer.LayoutCount();
    step.Do();
    EXPECT_EQ(FRenderer.LayoutCount() - before, step.Layouts) << step.What;
  }
}

TEST_F(LabelRenderer, ATextThatCannotBeLaidOutRaisesAndIsTriedAgain) {
  FSheet.Storage(1)->RtfText().FirstParagraph->FirstLine->Attrs[0].FontIndex = 120;  // names no slot
  QImage image = Image(330, 60, 96);
  EXPECT_THROW(Render(image, image.rect()), std::exception);
  FSheet.Storage(1)->RtfText().FirstParagraph->FirstLine->Attrs[0].FontIndex = 0;
  EXPECT_EQ(Render(image, image.rect()), 0);
  EXPECT_FALSE(InkBox(image).isNull());
}
