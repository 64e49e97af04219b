// Line layout: each character measured in its font, each paragraph wrapped
// into lines that fit the wrap width (tabs, alignment, justification), and
// each line given its height and baseline, with the edges and tab stops
// these need.
#include <algorithm>
#include <cstring>

#include "richtext/MulDiv.h"
#include "richtext/gui/RtfTextPaint.h"

namespace {

constexpr int kMaxWordLength = 100;
// Characters that take no room (hidden text) could otherwise gather in one
// line beyond what a line can hold.
constexpr int kMaxWrappedLine = kMaxLineCapacity - 10;

bool IsObjectChar(unsigned char code, const TAttr& attr) {
  return (code == 1 || code == 2) && (attr.Special & kSpecialObject) != 0;
}

// The text that a right, decimal or centre tab aligns ends at the next tab
// or at the end of the line's text (a line feed ends the line).
bool EndsTabText(char c) { return c == '\t' || c == 0 || c == 10; }

}  // namespace

// A paragraph while it is wrapped: its characters in one array, what the
// old lines were (for the compare), where the selection and the caret stood,
// and the new lines.
struct TWPRTFTextPaint::TWrap {
  struct TOldLine {
    int Start, Length, Height, SpaceWidth;
  };
  struct TNewLine {
    int Start, Length, LineWidth, SpaceWidth, SpaceExtra;
  };

  TParagraph* Par;
  bool Rtf;
  std::vector<char> Text;
  std::vector<TAttr> Attrs;
  TAttr EndAttr{};  // the record after the last character
  std::vector<TOldLine> Old;
  int OldTotal = 0;
  bool OldSelected = false;
  // Selection ends and caret as offsets from the paragraph's start; -1 when
  // they lie elsewhere.
  TTextPos From, To;
  int SelStart = -1, SelEnd = -1, Caret = -1;
  std::vector<TNewLine> Lines;

  explicit TWrap(TParagraph* par) : Par(par), Rtf(par->FirstLine->Attrs != nullptr) {}
  int Count() const { return static_cast<int>(Text.size()); }
  const TAttr* AttrArray() const { return Rtf ? Attrs.data() : nullptr; }
};

// One line while it is broken: where it starts, the room it has, how far the
// characters went and the last places where it may break.
struct TWPRTFTextPaint::TLineBreak {
  int Start = 0;
  int Left = 0;  // left edge of the line in pixels
  int Available = 0;
  int End = 0;                // the character after the last one taken
  int X = 0;                  // width taken
  bool EndedHard = false;     // paragraph end, line feed, code 0
  bool BrokeAtSpace = false;  // the line ends after its last space
  int Spaces = 0, SpaceSum = 0, LastSpace = -1, LastSpaceX = 0;
  int LastTab = -1, LastTabX = 0;
  void ForgetSpaces() {
    Spaces = SpaceSum = 0;
    LastSpace = -1;
  }
};

// ---------------------------------------------------------------------------
// Measuring

bool TWPRTFTextPaint::IsInvisible(const TAttr& a) const {
  if ((a.Special & kSpecialInsertPoint) && (HideInsertPoints || InsertPointAttr.Hidden())) return true;
  if ((a.Special & kSpecialAutomatic) && (HideAutomaticText || AutomaticTextAttr.Hidden())) return true;
  if ((a.Style & kStyleHyperlink) && HyperlinkTextAttr.Hidden()) return true;
  if ((a.Special & kSpecialProtected) && ProtectedTextAttr.Hidden()) return true;
  if ((a.Special & kSpecialHidden) && !Has(poShowHidden)) return true;
  return false;
}

void TWPRTFTextPaint::MeasureChar(TLine* line, int index, const TAttr& attr) {
  if (!line->Attrs) {
    TWPRTFText::MeasureChar(line, index, attr);
    return;
  }
  line->Attrs[index] = attr;
  MeasureFont(&attr);
  MeasureInCurrentFont(line, index);
}

