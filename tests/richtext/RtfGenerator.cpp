#include "richtext/RtfGenerator.h"

namespace rtfgen {

namespace {

const char* const kFontNames[] = {"Arial",   "Times New Roman", "Courier New", "Symbol",
                                  "Verdana", "Georgia",         "Tahoma",      "Liberation Serif"};
const char* const kFontFamilies[] = {"\\fswiss", "\\froman", "\\fmodern", "\\fnil", "\\fdecor"};
const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
const char kPunctuation[] = ".,;:!?-()'\"&%/*+=<>@#$[]_|~^`";

// Picture bytes that other readers accept: a placeable-less metafile that
// holds only its header and the end record, a 24-bit device-independent
// bitmap, and the bits of a monochrome device-dependent bitmap.
std::string LittleEndian(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

std::string EmptyMetafile() {
  const int words = 9 + 3;  // header, end record
  return LittleEndian(1, 2) + LittleEndian(9, 2) + LittleEndian(0x300, 2) + LittleEndian(words, 4) +
         LittleEndian(0, 2) + LittleEndian(3, 4) + LittleEndian(0, 2) + LittleEndian(3, 4) +
         LittleEndian(0, 2);
}

}  // namespace

const TRtfGenerator::TPiece& TRtfGenerator::PickPiece(const std::vector<TPiece>& pieces) {
  int total = 0;
  for (const TPiece& piece : pieces) total += piece.Weight;
  int at = Below(total);
  for (const TPiece& piece : pieces) {
    if (at < piece.Weight) return piece;
    at -= piece.Weight;
  }
  return pieces.back();
}

// --- output -------------------------------------------------------------------

void TRtfGenerator::Word(const std::string& word) {
  FOut += word;
  FAfterWord = true;
}

void TRtfGenerator::Text(const std::string& text) {
  if (text.empty()) return;
  if (FAfterWord) FOut += ' ';
  FOut += text;
  FAfterWord = false;
}

void TRtfGenerator::Raw(const std::string& bytes) {
  FOut += bytes;
  FAfterWord = false;
}

std::string TRtfGenerator::Words(int most) {
  std::string text;
  const int count = Between(1, most);
  for (int w = 0; w < count; ++w) {
    if (w > 0 || Chance(10)) text += ' ';
    const int length = Between(1, 8);
    for (int i = 0; i < length; ++i)
      text += Chance(8) ? kPunctuation[Below(sizeof kPunctuation - 1)] : kLetters[Below(sizeof kLetters - 1)];
  }
  return text;
}

std::string TRtfGenerator::Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0 && i % 32 == 0) hex += "\r\n";
    const auto c = static_cast<unsigned char>(bytes[i]);
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

// --- the document ---------------------------------------------------------------

std::string TRtfGenerator::Document() {
  FOut.clear();
  FAfterWord = false;
  FDepth = 0;
  FAfterTable = FEndsParagraph = false;
  Header();
  Body();
  Close();
  return FOut;
}

void TRtfGenerator::Header() {
  Open();
  Word("\\rtf1");
  Word("\\ansi");
  Word("\\ansicpg1252");
  Word("\\deff0");
  if (Chance(50)) Word("\\deftab", 720);
  FontTable();
  ColourTable();
  if (Chance(40)) {
    Word("\\paperw", Between(6000, 16000));
    Word("\\paperh", Between(6000, 20000));
    Word("\\margl", Between(300, 1800));
    Word("\\margr", Between(300, 1800));
    Word("\\margt", Between(300, 1440));
    Word("\\margb", Between(300, 1440));
  }
  if (Chance(10)) {
    Open();
    Word("\\info");
    Open();
    Word("\\title");
    Text(Words(3));
    Close();
    Open();
    Word("\\author");
    Text(Words(2));
    Close();
    Close();
  }
  Raw("\r\n");
}

void TRtfGenerator::FontTable() {
  // Now and then more fonts than a document can hold.
  const bool crowded = Chance(2);
  const int count = crowded ? Between(100, 108) : Between(1, 6);
  FFontNumbers.clear();
  Open();
  Word("\\fonttbl");
  int number = 0;
  for (int i = 0; i < count; ++i) {
    FFontNumbers.push_back(number);
    Open();
    Word("\\f", number);
    Word(Pick(kFontFamilies));
    Word("\\fcharset", 0);
    Text(crowded ? "Font " + std::to_string(i) : std::string(Pick(kFontNames)));
    Raw(";");
    Close();
    number += Chance(85) ? 1 : Between(2, 5);
  }
  Close();
}

void TRtfGenerator::ColourTable() {
  // The first entry is the automatic colour; up to 14 more follow.
  const int count = Between(0, 14);
  FColourCount = count + 1;
  Open();
  Word("\\colortbl");
  Raw(";");
  for (int i = 0; i < count; ++i) {
    Word("\\red", Below(256));
    Word("\\green", Below(256));
    Word("\\blue", Below(256));
    Raw(";");
  }
  Close();
}

void TRtfGenerator::Body() {
  static const std::vector<TPiece> kBlocks = {
      {"paragraph", 8, &TRtfGenerator::Paragraph},
      {"table", 2, &TRtfGenerator::Table},
      {"paragraphs in a group", 2, &TRtfGenerator::GroupedParagraphs},
  };
  const int count = Between(1, 8);
  for (int i = 0; i < count; ++i) {
    (this->*PickPiece(kBlocks).Write)();
    // The last paragraph ends the text without a mark, as a rule.
    if (FEndsParagraph && (i + 1 < count || Chance(30))) {
      Word("\\par");
      Raw("\r\n");
    }
  }
}

// --- blocks ---------------------------------------------------------------------

void TRtfGenerator::Paragraph() {
  if (FAfterTable || Chance(60)) Word("\\pard");
  FAfterTable = false;
  ParagraphWords();
  Inlines(6);
  FEndsParagraph = true;
}

void TRtfGenerator::GroupedParagraphs() {
  Open();
  ++FDepth;
  const int count = Between(1, 3);
  for (int i = 0; i < count; ++i) {
    Paragraph();
    if (i + 1 < count || Chance(50)) Word("\\par");
  }
  --FDepth;
  Close();
  FEndsParagraph = false;
}

void TRtfGenerator::Table() {
  const int rows = Between(1, 3);
  int cells = Between(1, 4);
  for (int row = 0; row < rows; ++row) {
    if (row > 0 && Chance(40)) cells = Between(1, 4);
    Word("\\trowd");
    Word("\\trgaph", Between(0, 200));
    int edge = 0;
    if (Chance(30)) {
      edge = Between(0, 720);
      Word("\\trleft", edge);
    }
    for (int cell = 0; cell < cells; ++cell) {
      if (Chance(25)) BorderWords(true);
      if (Chance(15)) ShadingWords(true);
      edge += Chance(8) ? 0 : Between(300, 3000);
      Word("\\cellx", edge);
    }
    for (int cell = 0; cell < cells; ++cell) {
      if (cell == 0 || Chance(30)) Word("\\pard");
      Word("\\intbl");
      if (Chance(30)) Word(Pick({"\\ql", "\\qr", "\\qc", "\\qj"}));
      if (Chance(20)) Word("\\sb", Between(0, 240));
      if (Chance(15)) TabStops();
      Inlines(3);
      Word("\\cell");
    }
    Word("\\row");
    Raw("\r\n");
  }
  FAfterTable = true;
  FEndsParagraph = false;
}

void TRtfGenerator::ParagraphWords() {
  if (Chance(40)) Word(Pick({"\\ql", "\\qr", "\\qc", "\\qj"}));
  if (Chance(30)) Word("\\li", Between(0, 2880));
  if (Chance(20)) Word("\\ri", Between(0, 2880));
  if (Chance(20)) Word("\\fi", Between(-720, 720));
  if (Chance(20)) Word("\\sb", Between(0, 480));
  if (Chance(20)) Word("\\sa", Between(0, 480));
  if (Chance(10)) Word("\\sl", Between(-480, 480));
  if (Chance(5)) Word("\\keep");
  if (Chance(3)) Word("\\keepn");
  if (Chance(3)) Word("\\page");
  if (Chance(25)) TabStops();
  if (Chance(15)) BorderWords(false);
  if (Chance(10)) ShadingWords(false);
}

void TRtfGenerator::TabStops() {
  int at = 0;
  const int count = Between(1, 4);
  for (int i = 0; i < count; ++i) {
    at += Between(50, 2500);
    const char* kind = Pick({"", "", "\\tqr", "\\tqc", "\\tqdec"});
    if (*kind) Word(kind);
    Word("\\tx", at);
  }
}

void TRtfGenerator::BorderWords(bool cell) {
  static const char* const kSides[] = {"\\brdrt", "\\brdrb", "\\brdrl", "\\brdrr"};
  static const char* const kCellSides[] = {"\\clbrdrt", "\\clbrdrb", "\\clbrdrl", "\\clbrdrr"};
  const bool box = !cell && Chance(40);
  const int sides = box ? 1 : Between(1, 15);
  for (int side = 0; side < 4; ++side) {
    if (!box && !(sides & (1 << side))) continue;
    Word(box ? "\\box" : cell ? kCellSides[side] : kSides[side]);
    Word(Pick({"\\brdrs", "\\brdrs", "\\brdrdb", "\\brdrdot", "\\brdrhair"}));
    Word("\\brdrw", Between(5, 75));
    if (Chance(40)) Word("\\brsp", Between(20, 400));
    if (Chance(40)) Word("\\brdrcf", Below(FColourCount));
    if (box) break;
  }
}

void TRtfGenerator::ShadingWords(bool cell) {
  Word(cell ? "\\clshdng" : "\\shading", Chance(20) ? 10000 : Between(0, 100) * 100);
  if (Chance(80)) Word(cell ? "\\clcfpat" : "\\cfpat", Below(FColourCount));
  if (Chance(80)) Word(cell ? "\\clcbpat" : "\\cbpat", Below(FColourCount));
}

// --- text inside a paragraph --------------------------------------------------------

void TRtfGenerator::Inlines(int most) {
  static const std::vector<TPiece> kInlines = {
      {"text", 40, &TRtfGenerator::PlainText},
      {"switched text", 8, &TRtfGenerator::SwitchedText},
      {"formatted group", 15, &TRtfGenerator::FormattedGroup},
      {"escapes", 10, &TRtfGenerator::Escapes},
      {"picture", 4, &TRtfGenerator::Picture},
      {"footnote", 4, &TRtfGenerator::Footnote},
      {"raw RTF run", 3, &TRtfGenerator::RawRtfRun},
      {"insert point", 3, &TRtfGenerator::InsertPoint},
      {"field", 2, &TRtfGenerator::Field},
      {"hidden text", 2, &TRtfGenerator::HiddenText},
      {"tagged object", 1, &TRtfGenerator::TaggedObject},
  };
  const int count = Between(1, most);
  for (int i = 0; i < count; ++i) (this->*PickPiece(kInlines).Write)();
}

void TRtfGenerator::CharacterWords() {
  const int count = Between(1, 4);
  for (int i = 0; i < count; ++i) {
    switch (Below(14)) {
      case 0:
        Word("\\f", FFontNumbers[static_cast<std::size_t>(Below(static_cast<int>(FFontNumbers.size())))]);
        break;
      case 1:
        Word("\\fs", Between(8, 72));
        break;
      case 2:
        Word("\\cf", Below(FColourCount));
        break;
      case 3:
        Word("\\cb", Below(FColourCount));
        break;
      case 4:
        Word("\\plain");
        break;
      default:
        Word(Pick({"\\b", "\\b0", "\\i", "\\i0", "\\ul", "\\ul0", "\\strike", "\\uldb", "\\super", "\\sub",
                   "\\nosupersub", "\\shad"}));
        break;
    }
  }
}

void TRtfGenerator::PlainText() { Text(Words(6)); }

void TRtfGenerator::SwitchedText() {
  CharacterWords();
  Text(Words(4));
}

void TRtfGenerator::FormattedGroup() {
  Open();
  ++FDepth;
  CharacterWords();
  if (FDepth < 4)
    Inlines(3);
  else
    PlainText();
  --FDepth;
  Close();
}

void TRtfGenerator::Escapes() {
  static const char kHexDigits[] = "0123456789abcdef";
  const int count = Between(1, 4);
  for (int i = 0; i < count; ++i) {
    switch (Below(9)) {
      case 0:
        Raw(Pick({"\\\\", "\\{", "\\}"}));
        break;
      case 1:
      case 2: {
        const int byte = Between(0x80, 0xFF);
        Raw(std::string("\\'") + kHexDigits[byte >> 4] + kHexDigits[byte & 15]);
        break;
      }
      case 3:
        Raw(std::string("\\'") + kHexDigits[Between(2, 7)] + kHexDigits[Below(16)]);
        break;
      case 4:
        // Control bytes other writers use for their own marks.
        Raw(Pick({"\\'01", "\\'02", "\\'03"}));
        break;
      case 5:
        Word("\\tab");
        break;
      case 6:
        Word("\\line");
        break;
      case 7:
        Word(Pick({"\\ldblquote", "\\rdblquote"}));
        break;
      default:
        Text(Words(2));
        break;
    }
  }
}

void TRtfGenerator::Picture() {
  Open();
  Word("\\pict");
  std::string bytes;
  switch (Below(3)) {
    case 0:
      Word("\\wmetafile8");
      Word("\\picw", Between(100, 5000));
      Word("\\pich", Between(100, 5000));
      bytes = EmptyMetafile();
      break;
    case 1: {
      const int w = Between(1, 4), h = Between(1, 4);
      const int rowBytes = (w * 3 + 3) / 4 * 4;
      Word("\\dibitmap0");
      Word("\\wbmbitspixel", 24);
      Word("\\wbmplanes", 1);
      Word("\\wbmwidthbytes", rowBytes);
      Word("\\picw", w);
      Word("\\pich", h);
      bytes = LittleEndian(40, 4) + LittleEndian(static_cast<std::uint32_t>(w), 4) +
              LittleEndian(static_cast<std::uint32_t>(h), 4) + LittleEndian(1, 2) + LittleEndian(24, 2) +
              LittleEndian(0, 4) + LittleEndian(static_cast<std::uint32_t>(rowBytes * h), 4) +
              std::string(16, '\0');
      for (int i = 0; i < rowBytes * h; ++i) bytes.push_back(static_cast<char>(Below(256)));
      break;
    }
    default: {
      const int w = Between(1, 32), h = Between(1, 8);
      const int rowBytes = (w + 15) / 16 * 2;
      Word("\\wbitmap0");
      Word("\\wbmbitspixel", 1);
      Word("\\wbmplanes", 1);
      Word("\\wbmwidthbytes", rowBytes);
      Word("\\picw", w);
      Word("\\pich", h);
      for (int i = 0; i < rowBytes * h; ++i) bytes.push_back(static_cast<char>(Below(256)));
      break;
    }
  }
  if (Chance(60)) {
    Word("\\picwgoal", Between(20, 4000));
    Word("\\pichgoal", Between(20, 4000));
  }
  if (Chance(20)) {
    Word("\\picscalex", Between(1, 300));
    Word("\\picscaley", Between(1, 300));
  }
  Raw("\r\n");
  Text(Hex(bytes));
  Close();
}

void TRtfGenerator::Footnote() {
  const std::string mark(1, Pick({'*', '1', '2', 'a', '+'}));
  if (Chance(50)) {
    // As this program writes them: the mark, then the note.
    Open();
    Word("\\cs16");
    Word("\\super");
    Text(mark);
    Open();
    Raw("\\*");
    Word("\\footnote");
    if (Chance(50)) Word("\\wpfnnr", Between(1, 9));
    Word("\\pard");
    Word("\\plain");
    Open();
    Word("\\cs16");
    Word("\\super");
    Text(mark);
    Close();
    Text(Words(4));
    Close();
    Close();
    return;
  }
  // A bare note after whatever came before it.
  Open();
  if (Chance(50)) Raw("\\*");
  Word("\\footnote");
  Text(Words(4));
  Close();
}

void TRtfGenerator::RawRtfRun() {
  // RTF source kept as text: balanced, so that other readers take it as RTF.
  static const char* const kFragments[] = {"{\\b x}", "\\i y\\i0 ",    "{\\ul a}{\\b b}", "tab\there",
                                           "\\par ",  "{{\\f0 deep}}", "plain words"};
  Open();
  if (Chance(50)) CharacterWords();
  Word("\\wprtf1");
  Raw(" ");
  const int count = Between(1, 3);
  for (int i = 0; i < count; ++i) Raw(Pick(kFragments));
  Raw("\\wprtf0");
  FAfterWord = true;
  Close();
}

void TRtfGenerator::InsertPoint() {
  Open();
  if (Chance(60))
    Word("\\inspnt", Between(1, 50));
  else
    Word("\\inaut");
  Text(Words(2));
  Close();
}

void TRtfGenerator::Field() {
  Open();
  Word("\\field");
  Open();
  Raw("\\*");
  Word("\\fldinst");
  Text("HYPERLINK \"http://example.com/\"");
  Close();
  Open();
  Word("\\fldrslt");
  Text(Words(3));
  Close();
  Close();
}

void TRtfGenerator::HiddenText() {
  Open();
  Word("\\v");
  Text(Words(3));
  Close();
}

void TRtfGenerator::TaggedObject() {
  Word("\\wpobjtag", Between(1, 30));
  Word("\\wpobjw", Between(20, 2000));
  Word("\\wpobjh", Between(20, 2000));
  Raw("\\'01");
}

}  // namespace rtfgen
