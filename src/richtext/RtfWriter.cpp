#include "richtext/RtfWriter.h"

#include <array>
#include <new>
#include <optional>

#include "richtext/MulDiv.h"
#include "richtext/RtfPicture.h"

namespace {

// How Run text writes each byte.
enum TCharClass : std::uint8_t { ccDrop, ccLiteral, ccBackslashed, ccTab, ccLine, ccHex };

constexpr std::array<TCharClass, 256> MakeCharClasses() {
  std::array<TCharClass, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    if (c <= 3)
      classes[c] = ccDrop;
    else if (c == 9)
      classes[c] = ccTab;
    else if (c == 10)
      classes[c] = ccLine;
    else if (c == '\\' || c == '{' || c == '}')
      classes[c] = ccBackslashed;
    else if (c >= 32 && c <= 126)
      classes[c] = ccLiteral;
    else
      classes[c] = ccHex;
  }
  return classes;
}
constexpr std::array<TCharClass, 256> kCharClasses = MakeCharClasses();

constexpr char kHexDigits[] = "0123456789abcdef";

// Sequence for a byte written as the control symbol \'xx.
void HexEscape(unsigned char c, char out[4]) {
  out[0] = '\\';
  out[1] = '\'';
  out[2] = kHexDigits[c >> 4];
  out[3] = kHexDigits[c & 15];
}

std::uint8_t BorderFlagsWithoutInheritance(std::uint8_t flags) {
  return static_cast<std::uint8_t>(flags & ~kBorderNotInherited);
}

// Pictures read from RTF keep their bytes as they came.
class TReadPictureSource : public TWPPictureSource {
 public:
  explicit TReadPictureSource(const TWPRtfPicture& picture) : FPicture(picture) {}
  TFormat PictureFormat() const override {
    switch (FPicture.Format) {
      case TWPRtfPicture::pfMetafile:
        return TFormat::Metafile;
      case TWPRtfPicture::pfDib:
        return TFormat::Dib;
      case TWPRtfPicture::pfPng:
        return TFormat::Png;
      case TWPRtfPicture::pfJpeg:
        return TFormat::Jpeg;
      case TWPRtfPicture::pfEmf:
        return TFormat::Emf;
      default:
        return TFormat::Bitmap;
    }
  }
  int BitsPerPixel() const override { return FPicture.BitsPerPixel; }
  int Planes() const override { return FPicture.Planes; }
  int WidthBytes() const override { return FPicture.WidthBytes; }
  int PicWidth() const override { return FPicture.PicWidth; }
  int PicHeight() const override { return FPicture.PicHeight; }
  // A device-dependent bitmap cannot be turned into a DIB here; it keeps
  // its own form whatever is asked.
  std::string PictureBytes(TFormat /*format*/) const override {
    constexpr std::size_t kBitmapFileHeader = 14;
    if (FPicture.Format == TWPRtfPicture::pfDib)
      return FPicture.Data.size() > kBitmapFileHeader ? FPicture.Data.substr(kBitmapFileHeader)
                                                      : std::string();
    return FPicture.Data;
  }

 private:
  const TWPRtfPicture& FPicture;
};

}  // namespace

TWPRTFWriter::TWPRTFWriter(TWPRTFText& document) : TWPTextWriter(document) {}

// --- header -------------------------------------------------------------------

