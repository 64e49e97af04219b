// The finder: matching with and without case, whole words, the wildcard,
// the attribute filter, both directions, and replacing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "richtext/DocumentTestSupport.h"
#include "richtext/RtfText.h"
#include "richtext/gui/TextFinder.h"

namespace {

// A document of paragraphs separated by '|', all in font 0, 10 points.
class TFinderDocument {
 public:
  explicit TFinderDocument(const std::string& text) {
    TAttr a{};
    a.Size = 10;
    testdoc::SetParagraphs(Doc, text, a);
  }
  std::string Text() const {
    std::string text;
    for (const TParagraph* par = Doc.FirstParagraph; par; par = par->Next)
      text += (par == Doc.FirstParagraph ? "" : "|") + par->Text();
    return text;
  }
  // The record of the character at offset of the first paragraph.
  TAttr& Attr(int offset) {
    TLine* line = Doc.FirstParagraph->FirstLine;
    while (offset >= line->Length) offset -= line->Length, line = line->Next;
    return line->Attrs[offset];
  }
  TWPRTFText Doc;
};

struct TOptions {
  bool MatchCase = false;
  bool WholeWord = false;
  bool Wildcard = true;
};

// Every match from the start on, as "position:text", searching repeatedly.
std::vector<std::string> Matches(TWPTextFinder& finder, const std::string& text, const std::string& pattern,
                                 bool forwards = true) {
  std::vector<std::string> found;
  while (forwards ? finder.FindNext(pattern) : finder.FindPrevious(pattern)) {
    // The document as one string with '|' for paragraph ends maps positions 1:1.
    found.push_back(std::to_string(finder.FoundPosition()) + ":" +
                    text.substr(finder.FoundPosition(), finder.FoundLength()));
    if (found.size() > 50) break;
  }
  return found;
}

TEST(TextFinder, Matching) {
  using V = std::vector<std::string>;
  const struct {
    const char* Text;
    const char* Pattern;
    TOptions Options;
    V Expected;
  } cases[] = {
      {"ab AB Ab aB", "ab", {}, {"0:ab", "3:AB", "6:Ab", "9:aB"}},
      {"ab AB Ab aB", "ab", {.MatchCase = true}, {"0:ab"}},
      {"ab AB Ab aB", "AB", {.MatchCase = true}, {"3:AB"}},
      // Letters of the code page have their lower case too.
      {"\xC4\x62 \xE4\x42 \x8A", "\xE4\x62", {}, {"0:\xC4\x62", "3:\xE4\x42"}},
      {"\x8A\x9A \xDF\xFF", "\x9A\x8A", {}, {"0:\x8A\x9A"}},
      // Whole words: delimited by anything but letters (digits too).
      {"catalog cat, (cat) bobcat cat1", "cat", {.WholeWord = true}, {"8:cat", "14:cat", "26:cat"}},
      {"catalog cat, (cat) bobcat", "cat", {}, {"0:cat", "8:cat", "14:cat", "22:cat"}},
      {"cat\xE9 cat", "cat", {.WholeWord = true}, {"5:cat"}},
      {"cat|cat", "cat", {.WholeWord = true}, {"0:cat", "4:cat"}},
      // The wildcard: from the head to the next tail, in one paragraph.
      {"abc axxc|a c", "a*c", {}, {"0:abc", "4:axxc", "9:a c"}},
      {"abcbc", "a*c", {}, {"0:abc"}},
      {"ab|c", "a*c", {}, {}},
      {"xa|c", "a*c", {}, {}},
      {"ab|abc", "a*c", {}, {"3:abc"}},
      // A second wildcard stands for one character of the tail.
      {"axbyd axbyyd", "a*b*d", {}, {"0:axbyd"}},
      {"a*c abc", "a*c", {.Wildcard = false}, {"0:a*c"}},
      // Nothing to look for finds nothing.
      {"abc", "", {}, {}},
      {"abc", "x", {}, {}},
      {"", "a", {}, {}},
  };
  for (const auto& c : cases) {
    TFinderDocument doc(c.Text);
    TWPTextFinder finder(&doc.Doc);
    finder.MatchCase = c.Options.MatchCase;
    finder.WholeWord = c.Options.WholeWord;
    finder.Wildcard = c.Options.Wildcard ? TWPTextFinder::kWildcard : 0;
    EXPECT_EQ(Matches(finder, c.Text, c.Pattern), c.Expected) << c.Text << " / " << c.Pattern;
  }
}

TEST(TextFinder, AMatchRunsOverTheLinesOfItsParagraph) {
  TFinderDocument doc("abcd|ab");
  doc.Doc.InsertText(doc.Doc.FirstParagraph, 2, nullptr, "XY");  // a line of its own
  ASSERT_NE(doc.Doc.FirstParagraph->FirstLine->Next, nullptr);
  TWPTextFinder finder(&doc.Doc);
  EXPECT_EQ(Matches(finder, "abXYcd|ab", "bxyc"), std::vector<std::string>({"1:bXYc"}));
}

TEST(TextFinder, PatternsAreCutTo255Characters) {
  const std::string text(300, 'a');
  TFinderDocument doc(text);
  TWPTextFinder finder(&doc.Doc);
  ASSERT_TRUE(finder.FindNext(std::string(300, 'a')));
  EXPECT_EQ(finder.FoundLength(), 255);
  EXPECT_EQ(finder.SearchText().size(), 256u);
}

TEST(TextFinder, BackwardsFindsTheLastMatchBeforeTheStart) {
  const std::string text = "ab ab|ab";
  TFinderDocument doc(text);
  TWPTextFinder finder(&doc.Doc);
  finder.SetStart(8);
  EXPECT_EQ(Matches(finder, text, "ab", false), std::vector<std::string>({"6:ab", "3:ab", "0:ab"}));
  EXPECT_TRUE(finder.Backwards);
  finder.SetStart(4);  // inside the second match: it begins before the start
  EXPECT_EQ(Matches(finder, text, "ab", false), std::vector<std::string>({"3:ab", "0:ab"}));
  finder.SetStart(0);
  EXPECT_FALSE(finder.FindPrevious("ab"));
  EXPECT_EQ(finder.FoundPosition(), 0);
  EXPECT_EQ(finder.FoundLength(), 0);
}

TEST(TextFinder, TheSearchStartsAtTheStartPosition) {
  const std::string text = "ab ab|ab";
  TFinderDocument doc(text);
  TWPTextFinder finder(&doc.Doc);
  finder.SetStart(1);
  EXPECT_EQ(Matches(finder, text, "ab"), std::vector<std::string>({"3:ab", "6:ab"}));
  finder.SetStart(100);  // beyond the end
  EXPECT_FALSE(finder.FindNext("ab"));
}

TEST(TextFinder, TheAttributeFilterAcceptsOnlyItsCharacters) {
  const std::string text = "cat cat cat cat cat";
  TFinderDocument doc(text);
  for (int i = 4; i < 7; ++i) doc.Attr(i).Style = kStyleBold;
  for (int i = 8; i < 11; ++i) doc.Attr(i).FontIndex = 1;
  for (int i = 12; i < 15; ++i) doc.Attr(i).Style = kStyleHyperlink, doc.Attr(i).Tag = 5;
  for (int i = 16; i < 19; ++i) doc.Attr(i).Style = kStyleHyperlink, doc.Attr(i).Tag = 6;
  doc.Attr(17).Colors = 0x32;
  const struct {
    int Filter;
    int FontIndex;
    std::uint16_t Tag;
    std::vector<std::string> Expected;
  } cases[] = {
      {wpfind::Bold, 0, 0, {"4:cat"}},
      {wpfind::SameFont, 1, 0, {"8:cat"}},
      {wpfind::SameFont | wpfind::SameSize | wpfind::SameTextColor | wpfind::SameBackgroundColor,
       0,
       0,
       {"0:cat", "4:cat", "12:cat"}},
      {wpfind::HyperlinkStyle, 0, 0, {"12:cat", "16:cat"}},
      {wpfind::Hyperlink, 0, 6, {"16:cat"}},
      {wpfind::Italic, 0, 0, {}},
      {wpfind::Object, 0, 0, {}},
  };
  for (const auto& c : cases) {
    TWPTextFinder finder(&doc.Doc);
    finder.AttrFilter = c.Filter;
    finder.FilterAttr.FontIndex = static_cast<std::uint8_t>(c.FontIndex);
    finder.FilterAttr.Size = 10;
    finder.FilterTag = c.Tag;
    EXPECT_EQ(Matches(finder, text, "cat"), c.Expected) << c.Filter;
  }
}

TEST(TextFinder, ReplaceTakesTheAttributesOfTheFirstFoundCharacter) {
  TFinderDocument doc("a cat b");
  doc.Attr(2).Style = kStyleBold;
  doc.Attr(3).Style = kStyleItalic;
  TWPTextFinder finder(&doc.Doc);
  ASSERT_TRUE(finder.FindNext("cat"));
  EXPECT_EQ(finder.FoundAttr().Style, kStyleBold);
  ASSERT_TRUE(finder.Replace("lion"));
  EXPECT_EQ(doc.Text(), "a lion b");
  EXPECT_EQ(finder.FoundPosition(), 2);
  EXPECT_EQ(finder.FoundLength(), 4);
  for (int i = 2; i < 6; ++i) EXPECT_EQ(doc.Attr(i).Style, kStyleBold) << i;
  EXPECT_EQ(doc.Attr(6).Style, 0);
  EXPECT_TRUE(doc.Doc.FirstParagraph->ParState & kParNeedsBoth);
}

TEST(TextFinder, ReplaceNeedsAMatchThatIsStillThere) {
  TFinderDocument doc("one cat");
  TWPTextFinder finder(&doc.Doc);
  EXPECT_FALSE(finder.Replace("dog"));  // nothing found before
  ASSERT_TRUE(finder.FindNext("cat"));
  doc.Doc.DeleteChars(doc.Doc.FirstParagraph, 0, 4);  // the text moved on
  EXPECT_FALSE(finder.Replace("dog"));
  EXPECT_EQ(doc.Text(), "cat");
  EXPECT_FALSE(finder.Found());
  EXPECT_EQ(finder.ReplaceCount(), 0);
}

TEST(TextFinder, ReplaceAll) {
  const struct {
    const char* Text;
    const char* Find;
    const char* Replacement;
    int Start;
    const char* Expected;
    int Count;
  } cases[] = {
      // Each search begins after the text put in: this ends.
      {"x ax|xx", "x", "xx", 0, "xx axx|xxxx", 4},
      {"x ax|xx", "X", "x", 3, "x ax|xx", 3},
      {"a-b-c", "-", "", 0, "abc", 2},
      {"a-b-c", "-", "+", 2, "a-b+c", 1},
      {"abc abc", "a*c", "Q", 0, "Q Q", 2},
      // A paragraph end cannot be put into a line; the text stops there.
      {"a-b", "-", "1\r\n2", 0, "a1b", 1},
      {"nothing", "x", "y", 0, "nothing", 0},
      // A match is never empty: a lone wildcard takes one character at a
      // time, so that replacing it by nothing ends too.
      {"ab|c", "*", "", 0, "|", 3},
  };
  for (const auto& c : cases) {
    TFinderDocument doc(c.Text);
    TWPTextFinder finder(&doc.Doc);
    finder.Wildcard = TWPTextFinder::kWildcard;
    finder.SetStart(c.Start);
    EXPECT_EQ(finder.ReplaceAll(c.Find, c.Replacement), c.Count) << c.Text;
    EXPECT_EQ(doc.Text(), c.Expected) << c.Text;
  }
}

TEST(TextFinder, ReplaceAllStopsWhenEscapeIsHeldAfterEach30Replacements) {
  for (const bool escape : {false, true}) {
    TFinderDocument doc(std::string(100, 'x'));
    TWPTextFinder finder(&doc.Doc);
    int asked = 0;
    finder.EscapeHeld = [&] { return ++asked, escape; };
    EXPECT_EQ(finder.ReplaceAll("x", "y"), escape ? 30 : 100);
    EXPECT_EQ(asked, escape ? 1 : 3);
    EXPECT_EQ(finder.LastReplacedPosition(), escape ? 29 : 99);
    EXPECT_EQ(finder.LastReplacedLength(), 1);
  }
}

TEST(TextFinder, WordCharacters) {
  std::string word;
  for (int c = 1; c < 256; ++c)
    if (IsFinderWordChar(static_cast<unsigned char>(c))) word += static_cast<char>(c);
  std::string expected;
  for (int c = 'A'; c <= 'Z'; ++c) expected += static_cast<char>(c);
  for (int c = 'a'; c <= 'z'; ++c) expected += static_cast<char>(c);
  expected += "\x8A\x8C\x9A\x9C\x9F";
  for (int c = 192; c < 256; ++c) expected += static_cast<char>(c);
  EXPECT_EQ(word, expected);
}

}  // namespace
