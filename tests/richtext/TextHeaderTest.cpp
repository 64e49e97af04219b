#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "richtext/MulDiv.h"
#include "richtext/TextHeader.h"

namespace {
// A header as a canvas of 96 pixels per inch leaves it.
struct TScreenHeader : TTextHeader {
  TScreenHeader() {
    XPixelsPerInch = YPixelsPerInch = 96;
    Init();
    RecomputePixelValues();
  }
};
}  // namespace

TEST(MulDiv, RoundsToNearestWithA64BitProduct) {
  EXPECT_EQ(MulDiv(1000, 96, 1440), 67);  // 66.67
  EXPECT_EQ(MulDiv(1008, 96, 1440), 67);  // 67.2
  EXPECT_EQ(MulDiv(15, 1, 2), 8);         // halves away from zero
  EXPECT_EQ(MulDiv(-15, 1, 2), -8);
  EXPECT_EQ(MulDiv(7, -1, 2), -4);
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
  EXPECT_EQ(MulDiv(5, 0, 1440), 0);
  EXPECT_EQ(MulDiv(5, 1, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2, 1), -1);  // does not fit 32 bits
}

// Until a canvas lays its document out a header has no resolution: it
// converts nothing to pixels and snaps nothing.
TEST(TextHeader, CreationDefaultsWithoutAndWithAResolution) {
  TTextHeader bare;
  EXPECT_EQ(bare.XPixelsPerInch, 0);
  EXPECT_EQ(bare.TextWidthPixels, 0);
  EXPECT_EQ(bare.Snap(1000), 1000);
  EXPECT_EQ(bare.InsertTab(1000, tkLeft), TTabSet{1});
  EXPECT_EQ(bare.TabPositions[0], 1000);
  TScreenHeader h;
  EXPECT_EQ(h.PageWidth, 12240);
  EXPECT_EQ(h.PageHeight, 15840);
  EXPECT_EQ(h.PageSetting, 1);
  EXPECT_EQ(h.LeftMargin, 1880);
  EXPECT_EQ(h.RightMargin, 1880);
  EXPECT_EQ(h.TopMargin, 1440);
  EXPECT_EQ(h.BottomMargin, 1440);
  EXPECT_EQ(h.TextWidthTwips, 12240 - 3760);
  EXPECT_EQ(h.TextWidthPixels, 8480 * 96 / 1440);
  EXPECT_EQ(h.TextAreaWidthPixels, 565);
  EXPECT_EQ(h.TextAreaHeightPixels, 12960 * 96 / 1440);
  EXPECT_EQ(h.RulerStepPixels, 32);
  EXPECT_EQ(h.DefaultTabKind, tkLeft);
  EXPECT_EQ(h.DecimalTabChar, '.');
  EXPECT_EQ(h.LastLoadFormat, 0);
  EXPECT_EQ(h.Colors[1], 0x0000FFu);
  EXPECT_EQ(h.Colors[3], 0xFF0000u);
  EXPECT_EQ(h.Colors[12], 0xFFFFFFu);
  EXPECT_EQ(h.Colors[15], 0u);
  for (int i = 0; i < TTextHeader::kTabSlots; ++i) {
    EXPECT_EQ(h.TabPositions[i], 0);
    EXPECT_EQ(h.TabOrder[i], i);
  }
  for (int i = 0; i < TTextHeader::kFontSlots; ++i) EXPECT_TRUE(h.FontSlotEmpty(i));
}

TEST(TextHeader, FontLookupOrAdd) {
  TScreenHeader h;
  EXPECT_EQ(h.FindOrAddFont("Arial"), 0);
  EXPECT_EQ(h.FindOrAddFont("arial"), 0);
  EXPECT_TRUE(h.FontSlotEmpty(1));
  EXPECT_EQ(h.FindOrAddFont("Times New Roman"), 1);
  const std::string longName(40, 'x');
  EXPECT_EQ(h.FindOrAddFont(longName), 2);
  EXPECT_EQ(h.FontNames[2], std::string(31, 'x'));
  EXPECT_EQ(h.FindOrAddFont(longName + "y"), 2);  // equal after truncation
  EXPECT_EQ(h.FontFamilyPitch[2], 0);
  EXPECT_EQ(h.FontCharset[2], 0);
}

TEST(TextHeader, FullFontTableGives99) {
  TScreenHeader h;
  for (int i = 0; i < 99; ++i) ASSERT_EQ(h.FindOrAddFont("Font" + std::to_string(i)), i);
  EXPECT_EQ(h.FindOrAddFont("One more"), 99);
  EXPECT_EQ(h.FindOrAddFont("font42"), 42);
}