void TWPRTFWriter::DoHeader() {
  FGroups.clear();
  FPreviousRunRtfCode = false;
  FPreviousRunHidden = false;
  FPlainOutput = FDocument.PlainMode;
  const TTextHeader& header = FDocument.Header;
  FTextWidth = header.PageWidth - header.LeftMargin - header.RightMargin;

  Out("{\\rtf1\\ansi\\deff0\\deftab720");
  Out("{\\fonttbl");
  auto writeFont = [&](int number, int slot) {
    Out("{\\f");
    OutInt(number);
    switch (header.FontFamilyPitch[slot] & 0xF0) {
      case 0x30:
        Out("\\fmodern");
        break;
      case 0x40:
        Out("\\fscript");
        break;
      case 0x50:
        Out("\\fdecor");
        break;
      default:
        Out("\\fnil");
        break;
    }
    Out("\\charset");
    OutInt(header.FontCharset[slot]);
    OutChar(' ');
    WriteDestinationText(header.FontNames[slot]);
    Out(";}");
  };
  FFontsWritten = 0;
  if (FPlainOutput) {
    const int slot = FDocument.CurrentAttr.FontIndex;
    if (slot < TTextHeader::kFontSlots) writeFont(FFontsWritten++, slot);
  } else {
    for (; FFontsWritten < TTextHeader::kFontSlots && !header.FontSlotEmpty(FFontsWritten); ++FFontsWritten)
      writeFont(FFontsWritten, FFontsWritten);
  }
  Out("}");

  Out("{\\colortbl");
  for (int i = 0; i < 15; ++i) {
    const TColor color = header.Colors[i];
    WriteControl("\\red", color & 0xFF);
    WriteControl("\\green", (color >> 8) & 0xFF);
    WriteControl("\\blue", (color >> 16) & 0xFF);
    OutChar(';');
  }
  Out("}");
  Flush();
  if (FResult != kResultOk) return;

  WriteControl("\\paperw", header.PageWidth);
  WriteControl("\\paperh", header.PageHeight);
  WriteControl("\\margl", header.LeftMargin);
  WriteControl("\\margr", header.RightMargin);
  WriteControl("\\margt", header.TopMargin);
  WriteControl("\\margb", header.BottomMargin);
  Flush();
  if (FResult != kResultOk) return;

  auto writeInfo = [&](const char* opening, const std::string& text) {
    if (text.empty()) return;
    Out(opening);
    WriteDestinationText(text);
    OutChar('}');
  };
  writeInfo("{\\title ", header.Title);
  writeInfo("{\\subject\t", header.Subject);
  writeInfo("{\\comment\t", header.Comment);
}

void TWPRTFWriter::WriteDestinationText(const std::string& text) {
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32 || c == '\\' || c == '{' || c == '}') {
      char escaped[4];
      HexEscape(c, escaped);
      Out(escaped, 4);
    } else {
      OutChar(ch);
    }
  }
}

// --- groups -------------------------------------------------------------------

TWPRTFWriter::TGroup* TWPRTFWriter::PushGroup(TGroupKind kind) {
  try {
    std::unique_ptr<TGroup> group = NewGroupRecord();
    if (!FGroups.empty()) *group = *FGroups.back();
    group->Kind = kind;
    FGroups.push_back(std::move(group));
    return FGroups.back().get();
  } catch (const std::bad_alloc&) {
    SetResult(kResultOutOfMemory);
    return nullptr;
  }
}

bool TWPRTFWriter::HasGroup(TGroupKind kind) const {
  for (const auto& group : FGroups)
    if (group->Kind == kind) return true;
  return false;
}

// Closes groups down to and including the innermost group of the kind; the
// document group is never closed here.
void TWPRTFWriter::CloseGroupsThrough(TGroupKind kind) {
  if (kind == gkDocument || !HasGroup(kind)) return;
  while (!FGroups.empty()) {
    const TGroupKind closed = FGroups.back()->Kind;
    FGroups.pop_back();
    OutChar('}');
    if (closed == kind) break;
  }
}

// --- tables -------------------------------------------------------------------

bool TWPRTFWriter::IsLastCellOfRow(const TParagraph& par) {
  const TParagraph* next = par.Next;
  return !(par.ParFlags & kParMoreCells) || !next || !next->IsTableCell() ||
         !(next->ParFlags & kParNotFirstCell);
}

