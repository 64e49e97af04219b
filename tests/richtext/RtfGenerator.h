#pragma once
// A seeded source of random, well-formed RTF within what the engine reads:
// runs with every character attribute, paragraph properties, tab stops,
// borders, shading, tables of one to four cells, pictures, footnotes,
// escapes, insert points and raw RTF runs. The same seed gives the same
// document. Everything is standard RTF syntax (balanced groups, words the
// engine does not know are ones other readers skip), so the documents also
// serve as fuzzing seeds.
//
// A new feature is one more entry in the table of inline or block pieces.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace rtfgen {

class TRtfGenerator {
 public:
  explicit TRtfGenerator(std::uint32_t seed) : FRandom(seed) {}

  std::string Document();

  // Something written into the document: a paragraph-level block or a
  // piece of text inside a paragraph, picked by weight.
  struct TPiece {
    const char* Name;
    int Weight;
    void (TRtfGenerator::*Write)();
  };

 private:
  // --- randomness ---------------------------------------------------------
  int Below(int n) { return n <= 1 ? 0 : static_cast<int>(FRandom() % static_cast<std::uint32_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<int>(N))];
  }
  const TPiece& PickPiece(const std::vector<TPiece>& pieces);

  // --- output -------------------------------------------------------------
  // A control word (with its parameter); the next text is kept apart from it.
  void Word(const std::string& word);
  void Word(const std::string& word, int parameter) { Word(word + std::to_string(parameter)); }
  // Text bytes that need no escape.
  void Text(const std::string& text);
  void Open() { Raw("{"); }
  void Close() { Raw("}"); }
  void Raw(const std::string& bytes);

  // --- the document -------------------------------------------------------
  void Header();
  void FontTable();
  void ColourTable();
  void Body();

  // Blocks.
  void Paragraph();
  void GroupedParagraphs();
  void Table();
  // Paragraph formatting words.
  void ParagraphWords();
  void TabStops();
  void BorderWords(bool cell);
  void ShadingWords(bool cell);
  // Text inside a paragraph or cell: one to several inline pieces.
  void Inlines(int most);
  void CharacterWords();

  // Inline pieces.
  void PlainText();
  void SwitchedText();
  void FormattedGroup();
  void Escapes();
  void Picture();
  void Footnote();
  void RawRtfRun();
  void InsertPoint();
  void TaggedObject();
  void Field();
  void HiddenText();

  std::string Words(int most);
  std::string Hex(const std::string& bytes);

  std::mt19937 FRandom;
  std::string FOut;
  bool FAfterWord = false;
  std::vector<int> FFontNumbers;
  int FColourCount = 1;
  int FDepth = 0;
  // The next paragraph must leave the table; the last block ended a paragraph.
  bool FAfterTable = false;
  bool FEndsParagraph = false;
};

}  // namespace rtfgen
