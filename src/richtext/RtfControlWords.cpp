#include "richtext/RtfControlWords.h"

#include <array>
#include <cstring>

namespace {

using K = TRtfWordKind;
using P = TRtfProperty;

constexpr std::uint8_t V(P p) { return static_cast<std::uint8_t>(p); }
constexpr std::uint8_t V(TRtfSpecial s) { return static_cast<std::uint8_t>(s); }

// { word, default, use default, kind, value }. Order matters only for words
// listed twice: the first entry wins.
constexpr TRtfControlWord kWords[] = {
    // Characters.
    {"line", 0, false, K::Character, 10},
    {"\n", 0, false, K::Character, 10},
    {"\r", 0, false, K::Character, 10},
    {"tab", 0, false, K::Character, 9},
    {"ldblquote", 0, false, K::Character, '"'},
    {"rdblquote", 0, false, K::Character, '"'},
    {"{", 0, false, K::Character, '{'},
    {"}", 0, false, K::Character, '}'},
    {"\\", 0, false, K::Character, '\\'},
    // Character formatting.
    {"plain", 0, false, K::Property, V(P::Plain)},
    {"par", 0, false, K::Property, V(P::Par)},
    {"f", 0, false, K::Property, V(P::Font)},
    {"fs", 100, false, K::Property, V(P::FontSize)},
    {"b", 1, false, K::Property, V(P::Bold)},
    {"i", 1, false, K::Property, V(P::Italic)},
    {"ul", 1, false, K::Property, V(P::Underline)},
    {"strike", 1, false, K::Property, V(P::StrikeOut)},
    {"uldb", 1, false, K::Property, V(P::Hyperlink)},
    {"super", 1, false, K::Property, V(P::Superscript)},
    {"sub", 1, false, K::Property, V(P::Subscript)},
    {"nosupersub", 1, false, K::Property, V(P::NoSuperSub)},
    {"v", 1, false, K::Property, V(P::Hidden)},
    {"shad", 1, false, K::Property, V(P::Protected)},
    {"inspnt", 0, false, K::Property, V(P::InsertPoint)},
    {"inaut", 1, false, K::Property, V(P::Automatic)},
    {"wprtf", 1, false, K::Property, V(P::RtfCode)},
    {"cf", 0, false, K::Property, V(P::TextColor)},
    {"cb", 0, false, K::Property, V(P::BackColor)},
    // Paragraph formatting.
    {"li", 0, false, K::Property, V(P::LeftIndent)},
    {"ri", 0, false, K::Property, V(P::RightIndent)},
    {"fi", 0, false, K::Property, V(P::FirstIndent)},
    {"sb", 0, false, K::Property, V(P::SpaceBefore)},
    {"sa", 0, false, K::Property, V(P::SpaceAfter)},
    {"sl", 0, false, K::Property, V(P::LineSpacing)},
    {"ql", 0, true, K::Property, V(P::Alignment)},
    {"qr", 1, true, K::Property, V(P::Alignment)},
    {"qc", 2, true, K::Property, V(P::Alignment)},
    {"qj", 3, true, K::Property, V(P::Alignment)},
    {"pard", 0, true, K::Property, V(P::ParagraphDefaults)},
    {"page", 0, false, K::Property, V(P::PageBreak)},
    {"keep", 1, true, K::Property, V(P::Keep)},
    {"keepn", 1, true, K::Property, V(P::KeepWithNext)},
    {"tx", 0, false, K::Property, V(P::TabStop)},
    {"tqr", 1, false, K::Property, V(P::TabKind)},
    {"tqc", 2, false, K::Property, V(P::TabKind)},
    {"tqdec", 3, false, K::Property, V(P::TabKind)},
    // Borders and shading.
    {"box", 0, true, K::Property, V(P::Border)},
    {"brdrt", 1, true, K::Property, V(P::Border)},
    {"brdrl", 2, true, K::Property, V(P::Border)},
    {"brdrb", 3, true, K::Property, V(P::Border)},
    {"brdrr", 4, true, K::Property, V(P::Border)},
    {"brdrdb", 5, true, K::Property, V(P::Border)},
    {"brdrdot", 6, true, K::Property, V(P::Border)},
    {"brdrtablin", 9, true, K::Property, V(P::Border)},
    {"clbrdrt", 1, true, K::Property, V(P::Border)},
    {"clbrdrl", 2, true, K::Property, V(P::Border)},
    {"clbrdrb", 3, true, K::Property, V(P::Border)},
    {"clbrdrr", 4, true, K::Property, V(P::Border)},
    {"brdrw", 0, false, K::Property, V(P::BorderWidth)},
    {"brsp", 0, false, K::Property, V(P::BorderSpacing)},
    {"brdrcf", 0, false, K::Property, V(P::BorderColor)},
    {"shading", 0, false, K::Property, V(P::Shading)},
    {"cfpat", 0, false, K::Property, V(P::PatternColor)},
    {"clcfpat", 0, false, K::Property, V(P::PatternColor)},
    {"cbpat", 0, false, K::Property, V(P::PatternBackColor)},
    {"clcbpat", 0, false, K::Property, V(P::PatternBackColor)},
    // Tables.
    {"trowd", 0, false, K::Property, V(P::RowDefaults)},
    {"cellx", 0, false, K::Property, V(P::CellRight)},
    {"clmrg", 0, false, K::Property, V(P::CellMerge)},
    {"trgaph", 0, false, K::Property, V(P::CellGap)},
    {"trleft", 0, false, K::Property, V(P::RowLeft)},
    {"intbl", 0, false, K::Property, V(P::InTable)},
    {"cell", 0, false, K::Property, V(P::Cell)},
    {"row", 0, false, K::Property, V(P::Row)},
    // Colour table.
    {"red", 0, false, K::Property, V(P::Red)},
    {"green", 0, false, K::Property, V(P::Green)},
    {"blue", 0, false, K::Property, V(P::Blue)},
    // Page.
    {"paperw", 12240, false, K::Property, V(P::PaperWidth)},
    {"paperh", 15480, false, K::Property, V(P::PaperHeight)},
    {"margl", 1800, false, K::Property, V(P::MarginLeft)},
    {"margr", 1800, false, K::Property, V(P::MarginRight)},
    {"margt", 1440, false, K::Property, V(P::MarginTop)},
    {"margb", 1440, false, K::Property, V(P::MarginBottom)},
    {"facingp", 1, true, K::Property, V(P::FacingPages)},
    {"landscape", 1, true, K::Property, V(P::Landscape)},
    {"cols", 0, false, K::Property, V(P::Ignored)},
    {"pgnx", 0, false, K::Property, V(P::Ignored)},
    {"pgny", 0, false, K::Property, V(P::Ignored)},
    {"pgnstart", 0, false, K::Property, V(P::Ignored)},
    {"sbknone", 0, false, K::Property, V(P::Ignored)},
    {"sbkcol", 0, false, K::Property, V(P::Ignored)},
    {"sbkeven", 0, false, K::Property, V(P::Ignored)},
    {"sbkodd", 0, false, K::Property, V(P::Ignored)},
    {"sbkpage", 0, false, K::Property, V(P::Ignored)},
    {"pgndec", 0, false, K::Property, V(P::Ignored)},
    {"pgnucrm", 0, false, K::Property, V(P::Ignored)},
    {"pgnlcrm", 0, false, K::Property, V(P::Ignored)},
    {"pgnucltr", 0, false, K::Property, V(P::Ignored)},
    {"pgnlcltr", 0, false, K::Property, V(P::Ignored)},
    // Pictures, objects, footnotes.
    {"wbitmap", 0, false, K::Property, V(P::PictureKindDdb)},
    {"dibitmap", 0, false, K::Property, V(P::PictureKindDib)},
    {"wmetafile", 0, false, K::Property, V(P::PictureKindMetafile)},
    {"picw", 0, false, K::Property, V(P::PictureWidth)},
    {"pich", 0, false, K::Property, V(P::PictureHeight)},
    {"picwgoal", 0, false, K::Property, V(P::PictureGoalWidth)},
    {"pichgoal", 0, false, K::Property, V(P::PictureGoalHeight)},
    {"picscalex", 100, false, K::Property, V(P::PictureScaleX)},
    {"picscaley", 100, false, K::Property, V(P::PictureScaleY)},
    {"wbmbitspixel", 0, false, K::Property, V(P::BitsPerPixel)},
    {"wbmplanes", 1, true, K::Property, V(P::Planes)},
    {"wbmwidthbytes", 0, false, K::Property, V(P::WidthBytes)},
    {"wpobjtag", 0, false, K::Property, V(P::ObjectTag)},
    {"wpobjw", 0, false, K::Property, V(P::ObjectWidth)},
    {"wpobjh", 0, false, K::Property, V(P::ObjectHeight)},
    {"wpfnnr", 0, false, K::Property, V(P::FootnoteNumber)},
    // Destinations.
    {"fonttbl", 0, false, K::Destination, rdFontTable},
    {"colortbl", 0, false, K::Destination, rdColorTable},
    {"pict", 0, false, K::Destination, rdPicture},
    {"picfile", 0, false, K::Destination, rdPictureFile},
    {"title", 0, false, K::Destination, rdTitle},
    {"comment", 0, false, K::Destination, rdComment},
    {"subject", 0, false, K::Destination, rdSubject},
    {"footnote", 0, false, K::Destination, rdFootnote},
    {"field", 0, false, K::Destination, rdUnchanged},
    {"author", 0, false, K::Destination, rdSkip},
    {"buptim", 0, false, K::Destination, rdSkip},
    {"creatim", 0, false, K::Destination, rdSkip},
    {"doccomm", 0, false, K::Destination, rdSkip},
    {"footer", 0, false, K::Destination, rdSkip},
    {"footerf", 0, false, K::Destination, rdSkip},
    {"footerl", 0, false, K::Destination, rdSkip},
    {"footerr", 0, false, K::Destination, rdSkip},
    {"ftncn", 0, false, K::Destination, rdSkip},
    {"ftnsep", 0, false, K::Destination, rdSkip},
    {"ftnsepc", 0, false, K::Destination, rdSkip},
    {"header", 0, false, K::Destination, rdSkip},
    {"headerf", 0, false, K::Destination, rdSkip},
    {"headerl", 0, false, K::Destination, rdSkip},
    {"headerr", 0, false, K::Destination, rdSkip},
    {"info", 0, false, K::Destination, rdSkip},
    {"keywords", 0, false, K::Destination, rdSkip},
    {"operator", 0, false, K::Destination, rdSkip},
    {"printim", 0, false, K::Destination, rdSkip},
    {"private1", 0, false, K::Destination, rdSkip},
    {"revtim", 0, false, K::Destination, rdSkip},
    {"rxe", 0, false, K::Destination, rdSkip},
    {"stylesheet", 0, false, K::Destination, rdSkip},
    {"tc", 0, false, K::Destination, rdSkip},
    // The engine's own embedded control objects: not shown by this program.
    {"wpcontrol", 0, false, K::Destination, rdSkip},
    // Specials.
    {"'", 0, false, K::Special, V(TRtfSpecial::Hex)},
    {"*", 0, false, K::Special, V(TRtfSpecial::Star)},
    {"bin", 0, false, K::Special, V(TRtfSpecial::Bin)},
    // Second entries, shadowed by the ones above.
    {"pict", 0, false, K::Property, V(P::Ignored)},
    {"tab", 0, false, K::Property, V(P::Ignored)},

    // Text-carrying words of other writers, so that their text is not lost.
    {"lquote", 0, false, K::Character, '\''},
    {"rquote", 0, false, K::Character, '\''},
    {"endash", 0, false, K::Character, 0x96},
    {"emdash", 0, false, K::Character, 0x97},
    {"bullet", 0, false, K::Character, 0x95},
    {"~", 0, false, K::Character, 0xA0},
    // A non-breaking hyphen: Windows-1252 has none, the plain hyphen is closest.
    {"_", 0, false, K::Character, '-'},
    {"-", 0, false, K::Character, 0xAD},  // optional hyphen
    {"ulnone", 0, true, K::Property, V(P::Underline)},
    {"chftn", 0, false, K::Special, V(TRtfSpecial::FootnoteMark)},

    // Characters of other code pages and of Unicode.
    {"u", 0, false, K::Special, V(TRtfSpecial::Unicode)},
    {"uc", 1, false, K::Special, V(TRtfSpecial::FallbackCount)},
    {"ansicpg", 1252, false, K::Special, V(TRtfSpecial::DocumentCodePage)},
    {"fcharset", 0, false, K::Special, V(TRtfSpecial::FontCharset)},
    {"cpg", 0, false, K::Special, V(TRtfSpecial::FontCodePage)},

    // Tables inside table cells are not kept: their cells and rows are
    // separated by tabs and line breaks.
    {"nestcell", 0, false, K::Special, V(TRtfSpecial::NestedCell)},
    {"nestrow", 0, false, K::Special, V(TRtfSpecial::NestedRow)},

    // Destinations other writers emit without "\*" whose contents are no
    // text of the document. An object or a shape shows its result instead.
    {"annotation", 0, false, K::Destination, rdSkip},
    {"atnid", 0, false, K::Destination, rdSkip},
    {"atnauthor", 0, false, K::Destination, rdSkip},
    {"xe", 0, false, K::Destination, rdSkip},
    {"fldinst", 0, false, K::Destination, rdSkip},
    {"object", 0, false, K::Destination, rdObject},
    {"shp", 0, false, K::Destination, rdObject},
    {"result", 0, false, K::Special, V(TRtfSpecial::Result)},
    // A picture as a shape (often PNG) is read; the old form beside it for
    // readers without shapes is not.
    {"shppict", 0, false, K::Destination, rdUnchanged},
    {"nonshppict", 0, false, K::Destination, rdSkip},
    {"shprslt", 0, false, K::Special, V(TRtfSpecial::Result)},

    // Picture formats kept as they come.
    {"pngblip", 0, false, K::Property, V(P::PictureKindPng)},
    {"jpegblip", 0, false, K::Property, V(P::PictureKindJpeg)},
    {"emfblip", 0, false, K::Property, V(P::PictureKindEmf)},
};

constexpr int kWordCount = static_cast<int>(sizeof(kWords) / sizeof(kWords[0]));
static_assert(kWordCount >= kRtfCoreControlWordCount);

// Open-addressing index over the table: slot -> entry index + 1 (0 = free).
constexpr int kIndexSize = 512;
static_assert(kIndexSize >= 2 * kWordCount);

std::uint32_t HashWord(std::string_view word) {
  std::uint32_t h = kRtfWordHashStart;
  for (unsigned char c : word) h = RtfWordHashStep(h, c);
  return h;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

struct TWordIndex {
  std::array<std::uint16_t, kIndexSize> Slots{};
  std::array<std::string_view, kWordCount> Words{};

  TWordIndex() {
    for (int i = 0; i < kWordCount; ++i) Words[static_cast<std::size_t>(i)] = kWords[i].Word;
    for (int i = 0; i < kWordCount; ++i) {
      std::string_view word = kWords[i].Word;
      std::uint32_t slot = HashWord(word) & (kIndexSize - 1);
      bool present = false;
      while (Slots[slot] != 0) {
        if (word == kWords[Slots[slot] - 1].Word) {
          present = true;  // keep the first entry of a word
          break;
        }
        slot = (slot + 1) & (kIndexSize - 1);
      }
      if (!present) Slots[slot] = static_cast<std::uint16_t>(i + 1);
    }
  }
};

const TWordIndex& Index() {
  static const TWordIndex index;
  return index;
}

}  // namespace

TRtfControlWordTable RtfControlWords() { return {kWords, kWordCount}; }

const TRtfControlWord* FindRtfControlWord(std::string_view word) {
  return FindRtfControlWord(word, HashWord(word));
}

const TRtfControlWord* FindRtfControlWord(std::string_view word, std::uint32_t hash) {
  static const TWordIndex& index = Index();
  std::uint32_t slot = hash & (kIndexSize - 1);
  while (index.Slots[slot] != 0) {
    const int entry = index.Slots[slot] - 1;
    if (SameWord(word, index.Words[static_cast<std::size_t>(entry)])) return &kWords[entry];
    slot = (slot + 1) & (kIndexSize - 1);
  }
  return nullptr;
}
