#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <vector>

#include "common/TestSupport.h"
#include "labelpage/KLXPagePanel.h"
#include "labelpage/LabelPageTestSupport.h"

namespace {

using labelpagetest::GridLayout;
using labelpagetest::PutText;
using labelpagetest::TextOf;

const QRgb White = qRgb(255, 255, 255);
const QRgb Silver = qRgb(0xC0, 0xC0, 0xC0);
const QRgb Grey = qRgb(0x80, 0x80, 0x80);

class PagePanel : public ::testing::Test {
 protected:
  void SetUp() override {
    FPanel.SetPixelsPerInch(96);
    FPanel.AddLayout(GridLayout(2, 3, "Grid 2 x 3"));
    FPanel.AddLayout(GridLayout(2, 2, "Grid 2 x 2"));
    TLabelLayoutRecord touching = GridLayout(2, 3, "Touching");
    touching.VerticalPitch = touching.LabelHeight;  // rows share an edge
    FPanel.AddLayout(touching);
    FPanel.ClickedInCellEvent = [this](QWidget* canvas, TCellRect rTotal, TCellRect rFree, int n,
                                       std::unique_ptr<TWPRtfStorage>& storage) {
      EXPECT_EQ(canvas, &FPanel);
      EXPECT_EQ(rTotal, FPanel.Cell(n).rTotal);
      EXPECT_EQ(rFree, FPanel.Cell(n).rFree);
      EXPECT_EQ(&storage, &FPanel.Storage(n));
      FOpened.push_back(n);
    };
    FPanel.OnClick = [this](QObject* sender) {
      EXPECT_EQ(sender, &FPanel);
      ++FMisses;
    };
  }

  QImage Grab() { return FPanel.grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // Mouse input goes through the window system layer, as a real click does,
  // so a double click arrives as press, release, press, double click, release.
  void ShowPanel() {
    FPanel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FPanel));
  }
  void ClickAt(int x, int y) { QTest::mouseClick(FPanel.windowHandle(), Qt::LeftButton, {}, QPoint(x, y)); }
  void DoubleClickAt(int x, int y) {
    QTest::mouseDClick(FPanel.windowHandle(), Qt::LeftButton, {}, QPoint(x, y));
  }

  TKLXPagePanel FPanel;
  std::vector<int> FOpened;
  int FMisses = 0;
};

TEST_F(PagePanel, StartsWithoutASheet) {
  TKLXPagePanel panel;
  EXPECT_EQ(panel.Magnification(), 100);
  EXPECT_EQ(panel.LabelsPerPage(), 0);
  EXPECT_EQ(panel.SelectedCell(), 0);
  EXPECT_EQ(panel.LayoutCount(), 0);
  EXPECT_EQ(panel.TopMarginNudgeThousandthInches(), 0);
  EXPECT_FALSE(panel.PrintFlags()[501]);
  EXPECT_THROW(panel.PrintFlags()[502], std::out_of_range);
}

TEST_F(PagePanel, WithoutLabelsPaintsWhiteAndEveryClickMisses) {
  FPanel.resize(100, 100);
  ShowPanel();
  const QImage image = Grab();
  EXPECT_EQ(image.pixel(50, 50), White);
  ClickAt(50, 50);
  EXPECT_EQ(FMisses, 1);
  EXPECT_TRUE(FOpened.empty());
}

TEST_F(PagePanel, SetLayoutSizesThePanelToThePage) {
  FPanel.SetLayout("grid 2 X 3", false);
  EXPECT_EQ(FPanel.LabelsPerPage(), 6);
  EXPECT_EQ(FPanel.LayoutDescription().LayoutName, "Grid 2 x 3");
  EXPECT_EQ(FPanel.size(), QSize(816, 1055));
  FPanel.SetMagnification(60);
  EXPECT_EQ(FPanel.size(), QSize(489, 632));  // 816 x 0.6 = 489.6, and 1055 x 0.6 falls just short of 633
  EXPECT_EQ(FPanel.Cell(1).rTotal.Left, ZoomPixels(ThousandthsToPixels(500, 96), 60));
  FPanel.SetMagnification(100);
  EXPECT_EQ(FPanel.size(), QSize(816, 1055));
}