std::vector<TParagraph*> TWPRTFWriter::RowStartingAt(TParagraph& par) {
  std::vector<TParagraph*> row{&par};
  for (TParagraph* cell = &par; !IsLastCellOfRow(*cell) && static_cast<int>(row.size()) < kMaxCells;) {
    cell = cell->Next;
    row.push_back(cell);
  }
  return row;
}

TWPRTFWriter::TCellLayout TWPRTFWriter::CellLayoutOf(const TParagraph& cell) {
  TCellLayout layout;
  layout.BorderFlags = BorderFlagsWithoutInheritance(cell.BorderFlags);
  layout.BorderStyle = cell.BorderStyle;
  layout.BorderWidth = cell.BorderWidth;
  layout.BorderSpaceColor = cell.BorderSpaceColor;
  layout.ShadingColors = cell.ShadingColors;
  layout.Shading = cell.Shading;
  layout.CellStart = cell.CellStart;
  layout.CellWidth = cell.CellWidth;
  return layout;
}

// A further cell of the open row always belongs to it; a row's first cell
// continues the open table group only when its row is laid out the same.
bool TWPRTFWriter::RowMatchesGroup(TParagraph& par) {
  if (par.ParFlags & kParNotFirstCell) return true;
  const std::vector<TParagraph*> row = RowStartingAt(par);
  const std::vector<TCellLayout>& recorded = Innermost().Row;
  if (row.size() > recorded.size()) return false;
  for (std::size_t i = 0; i < row.size(); ++i)
    if (!(CellLayoutOf(*row[i]) == recorded[i])) return false;
  return true;
}

void TWPRTFWriter::WriteBorderStyleWords(std::uint8_t style) {
  if (style & kBorderDotted) Out("\\brdrdot");
  if (style & kBorderHairline) Out("\\brdrhair");
}

bool TWPRTFWriter::WriteTableRowStart(TParagraph& par) {
  TGroup* pushed = PushGroup(gkTableRow);
  if (!pushed) return false;
  TGroup& group = *pushed;
  OutChar('{');
  WriteControl("\\pard\\trowd\\trgaph", MulDiv(par.Border().Spacing() * 16, 567, 160));
  WriteControl("\\trleft", par.LeftIndent);
  // \pard reset these for the reader.
  group.Alignment = 0;
  group.FirstIndent = group.LeftIndent = group.RightIndent = 0;
  group.BorderFlags = group.BorderStyle = group.BorderWidth = group.BorderSpaceColor = 0;
  group.TabSet = 0;
  group.Row.clear();

  const std::int64_t rowWidth = FTextWidth - par.RightIndent;
  int rowEnd = 0;
  for (TParagraph* cell : RowStartingAt(par)) {
    const std::uint8_t flags = cell->BorderFlags;
    if (flags & kBorderOn) {
      const bool box = flags & kBorderBox;
      const char* line = (flags & kBorderDouble) ? "\\brdrdb" : "\\brdrs";
      const std::pair<std::uint8_t, const char*> sides[] = {{kBorderTop, "\\clbrdrt"},
                                                            {kBorderBottom, "\\clbrdrb"},
                                                            {kBorderLeft, "\\clbrdrl"},
                                                            {kBorderRight, "\\clbrdrr"}};
      for (const auto& [bit, word] : sides) {
        if (box || (flags & bit)) {
          Out(word);
          Out(line);
        }
      }
      // A border without sides is stated by its kind alone.
      if (!box && !(flags & kBorderSides)) Out(line);
      if (cell->BorderStyle & kBorderTableLine) Out("\\brdrtablin");
      WriteControl("\\brdrw", cell->BorderWidth * 20);
      if (cell->BorderSpaceColor != 0) WriteControl("\\brdrcf", cell->Border().ColorIndex());
      WriteBorderStyleWords(cell->BorderStyle);
    }
    if (cell->ShadingColors != 0) {
      Out("\\clshdng");
      WriteControl("\\clcfpat", cell->ShadingColors & 15);
      // Always: a cell's shading percentage is not written, so it cannot
      // decide what is.
      WriteControl("\\clcbpat", cell->ShadingColors >> 4);
    }
    // The right edge where the cell is drawn, in 1/255 of the row width.
    rowEnd = cell->CellStart + cell->CellWidth;
    WriteControl("\\cellx", rowWidth * rowEnd / 255 + par.LeftIndent);
    if (Pending() >= kRowFlushAt) Flush();
    group.Row.push_back(CellLayoutOf(*cell));
  }
  // Cells that stop short of the row's end (as read when a row defined more
  // cells than it filled) keep that end, for it sets the width of the row.
  if (rowEnd < 255) WriteControl("\\cellx", rowWidth + par.LeftIndent);
  Out("\\intbl");
  WriteTabStops(par.TabSet);
  group.TabSet = par.TabSet;
  return true;
}

