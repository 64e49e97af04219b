#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "labelpage/LabelPageTestSupport.h"
#include "platform/ScriptedDialogService.h"
#include "printing/LabelPrintPrep.h"
#include "printing/PaintBox.h"
#include "printing/PrintingTestSupport.h"

namespace {

using labelpagetest::GridLayout;

const QColor kLightRed(0xFF, 0x80, 0x80);

// A shown dialog for the layout, as the Print Page command shows it.
class TShownDialog {
 public:
  explicit TShownDialog(const TLabelLayoutRecord& layout) {
    Dialog.AssignLayout(layout);
    Dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
  }
  QColor ColorInside(int k) {
    const TCellRect& r = Dialog.LabelRect(k);
    return Dialog.PaintBox1->grab().toImage().pixelColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void ClickLabel(int k, Qt::MouseButton button = Qt::LeftButton) {
    const TCellRect& r = Dialog.LabelRect(k);
    QTest::mouseClick(Dialog.PaintBox1, button, {}, QPoint(r.Left + 1, r.Bottom - 1));
  }
  TLabelPrintPrep Dialog;
};

TEST(LabelPrintPrep, MiniatureIsOneFifthAndWidensThePanelForLargePages) {
  struct TCase {
    const char* Name;
    int PageWidth, PageHeight;
    int PanelWidth;
    int MiniatureHeight;  // 0: the designed panel height stays
  } cases[] = {
      {"Letter portrait", 8500, 11000, 204, 0},
      {"Letter landscape", 11000, 8500, 231, 0},  // s(11000) = 211
      {"Legal", 8500, 14000, 204, 268 + 20},
      {"Tabloid landscape", 17000, 11000, 346, 0},
  };
  for (const TCase& c : cases) {
    TLabelLayoutRecord layout = GridLayout(2, 5);
    layout.PageWidth = c.PageWidth;
    layout.PageHeight = c.PageHeight;
    TShownDialog shown(layout);
    TLabelPrintPrep& dialog = shown.Dialog;
    EXPECT_EQ(dialog.PPI(), 96);
    EXPECT_EQ(dialog.PagePanel->width(), c.PanelWidth) << c.Name;
    const int extra = dialog.PageLabel->height() + dialog.PageBottomPanel->height();
    EXPECT_EQ(dialog.PagePanel->height(), c.MiniatureHeight ? c.MiniatureHeight + extra : 294) << c.Name;
    // The whole page fits in the paint box, and the dialog holds the panel
    // and its buttons without overlap.
    EXPECT_GE(dialog.PaintBox1->width(), dialog.S(c.PageWidth) + 20) << c.Name;
    EXPECT_GE(dialog.PaintBox1->height(), dialog.S(c.PageHeight) + 20) << c.Name;
    const QRect client(QPoint(0, 0), dialog.size());
    EXPECT_TRUE(client.contains(dialog.PagePanel->geometry())) << c.Name;
    EXPECT_TRUE(client.contains(dialog.BottomBar->geometry())) << c.Name;
    EXPECT_LT(dialog.PagePanel->geometry().bottom(), dialog.BottomBar->geometry().top()) << c.Name;
    EXPECT_TRUE(dialog.BottomBar->rect().contains(dialog.Helpbutton->geometry())) << c.Name;
  }
}

TEST(LabelPrintPrep, LabelsSitAtTheirScaledPlacesAndTheCentreGapMovesTheRightColumn) {
  TLabelLayoutRecord layout = GridLayout(2, 4);
  layout.HorizontalCenterGap = 250;
  layout.VerticalCenterGap = 125;
  TShownDialog shown(layout);
  TLabelPrintPrep& d = shown.Dialog;
  // Margins 500/1000 give 9/19 pixels, pitches 2500/1250 give 48/24, the
  // label is 38 x 19; the gaps add 4 and 2 pixels.
  EXPECT_EQ(d.LabelRect(0), (TCellRect{19, 29, 57, 48}));
  EXPECT_EQ(d.LabelRect(1), (TCellRect{19 + 48 + 4, 29, 57 + 48 + 4, 48}));
  EXPECT_EQ(d.LabelRect(4), (TCellRect{19, 29 + 2 * 24 + 2, 57, 48 + 2 * 24 + 2}));
  EXPECT_EQ(d.LabelRect(7), (TCellRect{71, 29 + 3 * 24 + 2, 109, 48 + 3 * 24 + 2}));

  // Drawn there: the right column's outline stands 4 pixels further right,
  // with white page before it.
  const QImage image = d.PaintBox1->grab().toImage();
  const int y = 38;
  EXPECT_EQ(image.pixelColor(71, y), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(70, y), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(67, y), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(72, y), kLightRed);
  // The page: white inside a black outline from (10, 10), 163 x 211 pixels.
  EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(10 + 162, 10 + 210), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(10 + 163, 100), image.pixelColor(5, 5));  // outside the page
  printingtest::SaveScreenshot(d, "LabelPrintPrep");
}

TEST(LabelPrintPrep, ClickingALabelTogglesItsColourWithAnyButton) {
  TShownDialog shown(GridLayout(2, 5));
  EXPECT_EQ(shown.ColorInside(2), kLightRed);
  shown.ClickLabel(2);
  EXPECT_FALSE(shown.Dialog.Selected(2));
  EXPECT_EQ(shown.ColorInside(2), QColor(Qt::white));
  EXPECT_EQ(shown.ColorInside(3), kLightRed);  // its neighbour stays
  shown.ClickLabel(2, Qt::RightButton);
  EXPECT_TRUE(shown.Dialog.Selected(2));
  EXPECT_EQ(shown.ColorInside(2), kLightRed);

  // The right and bottom edges belong to the next label, or to none.
  const TCellRect r = shown.Dialog.LabelRect(0);
  QTest::mouseClick(shown.Dialog.PaintBox1, Qt::LeftButton, {}, QPoint(r.Right, r.Top + 2));
  QTest::mouseClick(shown.Dialog.PaintBox1, Qt::LeftButton, {}, QPoint(r.Left + 2, r.Bottom));
  // The dialog's own surface is not the miniature, even where its
  // coordinates would fall on a label.
  ASSERT_EQ(shown.Dialog.childAt(r.Left + 2, r.Top + 2), nullptr);
  QTest::mouseClick(&shown.Dialog, Qt::LeftButton, {}, QPoint(r.Left + 2, r.Top + 2));
  EXPECT_TRUE(shown.Dialog.Selected(0));
}

TEST(LabelPrintPrep, PrintNeedsOneSelectedLabelOfTheSheet) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueMessageResult(idOK);
  TShownDialog shown(GridLayout(2, 2));
  TLabelPrintPrep& d = shown.Dialog;
  d.Selectnone->click();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(shown.ColorInside(k), QColor(Qt::white)) << k;
  EXPECT_TRUE(d.Selected(4));  // flags beyond the sheet are not the sheet's
  d.BitBtn1->click();
  ASSERT_EQ(dialogs->MessageTexts(), QStringList{"Need at least one label selected"});
  EXPECT_EQ(dialogs->Requests()[0].Caption, "Information");
  EXPECT_TRUE(d.isVisible());
  EXPECT_NE(d.result(), TLabelPrintPrep::ResultPrint);

