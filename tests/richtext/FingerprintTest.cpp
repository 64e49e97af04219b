// A document's fingerprint follows what it shows, not what layout writes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "richtext/Fingerprint.h"
#include "richtext/RtfText.h"

namespace {

// One paragraph of two lines of formatted text.
void Fill(TWPRTFText& doc) {
  doc.SetRtfMode();
  TAttr a{};
  a.Size = 10;
  doc.SetParagraphText(0, "Accounts", &a, 8);
  TParagraph* par = doc.FirstParagraph;
  TLine* second = doc.AppendLine(par, 12);
  doc.ReplaceChars(par, second, &a, 7, "Payable", 0, 0);
}

struct TChange {
  const char* What;
  std::function<void(TWPRTFText&)> Apply;
  bool Shows;  // whether the document now shows something else
};

}  // namespace

TEST(Fingerprint, ChangesWithWhatTheDocumentShowsOnly) {
  auto first = [](TWPRTFText& d) -> TParagraph& { return *d.FirstParagraph; };
  auto line = [](TWPRTFText& d) -> TLine& { return *d.FirstParagraph->FirstLine; };
  const TChange changes[] = {
      {"a character", [&](TWPRTFText& d) { line(d).Text[0] = 'a'; }, true},
      {"a font", [&](TWPRTFText& d) { line(d).Attrs[1].FontIndex = 1; }, true},
      {"a size", [&](TWPRTFText& d) { line(d).Attrs[1].Size = 12; }, true},
      {"a colour", [&](TWPRTFText& d) { line(d).Attrs[1].Colors = 0x21; }, true},
      {"bold", [&](TWPRTFText& d) { line(d).Attrs[1].Style |= kStyleBold; }, true},
      {"the empty line's font", [&](TWPRTFText& d) { line(d).Attrs[line(d).Length].Size = 30; }, true},
      {"an indent", [&](TWPRTFText& d) { first(d).LeftIndent = 720; }, true},
      {"alignment", [&](TWPRTFText& d) { first(d).Alignment = 2; }, true},
      {"a border", [&](TWPRTFText& d) { first(d).BorderFlags = kBorderOn | kBorderBox; }, true},
      {"shading", [&](TWPRTFText& d) { first(d).ShadingColors = 0x10; }, true},
      {"a tab set", [&](TWPRTFText& d) { first(d).TabSet = 1; }, true},
      {"a font name", [&](TWPRTFText& d) { d.Header.FontNames[0] = "Courier New"; }, true},
      {"the colour table", [&](TWPRTFText& d) { d.Header.Colors[1] = 0x123456; }, true},
      {"a tab stop", [&](TWPRTFText& d) { d.Header.TabPositions[0] = 1440; }, true},
      {"the page width", [&](TWPRTFText& d) { d.Header.PageWidth = 5000; }, true},
      {"a paragraph more", [&](TWPRTFText& d) { d.InsertParagraphText(1, "x", nullptr, 1); }, true},
      {"measured widths", [&](TWPRTFText& d) { line(d).Attrs[0].Width = 99; }, false},
      {"line heights and places", [&](TWPRTFText& d) { line(d).Height = 40, line(d).Top = 7; }, false},
      {"the selection mark", [&](TWPRTFText& d) { line(d).Attrs[0].Style |= kStyleSelected; }, false},
      {"selection state", [&](TWPRTFText& d) { line(d).SelState = 2; }, false},
      {"layout flags", [&](TWPRTFText& d) { first(d).ParState = kParNeedsBoth; }, false},
      {"the resolution", [&](TWPRTFText& d) { d.Header.XPixelsPerInch = 600; }, false},
  };
  for (const TChange& change : changes) {
    TWPRTFText doc;
    Fill(doc);
    const std::uint64_t before = ContentFingerprint(doc);
    change.Apply(doc);
    EXPECT_EQ(ContentFingerprint(doc) != before, change.Shows) << change.What;
  }
  TWPRTFText a, b;
  Fill(a);
  Fill(b);
  EXPECT_EQ(ContentFingerprint(a), ContentFingerprint(b));
}