// Width, height and ascent of one character from the font measured last.
void TWPRTFTextPaint::MeasureInCurrentFont(TLine* line, int index) {
  TAttr& a = line->Attrs[index];
  if (IsInvisible(a)) {
    a.Width = a.Height = a.Ascent = 0;
    return;
  }
  const unsigned char code = line->CharAt(index);
  if (IsObjectChar(code, a)) {
    const TTextObject* object = code == 2 ? FindObjectBySecondaryId(a.Tag) : FindObject(a.Tag);
    if (!object) {
      a.Width = 0;
      a.Height = static_cast<std::int16_t>(FFontHeight);
      a.Ascent = static_cast<std::int16_t>(FFontAscent);
      return;
    }
    const int width = std::clamp(MulDivX(object->Width), 0, kMaxObjectPixels);
    int height = std::clamp(MulDivY(object->Height), 0, kMaxObjectPixels);
    int ascent;
    // The high nibble of the kind flag holds the vertical placement: 1 top,
    // 2 on the font ascent, 3 centred; 0 stands the object on the baseline.
    switch (object->KindFlag >> 4) {
      case 1:
        ascent = height - 2;
        break;
      case 2:
        ascent = FFontAscent;
        break;
      case 3:
        ascent = height / 2;
        break;
      default:
        ascent = height;
        height = FFontHeight + height - FFontAscent;  // stands on the baseline
    }
    a.Width = static_cast<std::int16_t>(width);
    a.Height = static_cast<std::int16_t>(height);
    a.Ascent = static_cast<std::int16_t>(ascent);
    return;
  }
  a.Width = static_cast<std::int16_t>(std::max<int>(FWidths[code], 1));
  a.Height = static_cast<std::int16_t>(std::max(FFontHeight, 1));
  a.Ascent = static_cast<std::int16_t>(std::max(FFontAscent, 1));
}

void TWPRTFTextPaint::MeasureLine(TParagraph*, TLine* line) {
  line->Height = 0;
  line->Ascent = 0;
  if (!line->Attrs) {
    MeasureFont(nullptr);
    line->Height = static_cast<std::uint16_t>(FFontHeight);
    line->Ascent = static_cast<std::uint16_t>(FFontAscent);
    return;
  }
  TAttr* attrs = line->Attrs.get();
  int i = 0;
  while (i < line->Length) {
    TAttr runAttr = attrs[i];
    MeasureFont(&runAttr);
    int j = i;
    // One font selection for the whole run.
    for (; j < line->Length && attrs[j].SameRun(runAttr); ++j) MeasureInCurrentFont(line, j);
    i = j;
  }
  if (line->Length == 0) MeasureFont(&attrs[0]);
  int height = 0, ascent = 0;
  for (int k = 0; k < line->Length; ++k) {
    height = std::max<int>(height, attrs[k].Height);
    ascent = std::max<int>(ascent, attrs[k].Ascent);
  }
  if (line->Length == 0) {
    height = FFontHeight;
    ascent = FFontAscent;
  }
  // The slot after the last character keeps the font's own metrics: an
  // empty line or a line of spaces falls back on them.
  attrs[line->Length].Height = static_cast<std::int16_t>(FFontHeight);
  attrs[line->Length].Ascent = static_cast<std::int16_t>(FFontAscent);
  line->Height = static_cast<std::uint16_t>(height);
  line->Ascent = static_cast<std::uint16_t>(ascent);
}

void TWPRTFTextPaint::MeasureParagraph(TParagraph* par, bool single) {
  if (Has(poLayoutLocked) || FMeasuring || !par) return;
  FMeasuring = true;
  try {
    for (TLine* line = par->FirstLine; line; line = line->Next) MeasureLine(par, line);
    TLine* only = par->FirstLine;
    if (only && !only->Next && only->Length == 0 && par->Prev && only->Attrs) {
      // An empty paragraph keeps the height of the text before it. An empty
      // line before it passes on its slot's font metrics, not its final
      // height: that holds the paragraph spacing, and a run of empty
      // paragraphs with spacing would grow one after the other.
      TLine* last = LastLine(par->Prev);
      if (last->Attrs) {
        only->Height = static_cast<std::uint16_t>(std::max<int>(last->Attrs[last->Length].Height, 0));
        only->Ascent = static_cast<std::uint16_t>(std::max<int>(last->Attrs[last->Length].Ascent, 0));
      } else {
        only->Height = last->Height;
        only->Ascent = last->Ascent;
      }
      only->Attrs[0].Height = static_cast<std::int16_t>(only->Height);
      only->Attrs[0].Ascent = static_cast<std::int16_t>(only->Ascent);
    }
    for (TLine* line = par->FirstLine; line; line = line->Next) RecomputeLineHeight(par, line);
  } catch (...) {
    FMeasuring = false;
    throw;
  }
  par->ParState = static_cast<std::uint8_t>((par->ParState & ~kParNeedsMeasure) | kParNeedsWrap);
  FMeasuring = false;
  if (single && par->Next && !par->Next->FirstLine->Next && par->Next->FirstLine->Length == 0)
    MeasureParagraph(par->Next, false);
}