// --- paragraphs ---------------------------------------------------------------

void TWPRTFWriter::WriteBorderKind(const TParagraph& par) {
  Out((par.BorderFlags & kBorderDouble) ? "\\brdrdb" : "\\brdrs");
}

bool TWPRTFWriter::WriteBorderGroup(TParagraph& par) {
  TGroup* pushed = PushGroup(gkBorder);
  if (!pushed) return false;
  TGroup& group = *pushed;
  OutChar('{');
  const std::uint8_t flags = par.BorderFlags;
  if (flags & kBorderBox) {
    Out("\\box");
    WriteBorderKind(par);
  }
  const std::pair<std::uint8_t, const char*> sides[] = {{kBorderTop, "\\brdrt"},
                                                        {kBorderBottom, "\\brdrb"},
                                                        {kBorderLeft, "\\brdrl"},
                                                        {kBorderRight, "\\brdrr"}};
  for (const auto& [bit, word] : sides) {
    if (flags & bit) {
      Out(word);
      WriteBorderKind(par);
    }
  }
  // A border without sides is stated by its kind alone.
  if (!(flags & (kBorderBox | kBorderSides))) WriteBorderKind(par);
  if (par.BorderStyle & kBorderBar) Out("\\brdrbar");
  if (par.BorderStyle & kBorderTableLine) Out("\\brdrtablin");
  WriteControl("\\brdrw", par.BorderWidth * 20);
  if (par.BorderSpaceColor != 0) {
    WriteControl("\\brsp", MulDiv(par.Border().Spacing() * 16, 567, 160));
    WriteControl("\\brdrcf", par.Border().ColorIndex());
  } else if (flags & (kBorderBox | kBorderLeft | kBorderRight)) {
    // A reader gives these sides some spacing unless told there is none.
    Out("\\brsp0");
  }
  WriteBorderStyleWords(par.BorderStyle);
  group.BorderFlags = BorderFlagsWithoutInheritance(flags);
  group.BorderStyle = par.BorderStyle;
  group.BorderWidth = par.BorderWidth;
  group.BorderSpaceColor = par.BorderSpaceColor;
  return true;
}

bool TWPRTFWriter::WriteParagraphGroup(TParagraph& par) {
  if (!PushGroup(gkParagraph)) return false;
  OutChar('{');
  if (par.ShadingColors == 0) return true;
  const int percent = par.Shading != 0 ? par.Shading : (par.ShadingColors & 15) ? 100 : 0;
  if (percent != 0)
    WriteControl("\\shading", percent * 100);
  else
    Out("\\shading1");
  WriteControl("\\cfpat", par.ShadingColors & 15);
  // Full shading hides the pattern background, but a background colour is
  // still stated: without any colour the paragraph would read as unshaded.
  if (percent != 100 || (par.ShadingColors >> 4) != 0) WriteControl("\\cbpat", par.ShadingColors >> 4);
  return true;
}

