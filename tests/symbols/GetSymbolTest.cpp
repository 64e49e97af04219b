// The symbol picker: which fonts it offers, the keystroke texts, the size
// buttons with their repeat and the grid's columns, and the rich text "Ok"
// leaves on the clipboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include "platform/ScriptedDialogService.h"
#include "printing/PrintingTestSupport.h"
#include "richtext/RtfTextIo.h"
#include "richtext/Stream.h"
#include "symbols/GetSymbol.h"
#include "symbols/RptSpeedButton.h"
#include "symbols/SymbolFonts.h"

namespace {

using printingtest::TManualClock;

TFontFacts SymbolFont(const char* family) { return {family, true, true, true}; }

// Fonts the picker sees for the life of the object.
class TScopedFonts {
 public:
  explicit TScopedFonts(std::vector<TFontFacts> fonts) { SetInstalledFontFactsOverride(std::move(fonts)); }
  ~TScopedFonts() { SetInstalledFontFactsOverride(std::nullopt); }
};

TEST(SymbolFonts, OnlyScalableSymbolFontsWithTheirOwnGlyphsAreListed) {
  const std::vector<TFontFacts> fonts = {
      {"Symbolic Bitmap", false, true, true},   // not scalable
      {"Plain Sans", true, false, true},        // not of the symbol writing system
      {"Borrowed Letters", true, true, false},  // its letters come from other fonts
      SymbolFont("zapf dingbats"),
      SymbolFont("Arrows"),
      SymbolFont("Arrows"),  // another foundry of the same family
  };
  EXPECT_EQ(SymbolFontNames(fonts), QStringList({"Arrows", "zapf dingbats"}));

  // The fonts the set-up installs: two symbol fonts of their own, and a
  // symbol-writing-system font whose letters are not its own.
  const QStringList installed = SymbolFontNames(InstalledFontFacts());
  EXPECT_TRUE(installed.contains("D050000L")) << installed.join(", ").toStdString();
  EXPECT_TRUE(installed.contains("Standard Symbols PS")) << installed.join(", ").toStdString();
  EXPECT_FALSE(installed.contains("OpenSymbol"));
  EXPECT_FALSE(installed.contains("Liberation Sans"));
}

TEST(SymbolFonts, TheGridStartsInWingdingsElseInTheFirstSymbolFont) {
  const struct {
    std::vector<TFontFacts> Fonts;
    const char* Chosen;
  } cases[] = {
      {{SymbolFont("Arrows"), SymbolFont("Wingdings"), SymbolFont("Dingbats")}, "Wingdings"},
      {{SymbolFont("Zodiac"), SymbolFont("Dingbats"), SymbolFont("Arrows")}, "Arrows"},
  };
  for (const auto& c : cases) {
    TScopedFonts fonts(c.Fonts);
    TGetSymbol dialog;
    EXPECT_EQ(dialog.SymbolSets->currentText(), c.Chosen);
    EXPECT_EQ(dialog.SymbolFontName(), c.Chosen);
    EXPECT_EQ(dialog.SymbolSets->count(), 3);
    EXPECT_EQ(dialog.SymbolList->currentRow(), 0);
  }
}

TEST(SymbolFonts, WithoutSymbolFontsTheDialogSaysSoAndIsNotShown) {
  TScopedFonts fonts({{"Plain Sans", true, false, true}});
  TScopedScriptedDialogs dialogs;
  dialogs->QueueMessageResult(idOK);
  TGetSymbol dialog;
  EXPECT_EQ(dialog.ShowModal(), TGetSymbol::ResultCancel);
  EXPECT_EQ(dialogs->MessageTexts(), QStringList({"No Symbol fonts installed"}));
  EXPECT_TRUE(dialogs->Unexpected().empty());
}

class GetSymbolTest : public ::testing::Test {
 protected:
  TScopedFonts FFonts{{SymbolFont("D050000L"), SymbolFont("Standard Symbols PS")}};
  TManualClock FClock;
  TScopedRepeatTimerFactory FTimers{[this] { return FClock.NewTimer(); }};
  TGetSymbol FDialog;
};

// The keystroke follows the selected cell, and stays when only the font changes.
TEST_F(GetSymbolTest, KeystrokeTextFollowsTheSelectedCharacter) {
  const struct {
    int Code;
    const char* Text;
  } cases[] = {{32, "Keystroke: Spacebar"}, {33, "Keystroke: !"},         {65, "Keystroke: A"},
               {126, "Keystroke: ~"},       {127, "Keystroke: Alt+0127"}, {169, "Keystroke: Alt+0169"},
               {255, "Keystroke: Alt+0255"}};
  for (const auto& c : cases) {
    FDialog.SymbolList->setCurrentRow(c.Code - 32);
    EXPECT_EQ(FDialog.Keystroke->text(), c.Text);
  }
  FDialog.SymbolSets->setCurrentIndex(1);
  FDialog.SymbolSetsClick();
  EXPECT_EQ(FDialog.SymbolFontName(), "Standard Symbols PS");
  EXPECT_EQ(FDialog.Keystroke->text(), "Keystroke: Alt+0255");
}

// Held down, the larger button steps once after 400 ms and then every 100 ms,
// up to 72 points; the grid changes its columns on the way. The smaller
// button stops at 6 points.
TEST_F(GetSymbolTest, HoldingTheSizeButtonsStepsTheGridWithinItsLimits) {
  EXPECT_EQ(FDialog.SymbolFontSize(), 12);
  EXPECT_EQ(FDialog.SymbolList->Columns(), 8);
  for (int i = 0; i < 10; ++i) FDialog.RptSpeedButton1->click();
  EXPECT_EQ(FDialog.SymbolFontSize(), 6);

  TRptSpeedButton* larger = FDialog.RptSpeedButton2;
  std::vector<int> changedAt;
  int columns = FDialog.SymbolList->Columns();
  QTest::mousePress(larger, Qt::LeftButton);
  FClock.Advance(399);
  EXPECT_EQ(FDialog.SymbolFontSize(), 6);
  FClock.Advance(1);
  EXPECT_EQ(FDialog.SymbolFontSize(), 7);
  for (int step = 0; step < 70; ++step) {
    FClock.Advance(100);
    if (FDialog.SymbolList->Columns() != columns) changedAt.push_back(FDialog.SymbolFontSize());
    columns = FDialog.SymbolList->Columns();
  }
  QTest::mouseRelease(larger, Qt::LeftButton);
  EXPECT_EQ(FDialog.SymbolFontSize(), 72);
  EXPECT_EQ(larger->Count(), 72);  // the press and 71 repeats
  EXPECT_EQ(changedAt, std::vector<int>({11, 21, 31, 41, 51, 61}));
  EXPECT_EQ(FDialog.SymbolList->Columns(), 2);

  FDialog.PSpeedButton1->click();
  EXPECT_EQ(FDialog.SymbolFontSize(), 20);
  EXPECT_EQ(FDialog.SymbolList->Columns(), 10);
}

// "Ok" leaves the selected character on the clipboard as rich text in the
// symbol font at the grid's size, without a paragraph end, and ends the
// dialog with OK. Code 127 is a character of the font like any other.
TEST_F(GetSymbolTest, OkPutsTheSymbolOnTheClipboardInItsFontAndSize) {
  FDialog.PSpeedButton1->click();
  for (const int code : {169, 127}) {
    FDialog.SymbolList->setCurrentRow(code - 32);
    FDialog.CopyCharButton->click();
    EXPECT_EQ(FDialog.result(), TGetSymbol::ResultOk);

    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray rtf = data->data("text/rtf");
    EXPECT_EQ(data->data("text/richtext"), rtf);
    EXPECT_EQ(data->text(), QString(QChar(code)));

    TWPRTFTextIo pasted;
    TMemoryStream stream(rtf.toStdString());
    pasted.LoadFromStream(stream);
    ASSERT_EQ(pasted.ResultCode, 0) << pasted.LastError;
    ASSERT_EQ(pasted.ParagraphCount(), 1);
    EXPECT_EQ(pasted.ParagraphText(0), std::string(1, static_cast<char>(code)));
    const TAttr& attr = *pasted.AttribPtr(pasted.FirstParagraph->FirstLine, 0);
    EXPECT_EQ(pasted.Header.FontNames[attr.FontIndex], "D050000L");
    EXPECT_EQ(attr.Size, 20);
    EXPECT_EQ(attr.TextColor(), 0);
  }
}

TEST_F(GetSymbolTest, CancelAndHelp) {
  FDialog.OKButton->click();
  EXPECT_EQ(FDialog.result(), TGetSymbol::ResultCancel);
  EXPECT_EQ(printingtest::HelpAnchorOpenedBy([&] { FDialog.Helpbutton->click(); }), "1004");
}

}  // namespace