// ---------------------------------------------------------------------------
// Line heights, edges, tabs

int TWPRTFTextPaint::LineHeightRule(TParagraph* par, TLine* line, int fallbackHeight,
                                    int fallbackAscent) const {
  int height = 0, ascent = 0;
  if (line->Attrs) {
    for (int i = 0; i < line->Length; ++i) {
      const TAttr& a = line->Attrs[i];
      if (line->Text[i] == ' ' || ((a.Special & kSpecialHidden) && !Has(poShowHidden))) continue;
      if (a.Height > height) {
        height = a.Height;
        ascent = a.Ascent;
      }
    }
    if (line->Length == 0 && par->IsTableCell()) height = ascent = FDefaultCellLineHeight;
  }
  if (height < 1) {
    height = fallbackHeight;
    ascent = fallbackAscent;
  }
  const int spacing = MulDivY(par->LineSpacing);
  if (spacing > 0 && height < spacing) {
    ascent += (spacing - height) / 2;
    height = spacing;
  } else if (spacing < 0) {
    ascent -= (height + spacing) / 2;
    height = -spacing;
    height = std::max(height, 0);
    ascent = std::max(ascent, 0);
  }
  if (line == par->FirstLine) {
    const int before = MulDivY(par->SpaceBefore);
    height = std::max(height + before, 0);
    ascent = std::max(ascent + before, 0);
  }
  if (!line->Next) height = std::max(height + MulDivY(par->SpaceAfter), 0);
  // Line heights and ascents are 16-bit: absurd spacing is held at the limit
  // instead of wrapping round to a small height.
  line->Ascent = static_cast<std::uint16_t>(std::min(ascent, 0xFFFF));
  return std::min(height, 0xFFFF);
}

bool TWPRTFTextPaint::RecomputeLineHeight(TParagraph* par, TLine* line) {
  int fallbackHeight = DefaultLineHeight, fallbackAscent = DefaultAscent;
  if (line->Attrs) {
    fallbackHeight = line->Attrs[line->Length].Height;
    fallbackAscent = line->Attrs[line->Length].Ascent;
  } else if (IsPlainMode()) {
    fallbackHeight = FFontHeight;
    fallbackAscent = FFontAscent;
  }
  const int old = line->Height;
  const int height = LineHeightRule(par, line, fallbackHeight, fallbackAscent);
  line->Height = static_cast<std::uint16_t>(height);
  return height != old;
}

int TWPRTFTextPaint::CellLeftPixels(TParagraph* par) const {
  const int w = Header.TextWidthTwips;
  return MulDivX(par->LeftIndent + (w - par->RightIndent - par->LeftIndent) * par->CellStart / 255);
}

int TWPRTFTextPaint::LeftEdge(TParagraph* par, TLine* line) const {
  return LeftEdgeOf(par, line == par->FirstLine);
}

int TWPRTFTextPaint::LeftEdgeOf(TParagraph* par, bool firstLine) const {
  int left;
  if (par->IsTableCell())
    left = CellLeftPixels(par);
  else
    left = MulDivX(firstLine ? par->FirstIndent : par->LeftIndent);
  const int spacing = BorderSpacingPixels(par);
  if (spacing > 0) left += spacing + ((par->ParFlags & kParNotFirstCell) ? 0 : 1);
  return left;
}

int TWPRTFTextPaint::BorderSpacingPixels(TParagraph* par) const {
  const TBorderWord border = par->Border();
  // The spacing is kept in millimetres.
  return border.On() && border.Spacing() >= 1 ? MulDivX(border.Spacing() * 567 / 10) : 0;
}