TEST(TextHeader, Snap) {
  TScreenHeader h;
  EXPECT_EQ(h.Snap(1000), 1008);
  EXPECT_EQ(h.Snap(1078), 1008);  // 70 past a grid point stays
  EXPECT_EQ(h.Snap(1079), 1152);  // 71 past goes to the next
  // Negative positions snap the same way and are stable.
  EXPECT_EQ(h.Snap(-144), -144);
  EXPECT_EQ(h.Snap(-100), -144);
  EXPECT_EQ(h.Snap(-60), 0);
  EXPECT_EQ(h.Snap(h.Snap(-1000)), h.Snap(-1000));
  h.InchUnits = false;
  EXPECT_EQ(h.Snap(1000), 987);
}

TEST(TextHeader, TabInsertionSnapsAndReusesSlots) {
  TScreenHeader h;
  const TTabSet first = h.InsertTab(1000, tkLeft);
  EXPECT_EQ(first, TTabSet{1});
  EXPECT_EQ(h.TabPositions[0], 1008);
  EXPECT_EQ(h.TabPixelPositions[0], MulDiv(1008, 96, 1440));
  EXPECT_EQ(h.InsertTab(1008, tkLeft), first);
  EXPECT_EQ(h.InsertTab(1000, tkLeft), first);
  EXPECT_TRUE(h.TabSlotFree(1));
  // Another kind at the same place needs a slot of its own.
  EXPECT_EQ(h.InsertTab(1008, tkRight), TTabSet{2});
  EXPECT_EQ(h.TabKinds[1], tkRight);
  // tkAll finds any kind and stores new tabs with the default kind.
  int pos = 1008;
  EXPECT_EQ(h.FindTab(pos, tkAll), 0);
  h.DefaultTabKind = tkCenter;
  EXPECT_EQ(h.InsertTab(2880, tkAll), TTabSet{4});
  EXPECT_EQ(h.TabKinds[2], tkCenter);
}

TEST(TextHeader, TabInsertionInCentimetres) {
  TScreenHeader h;
  h.InchUnits = false;
  EXPECT_EQ(h.InsertTab(1000, tkLeft), TTabSet{1});
  EXPECT_EQ(h.TabPositions[0], 987);
}

TEST(TextHeader, TabAtZeroOrBelowIsRefused) {
  TScreenHeader h;
  EXPECT_EQ(h.InsertTab(0, tkLeft), TTabSet{0});
  EXPECT_EQ(h.InsertTab(-5, tkLeft), TTabSet{0});
  // Snapping a tiny position to 0 would make a slot that reads as free.
  EXPECT_EQ(h.InsertTab(10, tkLeft), TTabSet{0});
  for (int i = 0; i < TTextHeader::kTabSlots; ++i) EXPECT_TRUE(h.TabSlotFree(i));
}

TEST(TextHeader, FullTabTableWithAndWithoutCleanup) {
  TScreenHeader h;
  for (int i = 0; i < TTextHeader::kTabSlots; ++i)
    ASSERT_EQ(h.InsertTab(144 * (i + 1), tkLeft), TTabSet{1} << i);
  EXPECT_EQ(h.InsertTab(144 * 100, tkLeft), TTabSet{0});
  int calls = 0;
  h.OnTabCleanup = [&] { ++calls; };  // frees nothing
  EXPECT_EQ(h.InsertTab(144 * 100, tkLeft), TTabSet{0});
  EXPECT_EQ(calls, 1);
  h.OnTabCleanup = [&] {
    ++calls;
    h.TabPositions[5] = 0;
    h.TabPixelPositions[5] = 0;
  };
  EXPECT_EQ(h.InsertTab(144 * 100, tkLeft), TTabSet{1} << 5);
  EXPECT_EQ(h.TabPositions[5], 14400);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(h.TabOrder[63], 5);  // the largest position sorts last
}

TEST(TextHeader, SortPutsFreeSlotsLastAndKeepsEqualOrder) {
  TScreenHeader h;
  h.TabPositions[3] = 2880;
  h.TabPositions[7] = 1440;
  h.TabPositions[9] = 1440;
  h.SortTabs();
  EXPECT_EQ(h.TabOrder[0], 7);
  EXPECT_EQ(h.TabOrder[1], 9);
  EXPECT_EQ(h.TabOrder[2], 3);
  EXPECT_EQ(h.TabOrder[3], 0);  // free slots follow in slot order
  EXPECT_EQ(h.TabOrder[63], 63);
}

TEST(TextHeader, TabLookupWithinASet) {
  TScreenHeader h;
  h.InsertTab(1440, tkLeft);
  h.InsertTab(2880, tkLeft);
  int pos = 2880;
  EXPECT_EQ(h.FindTabInSet(pos, tkLeft, TTabSet{1}), -1);
  pos = 2880;
  EXPECT_EQ(h.FindTabInSet(pos, tkLeft, TTabSet{2}), 1);
  pos = 2900;  // snaps to 2880
  EXPECT_EQ(h.FindTab(pos, tkLeft), 1);
  EXPECT_EQ(pos, 2880);
}

