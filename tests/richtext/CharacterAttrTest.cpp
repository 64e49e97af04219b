#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "richtext/CharacterAttr.h"
#include "richtext/RtfText.h"

namespace {
struct Recorder {
  std::vector<std::pair<int, int>> calls;
  void Attach(TCharacterAttr& a) {
    a.OnChange = [this](std::int32_t tag, int relayout) { calls.emplace_back(tag, relayout); };
  }
};
}  // namespace

TEST(CharacterAttr, FreshSetIsNeutral) {
  TCharacterAttr a;
  EXPECT_EQ(a.Bold(), tsIgnore);
  EXPECT_EQ(a.SubScript(), tsIgnore);
  EXPECT_FALSE(a.Hidden());
  EXPECT_FALSE(a.UseTextColor());
  EXPECT_EQ(a.TextColor(), 0u);
  EXPECT_EQ(a.Tag(), 0);
}

TEST(CharacterAttr, RelayoutFlagPerField) {
  TCharacterAttr a(0x1000);
  Recorder r;
  r.Attach(a);
  a.SetBold(tsTRUE);
  a.SetItalic(tsFALSE);
  a.SetSubScript(tsTRUE);
  a.SetSuperScript(tsTRUE);
  a.SetHidden(true);
  a.SetUnderline(tsTRUE);
  a.SetStrikeOut(tsTRUE);
  a.SetUseTextColor(true);
  a.SetUseBackgroundColor(true);
  const std::vector<std::pair<int, int>> expected = {{0x1000, 1}, {0x1000, 1}, {0x1000, 1},
                                                     {0x1000, 1}, {0x1000, 1}, {0x1000, 0},
                                                     {0x1000, 0}, {0x1000, 0}, {0x1000, 0}};
  EXPECT_EQ(r.calls, expected);
}

TEST(CharacterAttr, UnchangedValueDoesNotNotify) {
  TCharacterAttr a;
  Recorder r;
  r.Attach(a);
  a.SetBold(tsIgnore);
  a.SetHidden(false);
  a.SetTextColor(0);  // same colour: the Use flag stays off too
  EXPECT_TRUE(r.calls.empty());
  EXPECT_FALSE(a.UseTextColor());
  a.SetBold(tsTRUE);
  a.SetBold(tsTRUE);
  EXPECT_EQ(r.calls.size(), 1u);
}

TEST(CharacterAttr, ColourSettersTurnTheirUseFlagOnAndNotifyOnce) {
  TCharacterAttr a(7);
  Recorder r;
  r.Attach(a);
  a.SetTextColor(0x0000FF);
  EXPECT_TRUE(a.UseTextColor());
  a.SetBackgroundColor(0x00FF00);
  EXPECT_TRUE(a.UseBackgroundColor());
  a.SetUnderlineColor(0xFF0000);
  EXPECT_TRUE(a.UseUnderlineColor());
  const std::vector<std::pair<int, int>> expected = {{7, 0}, {7, 0}, {7, 0}};
  EXPECT_EQ(r.calls, expected);
}

TEST(CharacterAttr, UseUnderlineColorNotifiesOnlyWhileUnderlineIsForcedOn) {
  TCharacterAttr a;
  Recorder r;
  r.Attach(a);
  a.SetUseUnderlineColor(true);
  EXPECT_TRUE(a.UseUnderlineColor());
  EXPECT_TRUE(r.calls.empty());
  a.SetUnderline(tsFALSE);
  a.SetUseUnderlineColor(false);
  EXPECT_EQ(r.calls.size(), 1u);  // only the underline change
  a.SetUnderline(tsTRUE);
  a.SetUseUnderlineColor(true);
  EXPECT_EQ(r.calls.size(), 3u);
}

TEST(CharacterAttr, WithoutHandlerSettersStillStore) {
  TCharacterAttr a;
  a.SetItalic(tsTRUE);
  a.SetBackgroundColor(0x123456);
  EXPECT_EQ(a.Italic(), tsTRUE);
  EXPECT_EQ(a.BackgroundColor(), 0x123456u);
}

TEST(CharacterAttr, AssignCopiesValuesButNotTag) {
  TCharacterAttr a(1), b(2);
  Recorder r;
  r.Attach(b);
  a.SetBold(tsTRUE);
  a.SetTextColor(0xABCDEF);
  b.Assign(a);
  EXPECT_TRUE(b.SameValues(a));
  EXPECT_EQ(b.Tag(), 2);
  EXPECT_EQ(r.calls.size(), 1u);
  b.Assign(a);
  EXPECT_EQ(r.calls.size(), 1u);
}

TEST(CharacterAttr, DocumentSetsHaveTheirTagsAndDefaults) {
  TWPRTFText doc;
  EXPECT_EQ(doc.InsertPointAttr.Tag(), 0x1000);
  EXPECT_TRUE(doc.InsertPointAttr.UseTextColor());
  EXPECT_EQ(doc.InsertPointAttr.TextColor(), 0x0000FFu);
  EXPECT_EQ(doc.AutomaticTextAttr.Tag(), 0x2000);
  EXPECT_FALSE(doc.AutomaticTextAttr.UseTextColor());
  EXPECT_EQ(doc.HyperlinkTextAttr.Tag(), 0x10);
  EXPECT_EQ(doc.HyperlinkTextAttr.Underline(), tsTRUE);
  EXPECT_TRUE(doc.HyperlinkTextAttr.UseUnderlineColor());
  EXPECT_EQ(doc.HyperlinkTextAttr.UnderlineColor(), 0xFF0000u);
  EXPECT_EQ(doc.ProtectedTextAttr.Tag(), 0);
  EXPECT_EQ(doc.ProtectedTextAttr.Bold(), tsIgnore);
  EXPECT_FALSE(doc.ProtectedTextAttr.UseUnderlineColor());
}