int TWPRTFTextPaint::RightIndent(TParagraph* par) const {
  if (par->IsTableCell()) {
    const int w = Header.TextWidthTwips;
    const int span = w - par->RightIndent - par->LeftIndent;
    return MulDivX(w - (par->LeftIndent + (par->CellStart + par->CellWidth) * span / 255));
  }
  // A wrap width narrower than the page's text area takes its share from
  // the indent only: the border spacing stays inside the border line.
  int right = MulDivX(par->RightIndent);
  if (Header.TextWidthPixels != Header.TextAreaWidthPixels) {
    right -= Header.TextAreaWidthPixels - Header.TextWidthPixels;
    if (right < 0) right = 0;
  }
  return right + BorderSpacingPixels(par);
}

int TWPRTFTextPaint::NextTab(TParagraph* par, const char* text, const TAttr* attrs, int count, int x,
                             int index) const {
  const int cellLeft = par->IsTableCell() ? CellLeftPixels(par) : 0;
  for (int k = 0; k < TTextHeader::kTabSlots; ++k) {
    const int slot = Header.TabOrder[k];
    if (slot < 0 || slot >= TTextHeader::kTabSlots) continue;
    const int pixels = Header.TabPixelPositions[slot];
    if (pixels == 0 || !(par->TabSet & (TTabSet{1} << slot))) continue;
    const int position = pixels + cellLeft;
    if (position <= x) continue;
    const TTabKind kind = Header.TabKinds[slot];
    if (kind == tkRight || kind == tkDecimal) {
      if (position > Header.TextWidthPixels - RightIndent(par)) return x;
      int sum = 0;
      for (int i = index + 1; i < count && !EndsTabText(text[i]); ++i) {
        if (kind == tkDecimal && text[i] == Header.DecimalTabChar) break;
        sum += attrs ? attrs[i].Width : FWidths[static_cast<unsigned char>(text[i])];
      }
      return sum <= position - x ? position - sum : x;
    }
    if (kind == tkCenter) {
      int sum = 0;
      for (int i = index + 1; i < count && !EndsTabText(text[i]); ++i) {
        const int w = attrs ? attrs[i].Width : FWidths[static_cast<unsigned char>(text[i])];
        if (sum + w > 2 * (position - x)) break;
        sum += w;
      }
      return position - sum / 2;
    }
    return position;
  }
  const int interval = DefaultTabInterval();
  return (x + interval) - ((x + interval) % interval);
}

int TWPRTFTextPaint::NextTabPosition(TParagraph* par, TLine* line, int x, int index) {
  // The text a tab aligns runs on to the next tab, line feed or the end of
  // the paragraph, across line ends, as wrapping measured it: a tab is
  // painted where the line was laid out.
  int end = index + 1;
  while (end < line->Length && !EndsTabText(line->Text[end])) ++end;
  if (end < line->Length || !line->Next)
    return NextTab(par, line->Text.get(), line->Attrs.get(), line->Length, x, index);
  std::vector<char> text(line->Text.get() + index, line->Text.get() + line->Length);
  std::vector<TAttr> attrs;
  if (line->Attrs) attrs.assign(line->Attrs.get() + index, line->Attrs.get() + line->Length);
  for (TLine* next = line->Next; next; next = next->Next) {
    int k = 0;
    while (k < next->Length && !EndsTabText(next->Text[k])) ++k;
    text.insert(text.end(), next->Text.get(), next->Text.get() + k);
    if (next->Attrs) attrs.insert(attrs.end(), next->Attrs.get(), next->Attrs.get() + k);
    if (k < next->Length) break;
  }
  return NextTab(par, text.data(), line->Attrs ? attrs.data() : nullptr, static_cast<int>(text.size()), x, 0);
}

int TWPRTFTextPaint::LineContentWidth(TParagraph*, TLine* line) const {
  int width = 0, pending = 0;
  for (int i = 0; i < line->Length; ++i) {
    const unsigned char code = line->CharAt(i);
    const int w = line->Attrs ? line->Attrs[i].Width : FWidths[code];
    if (line->Attrs && (line->Attrs[i].Special & kSpecialHidden) && !Has(poShowHidden)) continue;
    if (code == ' ' || code == '\t') {
      pending += w;
    } else if (code == 10) {
      pending = 0;
    } else {
      width += pending + w;
      pending = 0;
    }
  }
  return width;
}

// ---------------------------------------------------------------------------
// Wrapping