TEST_F(PagePanel, LoadingAFileShowsItsSheetAtItsPageSize) {
  FPanel.LoadFromFile(testsupport::DataFile("labelpage/WideIntegers.KLX").toStdString());
  EXPECT_EQ(FPanel.LabelsPerPage(), 2);
  EXPECT_EQ(FPanel.size(), QSize(TScreenScale(96, 100).Length(8500), TScreenScale(96, 100).Length(11000)));
  EXPECT_EQ(FPanel.Cell(2).rTotal, TScreenScale(96, 100).Cell(FPanel.LayoutDescription(), 2).rTotal);
}

TEST_F(PagePanel, AnUnknownNameKeepsTheLayoutButStillEmptiesTheLabels) {
  FPanel.SetLayout("Grid 2 x 3", false);
  PutText(FPanel.Storage(4)->RtfText(), "four");
  FPanel.SetLayout("No such sheet", false);
  EXPECT_EQ(FPanel.LayoutDescription().LayoutName, "Grid 2 x 3");
  EXPECT_EQ(FPanel.LabelsPerPage(), 6);
  EXPECT_TRUE(FPanel.Storage(4)->RtfText().IsEmpty());
}

TEST_F(PagePanel, KeepingContentsKeepsTheLabelsTheSmallerSheetStillHas) {
  FPanel.SetLayout("Grid 2 x 3", false);
  PutText(FPanel.Storage(1)->RtfText(), "one");
  PutText(FPanel.Storage(6)->RtfText(), "six");
  FPanel.SetLayout("Grid 2 x 2", true);
  EXPECT_EQ(FPanel.LabelsPerPage(), 4);
  EXPECT_EQ(TextOf(FPanel.Storage(1)->RtfText()), "one");
  EXPECT_EQ(FPanel.Cell(6).rTotal, TCellRect{});
  FPanel.SetLayout("Grid 2 x 3", true);
  EXPECT_EQ(TextOf(FPanel.Storage(1)->RtfText()), "one");
  ASSERT_TRUE(FPanel.Storage(6));
  EXPECT_TRUE(FPanel.Storage(6)->RtfText().IsEmpty());

  FPanel.SetLayout("Grid 2 x 2", false);
  EXPECT_TRUE(FPanel.Storage(1)->RtfText().IsEmpty());
}

TEST_F(PagePanel, AClickOpensTheLabelUnderItAndEdgesBelongToTheNeighbour) {
  FPanel.SetLayout("Touching", false);
  ShowPanel();
  const TCellRect first = FPanel.Cell(1).rTotal;
  ClickAt(first.Left, first.Top);
  ClickAt(first.Right - 1, first.Bottom - 1);
  ClickAt(first.Left + 5, first.Bottom);  // the top row of label 3
  EXPECT_EQ(FOpened, (std::vector<int>{1, 1, 3}));
  ClickAt(first.Right, first.Top + 5);  // between the columns
  ClickAt(first.Left - 1, first.Top + 5);
  EXPECT_EQ(FMisses, 2);
  const TCellRect last = FPanel.Cell(6).rTotal;
  ClickAt(last.Left + 5, last.Bottom);  // below the last row
  EXPECT_EQ(FMisses, 3);
  EXPECT_EQ(FOpened.size(), 3u);
  EXPECT_EQ(FPanel.SelectedCell(), 0);  // the handler selects, not the panel
}

TEST_F(PagePanel, ADoubleClickActsAsOneClick) {
  FPanel.SetLayout("Grid 2 x 3", false);
  ShowPanel();
  const TCellRect label2 = FPanel.Cell(2).rTotal;
  DoubleClickAt(label2.Left + 10, label2.Top + 10);
  EXPECT_EQ(FOpened, std::vector<int>{2});
  DoubleClickAt(2, 2);
  EXPECT_EQ(FMisses, 1);
}