  d.SelectAll->click();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(shown.ColorInside(k), kLightRed) << k;
  shown.ClickLabel(1);
  d.BitBtn1->click();
  EXPECT_EQ(d.result(), TLabelPrintPrep::ResultPrint);
  EXPECT_TRUE(dialogs->Unexpected().empty());
}

TEST(LabelPrintPrep, SetupShowsThePrintDialogStartingAtOneCopy) {
  TScopedScriptedDialogs dialogs;
  int copiesOffered = 0;
  dialogs->QueueExec([](QDialog& d) {
    auto& dialog = dynamic_cast<TLabelPrintPrep&>(d);
    EXPECT_EQ(dialog.Copies(), 1);
    dialog.BitBtn2->click();  // cancelled: nothing changes
    EXPECT_EQ(dialog.Copies(), 1);
    dialog.BitBtn2->click();
    EXPECT_EQ(dialog.Copies(), 3);
    EXPECT_TRUE(dialog.isHidden());  // Setup does not close the dialog
    dialog.BitBtn1->click();
    return dialog.result();
  });
  dialogs->QueuePrint(false, [](QPrinter& p) { p.setCopyCount(7); });
  dialogs->QueuePrint(true, [&](QPrinter& p) {
    copiesOffered = p.copyCount();
    p.setCopyCount(3);
  });
  const std::optional<TLabelPrintChoice> choice = TLabelPrintPrep::ChooseLabels(GridLayout(2, 5));
  EXPECT_EQ(copiesOffered, 1);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->Copies, 3);
  ASSERT_NE(choice->Printer, nullptr);
  EXPECT_EQ(choice->Printer->copyCount(), 3);
  EXPECT_TRUE(dialogs->Unexpected().empty());
}

TEST(LabelPrintPrep, ChoiceCarriesTheFlagsAndCancelCarriesNothing) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueExec([](QDialog& d) {
    auto& dialog = dynamic_cast<TLabelPrintPrep&>(d);
    // Sized for the sheet already; clicks need no showing.
    dialog.FormMouseDown(Qt::LeftButton, QPoint(dialog.LabelRect(4).Left, dialog.LabelRect(4).Top));
    dialog.BitBtn1->click();
    return dialog.result();
  });
  dialogs->QueueExec([](QDialog& d) {
    dynamic_cast<TLabelPrintPrep&>(d).BitBtn3->click();
    return d.result();
  });
  const std::optional<TLabelPrintChoice> choice = TLabelPrintPrep::ChooseLabels(GridLayout(2, 5));
  ASSERT_TRUE(choice.has_value());
  for (int k = 0; k < TLabelPrintChoice::FlagCount; ++k) EXPECT_EQ(choice->Flags[k], k != 4) << k;
  EXPECT_EQ(choice->Copies, 1);
  EXPECT_EQ(choice->Printer, nullptr);  // the default printer
  EXPECT_FALSE(TLabelPrintPrep::ChooseLabels(GridLayout(2, 5)).has_value());

  TShownDialog shown(GridLayout(1, 1));
  QTest::keyClick(&shown.Dialog, Qt::Key_Escape);
  EXPECT_EQ(shown.Dialog.result(), TLabelPrintPrep::ResultCancel);
}

TEST(LabelPrintPrep, HelpOpensTopic1002) {
  TLabelPrintPrep dialog;
  EXPECT_EQ(printingtest::HelpAnchorOpenedBy([&] { dialog.Helpbutton->click(); }), "1002");
}

}  // namespace
