#pragma once
// Searching the text of a document and replacing what was found. Positions
// count the characters of all paragraphs in order, each paragraph end one
// more (as the editor's caret positions do). A match never crosses a
// paragraph end.
//
// Usage:
//   TWPTextFinder finder(document);
//   finder.MatchCase = true;
//   finder.SetStart(caretPosition);
//   if (finder.FindNext("cat")) select(finder.FoundPosition(), finder.FoundLength());
//   finder.Replace("dog");            // replaces that match
//   finder.SetStart(0);
//   finder.ReplaceAll("x", "xx");     // every x from the start on
// The finder changes the model only; its caller lays out and repaints.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "richtext/Paragraph.h"

class TWPRTFText;

// Bits of the attribute filter: a match is made only of characters that
// have the reference record's font, size or colours, or the named style.
namespace wpfind {
constexpr int SameFont = 0x01;
constexpr int SameSize = 0x02;
constexpr int Bold = 0x04;
constexpr int Underlined = 0x08;
constexpr int Italic = 0x10;
constexpr int Hyperlink = 0x20;  // hyperlink text carrying FilterTag (when not 0)
constexpr int SameTextColor = 0x40;
constexpr int SameBackgroundColor = 0x80;
constexpr int Object = 0x100;          // object characters carrying FilterTag (when not 0)
constexpr int HyperlinkStyle = 0x200;  // any hyperlink text
}  // namespace wpfind

// Bytes that make up words for the whole-word search; all others delimit.
bool IsFinderWordChar(unsigned char c);

class TWPTextFinder {
 public:
  // The search text is cut to this length; a pattern without the wildcard
  // (and the part before a wildcard) to one character less.
  static constexpr int kMaxSearchText = 256;
  static constexpr int kMaxPattern = 255;
  static constexpr char kWildcard = '*';
  // Replace all asks EscapeHeld after so many replacements.
  static constexpr int kEscapeInterval = 30;

  explicit TWPTextFinder(TWPRTFText* document = nullptr);

  TWPRTFText* Document() const { return FDocument; }
  // A new document: the search starts at its beginning.
  void SetDocument(TWPRTFText* document);
  // Forgets the result; the next search starts at this position (0 and
  // negative: the document start).
  void SetStart(int position);

  // Forwards from the start (after the previous match); true when found.
  bool FindNext(const std::string& text);
  // Backwards: the last match that begins before the start.
  bool FindPrevious(const std::string& text);
  // Replaces the match of the last search by text, in the attributes of the
  // match's first character; the match then is the new text. False when
  // there is no match, or when the text there no longer matches.
  bool Replace(const std::string& text);
  // Finds and replaces from the start on until nothing more is found or
  // EscapeHeld says so; the number of replacements.
  int ReplaceAll(const std::string& findText, const std::string& replaceText);

  // The result of the last search; position and length are 0 without one.
  bool Found() const { return FFound; }
  int FoundPosition() const { return FFound ? FFoundPosition : 0; }
  int FoundLength() const { return FFound ? FFoundLength : 0; }
  const TAttr& FoundAttr() const { return FFoundAttr; }
  const std::string& SearchText() const { return FSearchText; }
  const std::string& ReplaceText() const { return FReplaceText; }
  // Replacements since the finder was made, and where the last one stands
  // (its position and the length of the text put there).
  int ReplaceCount() const { return FReplaceCount; }
  int LastReplacedPosition() const { return FLastReplacedPosition; }
  int LastReplacedLength() const { return FLastReplacedLength; }

  // --- options ----------------------------------------------------------------
  bool MatchCase = false;
  bool WholeWord = false;
  // The character that splits a pattern into head and tail, and matches any
  // one character after the split; 0 for none.
  char Wildcard = 0;
  // Set by the last search: true when it went backwards.
  bool Backwards = false;
  // wpfind bits; 0 accepts every character.
  int AttrFilter = 0;
  // The font, size and colours SameFont, SameSize and the colour bits compare with.
  TAttr FilterAttr{};
  std::uint16_t FilterTag = 0;
  // Asked during ReplaceAll: true stops it (the user holds Escape down).
  std::function<bool()> EscapeHeld;

 private:
  // One paragraph's characters and records, as one run.
  struct TParText {
    TParagraph* Par = nullptr;
    std::string Text;
    std::vector<TAttr> Attrs;  // empty in plain mode
  };
  struct TPlace {
    TParagraph* Par = nullptr;
    int Offset = 0;
    int ParStart = 0;  // position of the paragraph's first character
  };
  TPlace Resolve(int position) const;
  void Load(TParagraph* par, TParText& into) const;
  // Splits the search text into head and tail at the wildcard.
  void SetPattern(const std::string& text);
  bool Accepts(const TParText& p, int index) const;
  bool CharMatches(const TParText& p, int index, char pattern) const;
  bool PieceAt(const TParText& p, int index, const std::string& piece) const;
  bool WordStartsAt(const TParText& p, int index) const;
  bool WordEndsAt(const TParText& p, int index) const;
  // Length of the match that begins at index, 0 for none.
  int MatchAt(const TParText& p, int index) const;
  bool Search(const std::string& text, bool forwards);
  void SetResult(const TPlace& place, const TParText& p, int offset, int length);

  TWPRTFText* FDocument = nullptr;
  int FStart = 0;
  bool FFound = false;
  int FFoundPosition = 0;
  int FFoundLength = 0;
  TAttr FFoundAttr{};
  std::string FSearchText;
  std::string FReplaceText;
  int FReplaceCount = 0;
  int FLastReplacedPosition = 0;
  int FLastReplacedLength = 0;
  // The pattern of the last search.
  bool FSplit = false;
  std::string FHead;
  std::string FTail;
  mutable TParText FScratch;
};