TEST(TextHeader, ClearTabsAndRecomputePixels) {
  TScreenHeader h;
  h.InsertTab(1440, tkRight);
  h.XPixelsPerInch = 600;
  h.YPixelsPerInch = 600;
  h.RecomputePixelValues();
  EXPECT_EQ(h.TabPixelPositions[0], 600);
  EXPECT_EQ(h.TextAreaWidthPixels, 8480 * 600 / 1440);
  EXPECT_EQ(h.TextAreaHeightPixels, 12960 * 600 / 1440);
  EXPECT_EQ(h.XTwipsPerPixel, 2);
  h.ClearTabs();
  EXPECT_TRUE(h.TabSlotFree(0));
  EXPECT_EQ(h.TabPixelPositions[0], 0);
  EXPECT_EQ(h.TabKinds[0], tkLeft);
}

TEST(TextHeader, TextWidthSettersTruncate) {
  TScreenHeader h;
  h.SetTextWidthPixels(100);
  EXPECT_EQ(h.TextWidthTwips, 1500);
  h.SetTextWidthTwips(1000);
  EXPECT_EQ(h.TextWidthPixels, 66);  // truncated, not rounded
  h.XPixelsPerInch = 0;
  h.SetTextWidthPixels(50);
  EXPECT_EQ(h.TextWidthPixels, 50);
  EXPECT_EQ(h.TextWidthTwips, 1000);  // unchanged without a resolution
}

TEST(TextHeader, AssignCopiesTablesAndPageBlock) {
  TTextHeader a;
  a.FindOrAddFont("Arial");
  a.FindOrAddFont("Courier New");
  a.FontFamilyPitch[1] = 0x31;
  a.FontCharset[1] = 2;
  a.Colors[4] = 0x123456;
  a.InsertTab(2000, tkDecimal);
  a.PageWidth = 5000;
  a.LeftMargin = 100;
  a.FacingPages = true;
  a.Landscape = true;
  a.PageOptions = 9;
  a.Title = "kept apart";
  TTextHeader b;
  b.FindOrAddFont("Old");
  b.FindOrAddFont("Gone");
  b.ScratchPtr = b.ScratchBuffer + 5;
  b.Assign(&a);
  EXPECT_EQ(b.FontNames[0], "Arial");
  EXPECT_EQ(b.FontNames[1], "Courier New");
  EXPECT_EQ(b.FontFamilyPitch[1], 0x31);
  EXPECT_EQ(b.FontCharset[1], 2);
  EXPECT_EQ(b.Colors[4], 0x123456u);
  EXPECT_EQ(b.TabPositions, a.TabPositions);
  EXPECT_EQ(b.TabKinds[0], tkDecimal);
  EXPECT_EQ(b.PageWidth, 5000);
  EXPECT_EQ(b.LeftMargin, 100);
  EXPECT_TRUE(b.FacingPages && b.Landscape);
  EXPECT_EQ(b.PageOptions, 9);
  EXPECT_EQ(b.Title, "");
  EXPECT_EQ(b.ScratchPtr, b.ScratchBuffer);
  // Reset without a source.
  b.Assign(nullptr);
  EXPECT_EQ(b.PageWidth, 12240);
  EXPECT_TRUE(b.FontSlotEmpty(1));
  EXPECT_EQ(b.FontNames[0], "Arial");  // slot 0 survives re-initialisation
}

TEST(TextHeader, InitKeepsTabsAndInformation) {
  TScreenHeader h;
  h.InsertTab(1440, tkLeft);
  h.Subject = "s";
  h.Colors[0] = 0xFFFFFF;
  h.FindOrAddFont("A");
  h.FindOrAddFont("B");
  h.Init();
  EXPECT_EQ(h.TabPositions[0], 1440);
  EXPECT_EQ(h.Subject, "s");
  EXPECT_EQ(h.Colors[0], 0u);
  EXPECT_EQ(h.FontNames[0], "A");
  EXPECT_TRUE(h.FontSlotEmpty(1));
}

TEST(TextHeader, ExtremePageValuesFromFilesStayDefined) {
  TScreenHeader h;
  h.PageWidth = std::numeric_limits<int>::max();
  h.LeftMargin = std::numeric_limits<int>::min();
  h.RecomputePixelValues();
  EXPECT_EQ(h.TextAreaWidthPixels, (4294967295LL - 1880) * 96 / 1440);
  EXPECT_EQ(h.Snap(std::numeric_limits<int>::max()), std::numeric_limits<int>::max());  // clamped
  EXPECT_EQ(h.InsertTab(std::numeric_limits<int>::max(), tkLeft), TTabSet{1});
}