void TWPRTFTextPaint::SpellCheck(TWrap& w) {
  const int n = w.Count();
  int i = 0;
  while (i < n) {
    if (static_cast<unsigned char>(w.Text[i]) < 65) {
      ++i;
      continue;
    }
    int j = i;
    while (j < n && j - i < kMaxWordLength && static_cast<unsigned char>(w.Text[j]) >= 65) ++j;
    const bool wrong = OnSpellCheckWord(std::string(w.Text.data() + i, j - i));
    for (int k = i; k < j; ++k) {
      if (wrong)
        w.Attrs[k].Marker |= kMarkerMisspelled;
      else
        w.Attrs[k].Marker &= static_cast<std::uint8_t>(~kMarkerMisspelled);
    }
    i = j;
  }
}

int TWPRTFTextPaint::ReformatParagraph(TParagraph* par, bool compare) {
  if (!par) return kNothingChanged;
  return WrapParagraph(par, compare);
}

int TWPRTFTextPaint::WrapParagraph(TParagraph* par, bool compare) {
  if (Has(poLayoutLocked)) return kNothingChanged;
  par->ParState &= static_cast<std::uint8_t>(~kParNeedsWrap);
  TWrap w(par);
  GatherLines(w);
  RememberSelection(w);
  BreakLines(w);
  RefillLines(w);
  RestoreSelection(w);
  const int result = PlaceAndCompare(w);
  if (par->IsTableCell()) TWPRTFText::Changed();
  return compare ? result : kNothingChanged;
}

// The old lines as one array of characters, with their summary for the compare.
void TWPRTFTextPaint::GatherLines(TWrap& w) {
  for (TLine* line = w.Par->FirstLine; line; line = line->Next) {
    w.Old.push_back({w.Count(), line->Length, line->Height, line->SpaceWidth});
    w.OldTotal += line->Height;
    w.OldSelected |= line->SelState == lsSelectedThroughEnd || line->SelState == lsPartlySelected;
    w.Text.insert(w.Text.end(), line->Text.get(), line->Text.get() + line->Length);
    if (w.Rtf) {
      w.Attrs.insert(w.Attrs.end(), line->Attrs.get(), line->Attrs.get() + line->Length);
      w.EndAttr = line->Attrs[line->Length];
    }
  }
  if (w.Rtf && OnSpellCheckWord) SpellCheck(w);
}

// Selection ends and caret in this paragraph as offsets from its start.
void TWPRTFTextPaint::RememberSelection(TWrap& w) {
  TParagraph* par = w.Par;
  auto toOffset = [par](TLine* target, int index) {
    int offset = 0;
    for (TLine* line = par->FirstLine; line; line = line->Next) {
      if (line == target) return offset + index;
      offset += line->Length;
    }
    return -1;
  };
  w.From = SelectionFrom();
  w.To = SelectionTo();
  const bool hasSel = HasSelection();
  w.SelStart = hasSel && w.From.Par == par ? toOffset(w.From.Line, w.From.Index) : -1;
  w.SelEnd = hasSel && w.To.Par == par ? toOffset(w.To.Line, w.To.Index) : -1;
  w.Caret = CursorParagraph == par ? toOffset(CursorLine, CursorIndex) : -1;
}

// New lines, each as many characters as fit its room.
void TWPRTFTextPaint::BreakLines(TWrap& w) {
  int pos = 0;
  do {
    TLineBreak lb;
    lb.Start = pos;
    lb.Left = LeftEdgeOf(w.Par, w.Lines.empty());
    lb.Available = Header.TextWidthPixels - RightIndent(w.Par) - lb.Left;
    if (lb.Available <= 0) lb.Available = 16;
    ScanLine(w, lb);
    ChooseBreak(w, lb);
    AddLine(w, lb);
    pos = lb.End;
  } while (pos < w.Count());
}