// In order of position (then kind), not of slot: slots are numbered as a
// reader meets the stops, so slot order would change from one save to the
// next.
void TWPRTFWriter::WriteTabStops(TTabSet tabs) {
  const TTextHeader& header = FDocument.Header;
  std::vector<std::pair<int, TTabKind>> stops;
  for (int slot = 0; slot < TTextHeader::kTabSlots; ++slot)
    if (((tabs >> slot) & 1u) && !header.TabSlotFree(slot))
      stops.emplace_back(header.TabPositions[slot], header.TabKinds[slot]);
  std::sort(stops.begin(), stops.end());
  for (const auto& [position, kind] : stops) {
    switch (kind) {
      case tkRight:
        Out("\\tqr");
        break;
      case tkCenter:
        Out("\\tqc");
        break;
      case tkDecimal:
        Out("\\tqdec");
        break;
      default:
        break;
    }
    WriteControl("\\tx", position);
  }
}

bool TWPRTFWriter::HasDefaultAttributes(const TParagraph& par) {
  return par.Alignment == 0 && par.FirstIndent == 0 && par.LeftIndent == 0 && par.RightIndent == 0 &&
         par.SpaceBefore == 0 && par.SpaceAfter == 0 && par.LineSpacing == 0 && par.TabSet == 0 &&
         !(par.BorderFlags & kBorderOn) && par.ShadingColors == 0;
}