TEST_F(PagePanel, OpeningNeighboursStopsAtTheEndsAndAtForgottenRectangles) {
  FPanel.SetLayout("Grid 2 x 3", false);
  FPanel.OpenNextCell(6);
  FPanel.OpenPreviousCell(1);
  EXPECT_TRUE(FOpened.empty());
  FPanel.OpenNextCell(5);
  FPanel.OpenPreviousCell(5);
  FPanel.OpenCell(3);
  FPanel.OpenCell(7);  // beyond the sheet: nothing
  EXPECT_EQ(FOpened, (std::vector<int>{6, 4, 3}));

  FPanel.ClearCellsFrom(3);
  FOpened.clear();
  FPanel.OpenNextCell(2);
  EXPECT_TRUE(FOpened.empty());
  Grab();  // painting lays the labels out again
  FPanel.OpenNextCell(2);
  EXPECT_EQ(FOpened, std::vector<int>{3});
}

TEST_F(PagePanel, AHandlerMayReplaceTheLabelsStorage) {
  FPanel.SetLayout("Grid 2 x 3", false);
  FPanel.ClickedInCellEvent = [](QWidget*, TCellRect, TCellRect, int,
                                 std::unique_ptr<TWPRtfStorage>& storage) {
    storage = std::make_unique<TWPRtfStorage>();
    PutText(storage->RtfText(), "replaced");
  };
  FPanel.OpenCell(2);
  TLabelDocument fallback;
  EXPECT_EQ(TextOf(FPanel.GetCellText(2, fallback)), "replaced");
  EXPECT_EQ(&FPanel.GetCellText(7, fallback), &fallback);
  EXPECT_EQ(&FPanel.GetCellText(0, fallback), &fallback);
}

TEST_F(PagePanel, ClearingEmptiesTheLabelsAndForgetsTheirRectangles) {
  FPanel.SetLayout("Grid 2 x 3", false);
  for (int n = 1; n <= 6; ++n) PutText(FPanel.Storage(n)->RtfText(), "text");
  FPanel.Storage(2).reset();  // a label without storage is skipped
  FPanel.ClearAllCells();
  for (int n : {1, 3, 6}) {
    EXPECT_TRUE(FPanel.Storage(n)->RtfText().IsEmpty()) << n;
    EXPECT_TRUE(FPanel.Cell(n).rFree.IsZero()) << n;
  }
  EXPECT_FALSE(FPanel.Cell(2).rTotal.IsZero());
}

TEST_F(PagePanel, PaintsAWhitePageWithSilverRoundedOutlines) {
  FPanel.SetLayout("Grid 2 x 3", false);
  const QImage image = Grab();
  const TCellRect r = FPanel.Cell(1).rTotal;
  EXPECT_EQ(image.pixel(20, 20), White);
  EXPECT_EQ(image.pixel(r.Left + 20, r.Top), Silver);
  EXPECT_EQ(image.pixel(r.Left + 20, r.Bottom - 1), Silver);
  EXPECT_EQ(image.pixel(r.Left, r.Top + 20), Silver);
  EXPECT_EQ(image.pixel(r.Right - 1, r.Top + 20), Silver);
  EXPECT_EQ(image.pixel(r.Right, r.Top + 20), White);
  EXPECT_EQ(image.pixel(r.Left, r.Top), White);  // rounded corner
  EXPECT_EQ(image.pixel(r.Left + 20, r.Top + 20), White);
}

TEST_F(PagePanel, DrawsTheStripesOfEachStyle) {
  const TScreenScale scale(96, 100);
  for (int style : {0, 1, 2}) {
    TLabelLayoutRecord folder = GridLayout(2, 3, "Folder " + std::to_string(style));
    folder.LabelWidth = 3438;
    folder.HorizontalPitch = 4000;
    folder.TextTop = 200;  // below the stripe, which the text area would cover
    folder.StripeStyle = style;
    FPanel.AddLayout(folder);
    FPanel.SetLayout(folder.LayoutName, false);
    const QImage image = Grab();
    const TCellRect r = FPanel.Cell(4).rTotal;
    const auto at = [&](int dx, int dy) {
      return image.pixel(r.Left + scale.Zoomed(dx), r.Top + scale.Zoomed(dy));
    };
    EXPECT_EQ(at(100, 10), style == 0 ? White : Silver) << style;
    EXPECT_EQ(at(17, 10), style == 2 ? Silver : White) << style;   // between two segments
    EXPECT_EQ(at(320, 38), style == 1 ? Silver : White) << style;  // the right tick
    EXPECT_EQ(at(100, 17), White) << style;
  }
}