// Takes characters while they fit, remembering where the line may break.
void TWPRTFTextPaint::ScanLine(const TWrap& w, TLineBreak& lb) {
  const int n = w.Count();
  const char* text = w.Text.data();
  const TAttr* attrs = w.AttrArray();
  const bool rightOrCentre = w.Par->RightOrCentred();
  int i = lb.Start;
  while (true) {
    if (i >= n) {
      lb.EndedHard = true;
      break;
    }
    // A line that holds as many characters as it may is full: it still
    // breaks after its last space or tab like a line that is too wide.
    if ((MaxLineChars > 0 && i - lb.Start >= MaxLineChars) || i - lb.Start >= kMaxWrappedLine) break;
    const unsigned char code = static_cast<unsigned char>(text[i]);
    if (code == 0) {
      ++i;
      lb.EndedHard = true;
      break;
    }
    if (w.Rtf && (attrs[i].Special & kSpecialHidden) && !Has(poShowHidden)) {
      ++i;  // hidden text takes no room
      continue;
    }
    int width = w.Rtf ? attrs[i].Width : FWidths[code];
    const bool tab = code == '\t';
    if (tab && !rightOrCentre) width = NextTab(w.Par, text, attrs, n, lb.Left + lb.X, i) - lb.Left - lb.X;
    if (tab && rightOrCentre && !w.Rtf) width = FWidths[int{' '}];
    if (lb.X + width >= lb.Available && code != ' ' && !tab) break;
    lb.X += width;
    if (code == ' ' || (tab && rightOrCentre)) {
      ++lb.Spaces;
      lb.LastSpaceX = lb.X - width;
      lb.LastSpace = i - lb.Start;
      lb.SpaceSum += width;
    } else if (tab) {
      lb.LastTab = i - lb.Start;
      lb.LastTabX = lb.X;
      lb.ForgetSpaces();
    } else if (code == 10) {
      ++i;
      lb.ForgetSpaces();
      lb.EndedHard = true;
      break;
    }
    ++i;
    if (lb.X >= lb.Available) break;
  }
  lb.End = i;
}

// A line that did not end by itself breaks after its last space or tab, else
// before the character that did not fit; it always takes one character.
void TWPRTFTextPaint::ChooseBreak(const TWrap& w, TLineBreak& lb) {
  if (!lb.EndedHard) {
    if (lb.LastSpace >= 2) {
      lb.End = lb.Start + lb.LastSpace + 1;
      lb.X = lb.LastSpaceX;
      lb.BrokeAtSpace = true;
    } else if (lb.LastTab > 1) {
      lb.End = lb.Start + lb.LastTab + 1;
      lb.X = lb.LastTabX;
      lb.Spaces = 0;
    }
  }
  if (lb.End <= lb.Start) {
    lb.End = lb.Start + 1;
    if (w.Count() > 0)
      lb.X = w.Rtf ? w.Attrs[lb.Start].Width : FWidths[static_cast<unsigned char>(w.Text[lb.Start])];
  }
  if (w.Count() == 0) lb.End = 0;
}

// The new line; a justified one spreads the room left over its spaces after
// the last tab, so that its ink ends at the available width at any
// resolution: the spaces after the last word (the one the line breaks at
// among them) take none of that room.
void TWPRTFTextPaint::AddLine(TWrap& w, const TLineBreak& lb) {
  TWrap::TNewLine line{lb.Start, lb.End - lb.Start, lb.X, 0, 0};
  const bool last = lb.End >= w.Count();
  if (w.Par->Alignment == paJustify && (!last || (w.Par->ParFlags & kParJustifyLastLine)) && lb.Spaces >= 2) {
    const TAttr* attrs = w.AttrArray();
    int trailing = 0;
    for (int k = lb.End - 1; k >= lb.Start; --k) {
      if (w.Rtf && (attrs[k].Special & kSpecialHidden) && !Has(poShowHidden)) continue;
      if (w.Text[k] != ' ') break;
      ++trailing;
    }
    const int breakWidth = !lb.BrokeAtSpace ? 0 : w.Rtf ? attrs[lb.End - 1].Width : FWidths[int{' '}];
    const int total = std::max(lb.SpaceSum + lb.Available - lb.X - breakWidth, 0);
    const int shared = lb.Spaces - trailing;
    if (shared >= 1) {
      line.LineWidth = std::max(lb.LastTab, 0);
      line.SpaceWidth = total / shared;
      line.SpaceExtra = total % shared;
    }
  }
  w.Lines.push_back(line);
}