void TWPRTFWriter::ParagraphStart(TParagraph& par) {
  if (FGroups.empty()) {
    if (!PushGroup(gkDocument)) return;
    OutChar('{');
  }
  const bool cell = par.IsTableCell();
  const bool bordered = par.BorderFlags & kBorderOn;

  // Leave a border group the paragraph does not continue.
  {
    const TGroup& inner = Innermost();
    const bool otherBorder = inner.HasBorder() && bordered &&
                             (inner.BorderFlags != BorderFlagsWithoutInheritance(par.BorderFlags) ||
                              inner.BorderStyle != par.BorderStyle || inner.BorderWidth != par.BorderWidth ||
                              inner.BorderSpaceColor != par.BorderSpaceColor);
    if ((inner.HasBorder() && !bordered) || otherBorder ||
        (FPreviousParagraph && (FPreviousParagraph->BorderFlags & kBorderNotInherited)) ||
        (cell && inner.Kind != gkTableRow))
      CloseGroupsThrough(gkBorder);
  }
  // Leave a table row group the paragraph does not belong to.
  if (Innermost().Kind == gkTableRow && (!cell || !RowMatchesGroup(par))) CloseGroupsThrough(gkTableRow);
  // Leave a tab group whose stops differ (cells of an open row keep theirs).
  if (Innermost().Kind != gkTableRow && Innermost().TabSet != 0 && Innermost().TabSet != par.TabSet)
    CloseGroupsThrough(gkTab);
  Flush();

  if (par.ParFlags & kParPageBreakBefore) Out("\\page");
  if (cell) {
    if (Innermost().Kind == gkTableRow)
      Out("\\intbl");
    else if (!WriteTableRowStart(par))
      return;
  } else {
    if (bordered && !Innermost().HasBorder() && !WriteBorderGroup(par)) return;
    const bool keep = par.ParFlags & (kParKeepTogether | kParKeepWithNext);
    if ((par.ShadingColors != 0 || keep) && !WriteParagraphGroup(par)) return;
    if (par.ParFlags & kParKeepTogether) Out("\\keep");
    if (par.ParFlags & kParKeepWithNext) Out("\\keepn");
    if (par.TabSet != Innermost().TabSet) {
      TGroup* group = PushGroup(gkTab);
      if (!group) return;
      OutChar('{');
      WriteTabStops(par.TabSet);
      group->TabSet = par.TabSet;
    }
  }

  TGroup& group = Innermost();
  // An empty last paragraph with attributes of its own states its alignment
  // even when unchanged: a reader keeps what a paragraph states, where the
  // closing groups would otherwise give it the reader's defaults.
  const bool lastAndEmpty = !cell && par.Next == nullptr && par.TextLength() == 0;
  if (par.Alignment != group.Alignment || (lastAndEmpty && !HasDefaultAttributes(par))) {
    static const char* const kAlignments[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
    Out(kAlignments[par.Alignment & 3]);
  }
  if (!cell && (par.LeftIndent != group.LeftIndent || par.FirstIndent != group.FirstIndent ||
                par.RightIndent != group.RightIndent)) {
    WriteControl("\\li", par.LeftIndent);
    WriteControl("\\fi", static_cast<std::int64_t>(par.FirstIndent) - par.LeftIndent);
    WriteControl("\\ri", par.RightIndent);
  }
  // A cell's SpaceAfter holds layout padding; its SpaceBefore is written in its place.
  const std::int32_t spaceAfter = cell ? par.SpaceBefore : par.SpaceAfter;
  if (cell || par.SpaceBefore != group.SpaceBefore || par.SpaceAfter != group.SpaceAfter ||
      par.LineSpacing != group.LineSpacing) {
    WriteControl("\\sb", par.SpaceBefore);
    // A bare \sl (single spacing) is written as well, so no spacing of the
    // enclosing text carries over.
    Out("\\sl");
    if (par.LineSpacing != 0) OutInt(par.LineSpacing);
    WriteControl("\\sa", spaceAfter);
  }
  group.Alignment = par.Alignment;
  if (!cell) {
    group.FirstIndent = par.FirstIndent;
    group.LeftIndent = par.LeftIndent;
    group.RightIndent = par.RightIndent;
  }
  group.SpaceBefore = par.SpaceBefore;
  group.SpaceAfter = spaceAfter;
  group.LineSpacing = par.LineSpacing;
  // Without run prefixes the text follows the paragraph words directly; a
  // space keeps the first letters or digits out of the last word.
  if (FPlainOutput && LastByte() != '{' && LastByte() != '}' && LastByte() != '\r') OutChar(' ');
  Flush();
}

// Raw RTF runs last until \wprtf0; structure must not be written inside one.
void TWPRTFWriter::EndRtfCode() {
  if (!FPreviousRunRtfCode) return;
  Out("\\wprtf0");
  FPreviousRunRtfCode = false;
}

void TWPRTFWriter::ParagraphEnd(TParagraph& par) {
  EndRtfCode();
  if (par.IsTableCell()) {
    Out("\\cell");
    // Every row ends with \row, a row of one cell too: without it the next
    // row's cells would read as more cells of this one.
    if (IsLastCellOfRow(par)) Out("\\row");
    Out("\n\r");
  } else if (par.Next) {
    Out(FPreviousRunHidden ? "\\plain\\par" : "\\par");
    Out("\n\r");
  }
  FPreviousRunHidden = false;
  CloseGroupsThrough(gkParagraph);
}

// --- runs ---------------------------------------------------------------------

// A font the written table does not define is written as the default font.
int TWPRTFWriter::WrittenFont(int slot) const { return slot < FFontsWritten ? slot : 0; }

// Characters whose attributes come out as the same words form one run, so
// that what is read back is split into runs as it was written.
bool TWPRTFWriter::SameRun(const TAttr& a, const TAttr& b) const {
  auto written = [this](TAttr attr) {
    attr.FontIndex = static_cast<std::uint8_t>(WrittenFont(attr.FontIndex));
    if (attr.Size == 0) attr.Size = 10;
    attr.Style &= static_cast<std::uint8_t>(~kStyleSelected);
    attr.Special &=
        static_cast<std::uint8_t>(~(kSpecialNumbering | (OmitProtectedMark ? kSpecialProtected : 0)));
    attr.Marker = attr.Reserved1 = 0;
    return attr;
  };
  return written(a).SameRun(written(b));
}

void TWPRTFWriter::RunAttributes(const TAttr& attr) {
  if (FPreviousRunRtfCode) {
    if (attr.Special & kSpecialRtfCode) return;
    Out("\\wprtf0");
    FPreviousRunRtfCode = false;
  }
  WriteControl("\\plain\\f", WrittenFont(attr.FontIndex));
  WriteControl("\\fs", attr.Size ? attr.Size * 2 : 20);
  WriteControl("\\cf", attr.Colors & 15);
  if (attr.Colors >> 4) WriteControl("\\cb", attr.Colors >> 4);
  const std::uint8_t style = attr.Style;
  if (style & kStyleBold) Out("\\b");
  if (style & kStyleUnderline) Out("\\ul");
  if (style & kStyleHyperlink) Out("\\uldb");
  if (style & kStyleSuperscript) Out("\\super");
  if (style & kStyleSubscript) Out("\\sub");
  if (style & kStyleItalic) Out("\\i");
  if (style & kStyleStrikeOut) Out("\\strike");
  const std::uint8_t special = attr.Special;
  if ((special & kSpecialProtected) && !OmitProtectedMark) Out("\\shad");
  FPreviousRunHidden = special & kSpecialHidden;
  if (FPreviousRunHidden) Out("\\v");
  if ((special & kSpecialInsertPoint) && !OmitInsertPoints) WriteControl("\\inspnt", attr.Tag);
  if ((special & kSpecialAutomatic) && !OmitAutomaticText) Out("\\inaut");
  // Last: everything after \wprtf1 is read as raw text.
  if (special & kSpecialRtfCode) {
    Out("\\wprtf1");
    FPreviousRunRtfCode = true;
  }
  OutChar(' ');
}

void TWPRTFWriter::RunText(const char* chars, int count) {
  const bool rtfCode = FPreviousRunRtfCode;
  for (int i = 0; i < count; ++i) {
    const auto c = static_cast<unsigned char>(chars[i]);
    // RTF source is read back byte for byte until "\wprtf0": it is written
    // as it stands (only the bytes no text keeps are left out).
    const TCharClass charClass = rtfCode && kCharClasses[c] != ccDrop ? ccLiteral : kCharClasses[c];
    switch (charClass) {
      case ccDrop:
        break;
      case ccLiteral:
        OutChar(static_cast<char>(c));
        break;
      case ccBackslashed:
        OutChar('\\');
        OutChar(static_cast<char>(c));
        break;
      case ccTab:
        Out("\\tab ");
        break;
      case ccLine:
        Out("\\line ");
        break;
      case ccHex: {
        char escaped[4];
        HexEscape(c, escaped);
        Out(escaped, 4);
        break;
      }
    }
    if (Pending() > kRunFlushAbove) Flush();
  }
}

// --- objects and footnotes ------------------------------------------------------

void TWPRTFWriter::WriteHex(const std::string& bytes) {
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    OutChar(kHexDigits[c >> 4]);
    OutChar(kHexDigits[c & 15]);
  }
}