// Every label's text area is painted white before its text, so a stripe
// reaching into the text area shows only outside it, empty label or not.
TEST_F(PagePanel, TheTextAreaCoversTheStripesWithinIt) {
  const TScreenScale scale(96, 100);
  TLabelLayoutRecord folder = GridLayout(2, 1, "Stripe under the text");
  folder.LabelWidth = 3438;
  folder.HorizontalPitch = 4000;
  folder.StripeStyle = 2;
  folder.TextTop = 0;
  folder.TextLeft = 1000;
  folder.TextRight = 3000;
  FPanel.AddLayout(folder);
  FPanel.SetLayout(folder.LayoutName, false);
  PutText(FPanel.Storage(2)->RtfText(), "i");
  const QImage image = Grab();
  for (int n : {1, 2}) {
    const TCellRect r = FPanel.Cell(n).rTotal, f = FPanel.Cell(n).rFree;
    const int y = r.Top + scale.Zoomed(10);
    EXPECT_EQ(image.pixel(r.Left + scale.Zoomed(50), y), Silver) << n;  // left of the text area
    EXPECT_EQ(image.pixel(f.Right - 5, y), White) << n;
    EXPECT_EQ(image.pixel(f.Right + 5, y), Silver) << n;
  }
}

TEST_F(PagePanel, TheSelectionFrameSurroundsTheTextArea) {
  FPanel.SetLayout("Grid 2 x 3", false);
  ShowPanel();
  FPanel.SetSelectedCell(3);
  EXPECT_EQ(FPanel.SelectedCell(), 3);
  const TCellRect f = FPanel.Cell(3).rFree;
  QImage image = Grab();
  int grey = 0;
  for (int x = f.Left - 1; x <= f.Right + 1; ++x) grey += image.pixel(x, f.Top - 1) == Grey;
  EXPECT_GT(grey, (f.Right - f.Left) / 4);
  EXPECT_EQ(image.pixel(f.Right + 2, f.Top + 10), White);
  EXPECT_EQ(image.pixel(f.Left + 10, f.Top + 10), White);

  FPanel.SetSelectedCell(0);
  image = Grab();
  for (int x = f.Left - 1; x <= f.Right + 1; ++x) ASSERT_NE(image.pixel(x, f.Top - 1), Grey);
}

// The striped file-folder sheet as the user sees it; set TABWRIGHT_SCREENSHOTS
// to keep the images.
TEST_F(PagePanel, ShowsTheStripedFolderSheetToScale) {
  TKLXPagePanel panel;
  panel.SetPixelsPerInch(96);
  LoadLLOFile((testsupport::BinDir() + QStringLiteral("/KLXFF.LLO")).toStdString(), panel.Layouts());
  panel.SetLayout("File folder 3-7/16 x 2/3 in, 30 per sheet, Letter, segmented stripe", false);
  ASSERT_EQ(panel.LabelsPerPage(), 30);
  panel.SetSelectedCell(1);
  const QString folder = qEnvironmentVariable("TABWRIGHT_SCREENSHOTS");
  for (int zoom : {100, 60}) {
    panel.SetMagnification(zoom);
    const QImage image = panel.grab().toImage();
    EXPECT_EQ(image.size(), QSize(ZoomPixels(816, zoom), ZoomPixels(1055, zoom)));
    const TCellRect last = panel.Cell(30).rTotal;
    EXPECT_LT(last.Bottom, image.height());
    EXPECT_LT(last.Right, image.width());
    if (!folder.isEmpty()) image.save(QDir(folder).filePath(QStringLiteral("labelpage-%1.png").arg(zoom)));
  }
}

}  // namespace