// The paragraph's line records take the new lines, reusing the old records.
void TWPRTFTextPaint::RefillLines(TWrap& w) {
  TParagraph* par = w.Par;
  const int n = w.Count();
  TLine* line = par->FirstLine;
  TLine* prev = nullptr;
  for (const TWrap::TNewLine& nl : w.Lines) {
    if (!line) line = NewLine(prev, nl.Length + 4);
    if (line->Capacity < nl.Length + 4) GrowLine(line, nl.Length + 4);
    if (nl.Length > 0) std::memcpy(line->Text.get(), w.Text.data() + nl.Start, nl.Length);
    line->Text[nl.Length] = 0;
    if (w.Rtf) {
      if (!line->Attrs) line->Attrs = std::make_unique<TAttr[]>(line->Capacity);
      if (nl.Length > 0) std::memcpy(line->Attrs.get(), w.Attrs.data() + nl.Start, sizeof(TAttr) * nl.Length);
      line->Attrs[nl.Length] = nl.Start + nl.Length < n ? w.Attrs[nl.Start + nl.Length] : w.EndAttr;
    }
    line->Length = static_cast<std::uint16_t>(nl.Length);
    line->LineWidth = static_cast<std::uint16_t>(nl.LineWidth);
    line->SpaceWidth = static_cast<std::uint16_t>(nl.SpaceWidth);
    line->SpaceExtra = static_cast<std::uint16_t>(nl.SpaceExtra);
    prev = line;
    line = line->Next;
  }
  while (prev->Next) RemoveLine(par, prev->Next);
}

// Selection states, selection ends and caret back in the new lines.
void TWPRTFTextPaint::RestoreSelection(TWrap& w) {
  TParagraph* par = w.Par;
  const bool touched = w.SelStart >= 0 || w.SelEnd >= 0;
  const bool selectedThrough = w.OldSelected && !touched;
  for (TLine* l = par->FirstLine; l; l = l->Next)
    l->SelState = selectedThrough || touched ? lsPartlySelected : lsNotSelected;
  // An offset at a line's end stays there, except the caret, which moves to
  // the start of the next line.
  auto toPosition = [par](int offset, bool caretRule, TLine*& outLine, int& outIndex) {
    TLine* l = par->FirstLine;
    while (true) {
      const bool beyond = caretRule ? offset >= l->Length : offset > l->Length;
      if (beyond && l->Next) {
        offset -= l->Length;
        l = l->Next;
        continue;
      }
      outLine = l;
      outIndex = std::clamp(offset, 0, static_cast<int>(l->Length));
      return;
    }
  };
  if (touched) {
    TTextPos from = w.From, to = w.To;
    if (w.SelStart >= 0) toPosition(w.SelStart, false, from.Line, from.Index);
    if (w.SelEnd >= 0) toPosition(w.SelEnd, false, to.Line, to.Index);
    SetSelectionPositions(from, to);
  }
  if (w.Caret >= 0) toPosition(w.Caret, true, CursorLine, CursorIndex);
}

// Tops and heights of the new lines, and how much changed against the old
// ones; changed lines are marked for repainting.
int TWPRTFTextPaint::PlaceAndCompare(TWrap& w) {
  TParagraph* par = w.Par;
  const int top = par->FirstLine->Top;
  int total = 0;
  for (TLine* l = par->FirstLine; l; l = l->Next) {
    l->Top = top + total;
    RecomputeLineHeight(par, l);
    total += l->Height;
  }
  int result = total != w.OldTotal ? kParHeightChanged : kNothingChanged;
  std::size_t k = 0;
  for (TLine* l = par->FirstLine; l; l = l->Next, ++k) {
    bool changed = k >= w.Old.size();
    if (!changed) {
      const TWrap::TOldLine& o = w.Old[k];
      if (result != kParHeightChanged && o.Height != l->Height) result = kLineHeightChanged;
      changed = o.Length != l->Length || o.SpaceWidth != l->SpaceWidth || o.Height != l->Height;
      const int newStart = w.Lines[k].Start;
      for (int c = 0; !changed && o.Start != newStart && c < l->Length; ++c)
        changed = w.Text[o.Start + c] != w.Text[newStart + c] ||
                  (w.Rtf && w.Attrs[o.Start + c].Width != w.Attrs[newStart + c].Width);
    }
    if (changed) {
      l->LineFlags |= kLineChanged;
      if (result == kNothingChanged) result = kCharsChanged;
    }
  }
  return result;
}