void TWPRTFWriter::WriteTaggedObject(const TTextObject& object, int id) {
  WriteControl("\\wpobjtag", id);
  WriteControl("\\wpobjw", object.Width);
  WriteControl("\\wpobjh", object.Height);
  Out(" \\'01");
}

void TWPRTFWriter::WriteObject(const TAttr& attr, unsigned char code) {
  TTextObject* object =
      code == 1 ? FDocument.FindObject(attr.Tag) : FDocument.FindObjectBySecondaryId(attr.Tag);
  if (!object) return;
  EndRtfCode();
  if (object->Width == 0 || object->Height == 0) FDocument.MeasureObject(object);
  const TEmbeddedObject* graphic = object->Object;
  const bool hasGraphic =
      graphic && graphic->Kind() != TObjectKind::Control && graphic->Kind() != TObjectKind::Other;
  auto writeGoalSizes = [&] {
    WriteControl("\\picwgoal", object->Width);
    WriteControl("\\pichgoal", object->Height);
  };

  if (!object->FileName.empty()) {
    if (WritePicturesAsBracketReferences) {
      Out("\\{bmc ");
      Out(object->FileName);
      Out("\\}");
      return;
    }
    Out("{\\*\\picfile");
    if (hasGraphic) {
      WriteControl("\\picw", graphic->PixelWidth());
      WriteControl("\\pich", graphic->PixelHeight());
    }
    writeGoalSizes();
    Out(" \"");
    Out(object->FileName);
    Out("\"}");
    return;
  }

  const auto* picture = dynamic_cast<const TWPPictureSource*>(graphic);
  std::optional<TReadPictureSource> readPicture;
  if (const auto* read = dynamic_cast<const TWPRtfPicture*>(graphic)) picture = &readPicture.emplace(*read);
  if (!hasGraphic || !picture) {
    WriteTaggedObject(*object, object->Id);
    return;
  }
  const int width = picture->PicWidth() >= 0 ? picture->PicWidth() : graphic->PixelWidth();
  const int height = picture->PicHeight() >= 0 ? picture->PicHeight() : graphic->PixelHeight();
  TWPPictureSource::TFormat format = picture->PictureFormat();
  if (format == TWPPictureSource::TFormat::Bitmap && WriteBitmapAsDib && !readPicture)
    format = TWPPictureSource::TFormat::Dib;
  // A picture without bytes would read back as nothing but take a place
  // and a size; it is left out.
  const std::string bytes = picture->PictureBytes(format);
  if (bytes.empty()) return;
  Out("{\\pict");
  switch (format) {
    case TWPPictureSource::TFormat::Metafile:
      Out("\\wmetafile8");
      break;
    case TWPPictureSource::TFormat::Png:
      Out("\\pngblip");
      break;
    case TWPPictureSource::TFormat::Jpeg:
      Out("\\jpegblip");
      break;
    case TWPPictureSource::TFormat::Emf:
      Out("\\emfblip");
      break;
    case TWPPictureSource::TFormat::Bitmap:
      WriteControl("\\wbitmap0\\wbmbitspixel", picture->BitsPerPixel());
      WriteControl("\\wbmplanes", picture->Planes());
      WriteControl("\\wbmwidthbytes", picture->WidthBytes());
      break;
    case TWPPictureSource::TFormat::Dib:
      WriteControl("\\dibitmap0\\wbmbitspixel", picture->BitsPerPixel());
      WriteControl("\\wbmplanes", picture->Planes());
      WriteControl("\\wbmwidthbytes", (static_cast<std::int64_t>(width) * picture->BitsPerPixel() + 7) / 8);
      break;
  }
  WriteControl("\\picw", width);
  WriteControl("\\pich", height);
  writeGoalSizes();
  Out("\r\n");
  WriteHex(bytes);
  OutChar('}');
}

void TWPRTFWriter::WriteFootnote(int id) {
  const TFootnote* footnote = FDocument.FindFootnote(id);
  if (!footnote) return;
  EndRtfCode();
  Out("{\\cs16\\super ");
  RunText(&footnote->Mark, 1);
  if (footnote->Number != 0 && !footnote->ForceUnnumbered) {
    WriteControl("{\\*\\footnote \\wpfnnr", footnote->Number);
    Out(" \\pard\\plain \\s15\\widctlpar \\f4\\fs20\\lang1031 {\\cs16\\super\t");
  } else {
    Out("{\\*\\footnote \\pard\\plain \\s15\\widctlpar \\f4\\fs20\\lang1031 {\\cs16\\super ");
  }
  WriteDestinationText(std::string(1, footnote->Mark));
  Out("} ");
  if (!footnote->RawRtf.empty())
    Out(footnote->RawRtf);
  else
    WriteDestinationText(footnote->Text);
  Out("}}");
}

void TWPRTFWriter::DoClose() {
  EndRtfCode();
  for (std::size_t i = 0; i < FGroups.size(); ++i) OutChar('}');
  FGroups.clear();
  Out("\r\n}");
}
