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

// A paragraph's characters in one array while it is wrapped.
struct TWPRTFTextPaint::TFlatPar {
  std::vector<char> Text;
  std::vector<TAttr> Attrs;
  TAttr EndAttr{};  // the record after the last character
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

void TWPRTFTextPaint::SpellCheck(TFlatPar& flat) {
  const int n = static_cast<int>(flat.Text.size());
  int i = 0;
  while (i < n) {
    if (static_cast<unsigned char>(flat.Text[i]) < 65) {
      ++i;
      continue;
    }
    int j = i;
    while (j < n && j - i < kMaxWordLength && static_cast<unsigned char>(flat.Text[j]) >= 65) ++j;
    const bool wrong = OnSpellCheckWord(std::string(flat.Text.data() + i, j - i));
    for (int k = i; k < j; ++k) {
      if (wrong)
        flat.Attrs[k].Marker |= kMarkerMisspelled;
      else
        flat.Attrs[k].Marker &= static_cast<std::uint8_t>(~kMarkerMisspelled);
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
  const bool rtf = par->FirstLine->Attrs != nullptr;

  // The old lines as one array, with their summary for the compare.
  TFlatPar flat;
  struct TOld {
    int Start, Length, Height, SpaceWidth;
  };
  std::vector<TOld> old;
  int oldTotal = 0;
  bool oldSelected = false;
  for (TLine* line = par->FirstLine; line; line = line->Next) {
    old.push_back({static_cast<int>(flat.Text.size()), line->Length, line->Height, line->SpaceWidth});
    oldTotal += line->Height;
    oldSelected |= line->SelState == lsSelectedThroughEnd || line->SelState == lsPartlySelected;
    flat.Text.insert(flat.Text.end(), line->Text.get(), line->Text.get() + line->Length);
    if (rtf) {
      flat.Attrs.insert(flat.Attrs.end(), line->Attrs.get(), line->Attrs.get() + line->Length);
      flat.EndAttr = line->Attrs[line->Length];
    }
  }
  if (rtf && OnSpellCheckWord) SpellCheck(flat);
  const int n = static_cast<int>(flat.Text.size());
  const TAttr* attrs = rtf ? flat.Attrs.data() : nullptr;
  const char* text = flat.Text.data();

  // Selection and caret as offsets from the paragraph's start.
  auto toOffset = [par](TLine* target, int index) {
    int offset = 0;
    for (TLine* line = par->FirstLine; line; line = line->Next) {
      if (line == target) return offset + index;
      offset += line->Length;
    }
    return -1;
  };
  TTextPos from = SelectionFrom(), to = SelectionTo();
  const bool hasSel = HasSelection();
  const int selStart = hasSel && from.Par == par ? toOffset(from.Line, from.Index) : -1;
  const int selEnd = hasSel && to.Par == par ? toOffset(to.Line, to.Index) : -1;
  const int caret = CursorParagraph == par ? toOffset(CursorLine, CursorIndex) : -1;

  struct TNew {
    int Start, Length, LineWidth, SpaceWidth, SpaceExtra;
  };
  std::vector<TNew> lines;
  const bool rightOrCentre = par->RightOrCentred();
  const int spaceWidth = rtf ? -1 : FWidths[' '];
  int pos = 0;
  do {
    const bool first = lines.empty();
    const int left = LeftEdgeOf(par, first);
    int available = Header.TextWidthPixels - RightIndent(par) - left;
    if (available <= 0) available = 16;
    int x = 0, spaces = 0, spaceSum = 0, lastSpace = -1, lastSpaceX = 0, lastTab = -1, lastTabX = 0;
    const int start = pos;
    int i = pos;
    bool endedHard = false;  // paragraph end, line feed, code 0, character limit
    while (true) {
      if (i >= n) {
        endedHard = true;
        break;
      }
      // A line that holds as many characters as it may is full: it still
      // breaks after its last space or tab like a line that is too wide.
      if ((MaxLineChars > 0 && i - start >= MaxLineChars) || i - start >= kMaxWrappedLine) break;
      const unsigned char code = static_cast<unsigned char>(text[i]);
      if (code == 0) {
        ++i;
        endedHard = true;
        break;
      }
      const bool hidden = rtf && (attrs[i].Special & kSpecialHidden) && !Has(poShowHidden);
      if (hidden) {
        ++i;
        continue;
      }
      int w = rtf ? attrs[i].Width : FWidths[code];
      const bool tab = code == '\t';
      if (tab && !rightOrCentre) w = NextTab(par, text, attrs, n, left + x, i) - left - x;
      if (tab && rightOrCentre && !rtf) w = spaceWidth;
      if (x + w >= available && code != ' ' && !tab) break;
      if (code == ' ' || (tab && rightOrCentre)) {
        ++spaces;
        lastSpaceX = x;
        lastSpace = i - start;
        spaceSum += w;
        x += w;
      } else if (tab) {
        x += w;
        lastTab = i - start;
        lastTabX = x;
        spaces = spaceSum = 0;
        lastSpace = -1;
      } else if (code == 10) {
        x += w;
        ++i;
        spaces = spaceSum = 0;
        lastSpace = -1;
        endedHard = true;
        break;
      } else {
        x += w;
      }
      ++i;
      if (x >= available) break;
    }
    int end = i;
    bool brokeAtSpace = false;
    if (!endedHard) {
      if (lastSpace >= 2) {
        end = start + lastSpace + 1;
        x = lastSpaceX;
        brokeAtSpace = true;
      } else if (lastTab > 1) {
        end = start + lastTab + 1;
        x = lastTabX;
        spaces = 0;
      }
    }
    if (end <= start) {
      end = start + 1;  // a line always takes at least one character
      if (n > 0) x = rtf ? attrs[start].Width : FWidths[static_cast<unsigned char>(text[start])];
    }
    if (n == 0) end = 0;
    TNew line{start, end - start, x, 0, 0};
    const bool last = end >= n;
    if (par->Alignment == paJustify && (!last || (par->ParFlags & kParJustifyLastLine)) && spaces >= 2) {
      // The spaces between the words share the room between the end of the
      // last word and the available width, so that the ink ends there at
      // any resolution; the spaces after the last word (the one the line
      // breaks at among them) take none of it.
      int trailing = 0;
      for (int k = end - 1; k >= start; --k) {
        if (rtf && (attrs[k].Special & kSpecialHidden) && !Has(poShowHidden)) continue;
        if (text[k] != ' ') break;
        ++trailing;
      }
      const int breakWidth = !brokeAtSpace ? 0 : rtf ? attrs[end - 1].Width : FWidths[' '];
      const int total = std::max(spaceSum + available - x - breakWidth, 0);
      const int shared = spaces - trailing;
      if (shared >= 1) {
        line.LineWidth = std::max(lastTab, 0);
        line.SpaceWidth = total / shared;
        line.SpaceExtra = total % shared;
      }
    }
    lines.push_back(line);
    pos = end;
  } while (pos < n);

  // Fill the paragraph's line records, reusing the old ones.
  TLine* line = par->FirstLine;
  TLine* prev = nullptr;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const TNew& nl = lines[k];
    if (!line) line = NewLine(prev, nl.Length + 4);
    if (line->Capacity < nl.Length + 4) GrowLine(line, nl.Length + 4);
    if (nl.Length > 0) std::memcpy(line->Text.get(), text + nl.Start, nl.Length);
    line->Text[nl.Length] = 0;
    if (rtf) {
      if (!line->Attrs) line->Attrs = std::make_unique<TAttr[]>(line->Capacity);
      if (nl.Length > 0) std::memcpy(line->Attrs.get(), attrs + nl.Start, sizeof(TAttr) * nl.Length);
      line->Attrs[nl.Length] = nl.Start + nl.Length < n ? attrs[nl.Start + nl.Length] : flat.EndAttr;
    }
    line->Length = static_cast<std::uint16_t>(nl.Length);
    line->LineWidth = static_cast<std::uint16_t>(nl.LineWidth);
    line->SpaceWidth = static_cast<std::uint16_t>(nl.SpaceWidth);
    line->SpaceExtra = static_cast<std::uint16_t>(nl.SpaceExtra);
    prev = line;
    line = line->Next;
  }
  while (prev->Next) RemoveLine(par, prev->Next);

  // Selection states and positions back in the new lines.
  const bool selectedThrough = oldSelected && selStart < 0 && selEnd < 0;
  const bool touched = selStart >= 0 || selEnd >= 0;
  for (TLine* l = par->FirstLine; l; l = l->Next)
    l->SelState = selectedThrough || touched ? lsPartlySelected : lsNotSelected;
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
  if (selStart >= 0 || selEnd >= 0) {
    TTextPos f = from, t = to;
    if (selStart >= 0) toPosition(selStart, false, f.Line, f.Index);
    if (selEnd >= 0) toPosition(selEnd, false, t.Line, t.Index);
    SetSelectionPositions(f, t);
  }
  if (caret >= 0) toPosition(caret, true, CursorLine, CursorIndex);

  // Heights, tops and the compare with the old lines.
  int top = par->FirstLine->Top;
  int total = 0;
  for (TLine* l = par->FirstLine; l; l = l->Next) {
    l->Top = top + total;
    RecomputeLineHeight(par, l);
    total += l->Height;
  }
  int result = kNothingChanged;
  if (total != oldTotal) result = kParHeightChanged;
  std::size_t k = 0;
  for (TLine* l = par->FirstLine; l; l = l->Next, ++k) {
    bool changed = k >= old.size();
    if (!changed) {
      const TOld& o = old[k];
      if (result != kParHeightChanged && o.Height != l->Height) result = kLineHeightChanged;
      changed = o.Length != l->Length || o.SpaceWidth != l->SpaceWidth || o.Height != l->Height;
      const int newStart = lines[k].Start;
      for (int c = 0; !changed && o.Start != newStart && c < l->Length; ++c)
        changed = text[o.Start + c] != text[newStart + c] ||
                  (rtf && attrs[o.Start + c].Width != attrs[newStart + c].Width);
    }
    if (changed) {
      l->LineFlags |= kLineChanged;
      if (result == kNothingChanged) result = kCharsChanged;
    }
  }
  if (par->IsTableCell()) TWPRTFText::Changed();
  return compare ? result : kNothingChanged;
}
