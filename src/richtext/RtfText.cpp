#include "richtext/RtfText.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
constexpr int kMinLineCapacity = 8;
// Text put into a line of its own keeps room for a few typed characters.
constexpr int kLineSlack = 4;
// Lines joined by Delete and the first line of a paragraph split by Enter
// keep room for more.
constexpr int kEditSlack = 30;
constexpr int kMaxChunk = kMaxLineCapacity - kLineSlack;

[[noreturn]] void LineTooLong() { throw EModelError("Line longer then\t10000 character!"); }
}  // namespace

// ---------------------------------------------------------------------------
// Construction

TWPRTFText::TWPRTFText() {
  InitInsertPointAttr(InsertPointAttr);
  InitAutomaticTextAttr(AutomaticTextAttr);
  InitHyperlinkTextAttr(HyperlinkTextAttr);
  InitProtectedTextAttr(ProtectedTextAttr);
  for (TCharacterAttr* set : {&InsertPointAttr, &AutomaticTextAttr, &HyperlinkTextAttr, &ProtectedTextAttr})
    set->OnChange = [this](std::int32_t tag, int relayout) { AttrSetChanged(tag, relayout); };
  Header.InchUnits = true;
  Header.RtfMode = true;
  Header.OnTabCleanup = [this] { TabCleanup(); };
  CurrentAttr.Size = 10;
  SwitchMode(0);
  std::fill(std::begin(PlainWidths), std::end(PlainWidths), 16);
  NewLineHeight = 16;
  DefaultLineHeight = 16;
  DefaultAscent = 14;
  Inserting = true;
  FirstParagraph = NewParagraph(nullptr, kFirstLineCapacity);
}

TWPRTFText::~TWPRTFText() {
  FreeParagraphChain(FirstParagraph);
  FirstParagraph = nullptr;
  ClearObjectsInUse();
  SweepObjects();
}

// ---------------------------------------------------------------------------
// Whole document

void TWPRTFText::Clear() {
  if (Busy) return;
  try {
    FreeParagraphChain(FirstParagraph);
    FirstParagraph = nullptr;
    const int slot = CurrentAttr.FontIndex;
    Header.FontNames[0] = slot < TTextHeader::kFontSlots ? Header.FontNames[slot] : std::string();
    CurrentAttr.FontIndex = 0;
    if (CurrentAttr.Size == 0) CurrentAttr.Size = 10;
    if (Header.FontNames[0].empty()) Header.FontNames[0] = "Arial";
  } catch (...) {
    FirstParagraph = nullptr;
    ResetAfterClear();  // the document still gets its fresh paragraph
    throw;
  }
  ResetAfterClear();
}

void TWPRTFText::ResetAfterClear() {
  Header.Init();
  ClearObjectsInUse();
  SweepObjects();
  ClearFootnotes();
  Header.RtfMode = !PlainMode;
  FirstParagraph = NewParagraph(nullptr, kClearedLineCapacity);
  FirstParagraph->ParState |= kParNeedsBoth;
  Changed();
}

void TWPRTFText::SwitchMode(int mode) {
  if (mode == 0) {
    if (Header.RtfMode || FirstParagraph == nullptr || Busy) {
      Header.RtfMode = true;
      PlainMode = false;
      return;
    }
    if (CurrentAttr.Size == 0) CurrentAttr.Size = 10;
    // Allocate everything first so that a failure leaves plain mode intact.
    std::vector<std::unique_ptr<TAttr[]>> arrays;
    try {
      for (TParagraph* p = FirstParagraph; p != nullptr; p = p->Next)
        for (TLine* l = p->FirstLine; l != nullptr; l = l->Next)
          arrays.push_back(std::make_unique<TAttr[]>(l->Capacity));
    } catch (const std::bad_alloc&) {
      return;
    }
    std::size_t next = 0;
    for (TParagraph* p = FirstParagraph; p != nullptr; p = p->Next) {
      for (TLine* l = p->FirstLine; l != nullptr; l = l->Next) {
        l->Attrs = std::move(arrays[next++]);
        for (int i = 0; i <= l->Length && i < l->Capacity; ++i) {
          l->Attrs[i] = CurrentAttr;
          l->Attrs[i].Width = static_cast<std::int16_t>(PlainWidths[l->CharAt(i)]);
        }
        l->Height = static_cast<std::uint16_t>(CurrentAttr.Height);
        l->Ascent = static_cast<std::uint16_t>(CurrentAttr.Ascent);
      }
      p->ParState |= kParNeedsBoth;
    }
    Header.RtfMode = true;
    PlainMode = false;
    Changed();
    return;
  }
  if (!Header.RtfMode || FirstParagraph == nullptr || Busy) {
    Header.RtfMode = false;
    PlainMode = true;
    return;
  }
  for (TParagraph* p = FirstParagraph; p != nullptr; p = p->Next) {
    for (TLine* l = p->FirstLine; l != nullptr; l = l->Next) {
      l->Attrs.reset();
      l->Height = static_cast<std::uint16_t>(DefaultLineHeight);
      l->Ascent = static_cast<std::uint16_t>(DefaultAscent);
    }
    p->ParState |= kParNeedsBoth;
  }
  Header.RtfMode = false;
  PlainMode = true;
  Changed();
}

void TWPRTFText::MeasureChar(TLine* line, int index, const TAttr& attr) {
  if (line == nullptr || !line->Attrs || index < 0 || index >= line->Capacity) return;
  TAttr& a = line->Attrs[index];
  a = attr;
  unsigned char c = line->CharAt(index);
  if (c == '\t') c = ' ';
  a.Width = static_cast<std::int16_t>(PlainWidths[c]);
  a.Height = 16;
  a.Ascent = 14;
}

// ---------------------------------------------------------------------------
// Records

TParagraph* TWPRTFText::AllocateParagraph() { return new TParagraph; }

TParagraph* TWPRTFText::NewParagraph(TParagraph* after, int lineCapacity) {
  TParagraph* par = nullptr;
  try {
    par = AllocateParagraph();
  } catch (const std::bad_alloc&) {
    throw EModelError("Out of Memory in\tNewParagraph");
  }
  if (after != nullptr) {
    par->FirstIndent = after->FirstIndent;
    par->LeftIndent = after->LeftIndent;
    par->RightIndent = after->RightIndent;
    par->SpaceBefore = after->SpaceBefore;
    par->LineSpacing = after->LineSpacing;
    par->SpaceAfter = after->SpaceAfter;
    par->Alignment = after->Alignment;
    par->ShadingColors = after->ShadingColors;
    par->Shading = after->Shading;
    par->ParFlags = after->ParFlags;
    par->Numbering = after->Numbering;
    par->NumberingReserved = after->NumberingReserved;
    if (!after->IsTableCell()) par->TabSet = after->TabSet;
    if ((after->BorderFlags & kBorderNotInherited) == 0) par->SetBorder(after->Border());
    par->Next = after->Next;
    par->Prev = after;
    if (after->Next != nullptr) after->Next->Prev = par;
    after->Next = par;
  }
  try {
    par->FirstLine = NewLine(nullptr, lineCapacity);
  } catch (...) {
    FreeParagraph(par);
    throw;
  }
  return par;
}

TLine* TWPRTFText::NewLine(TLine* after, int capacity) {
  capacity = std::max(capacity, kMinLineCapacity);
  if (capacity > kMaxLineCapacity) LineTooLong();
  auto line = std::make_unique<TLine>();
  line->Text = std::make_unique<char[]>(static_cast<std::size_t>(capacity));
  if (!PlainMode) {
    line->Attrs = std::make_unique<TAttr[]>(static_cast<std::size_t>(capacity));
    line->Attrs[0] = CurrentAttr;
  }
  line->Capacity = static_cast<std::uint16_t>(capacity);
  line->Height = static_cast<std::uint16_t>(NewLineHeight);
  TLine* result = line.release();
  if (after != nullptr) {
    result->Prev = after;
    result->Next = after->Next;
    if (after->Next != nullptr) after->Next->Prev = result;
    after->Next = result;
  }
  return result;
}

TLine* TWPRTFText::AppendLine(TParagraph* par, int capacity) {
  if (par->FirstLine == nullptr) return par->FirstLine = NewLine(nullptr, capacity);
  return NewLine(LastLine(par), capacity);
}

void TWPRTFText::GrowLine(TLine* line, int capacity) {
  if (capacity > kMaxLineCapacity) LineTooLong();
  capacity = std::max(capacity + (capacity & 1), 2);
  const std::size_t keep = static_cast<std::size_t>(std::min<int>(capacity, line->Capacity));
  auto text = std::make_unique<char[]>(static_cast<std::size_t>(capacity));
  std::memcpy(text.get(), line->Text.get(), keep);
  std::unique_ptr<TAttr[]> attrs;
  if (line->Attrs) {
    attrs = std::make_unique<TAttr[]>(static_cast<std::size_t>(capacity));
    std::memcpy(attrs.get(), line->Attrs.get(), keep * sizeof(TAttr));
  }
  line->Text = std::move(text);
  line->Attrs = std::move(attrs);
  line->Capacity = static_cast<std::uint16_t>(capacity);
  // Keep Length < Capacity so that the terminating 0 fits.
  if (line->Length >= capacity) line->Length = static_cast<std::uint16_t>(capacity - 1);
  line->Text[line->Length] = 0;
}

void TWPRTFText::FreeParagraph(TParagraph*& par) {
  if (par == nullptr) return;
  TParagraph* next = par->Next;
  if (par->Prev != nullptr) par->Prev->Next = next;
  if (next != nullptr) next->Prev = par->Prev;
  if (FirstParagraph == par) FirstParagraph = next;
  delete par;
  par = next;
}

void TWPRTFText::RemoveLine(TParagraph* par, TLine* line) {
  if (par == nullptr || line == nullptr) return;
  if (par->FirstLine == line && line->Next == nullptr) {
    line->Length = 0;
    line->Text[0] = 0;
    return;
  }
  if (line->Prev != nullptr) line->Prev->Next = line->Next;
  if (line->Next != nullptr) line->Next->Prev = line->Prev;
  if (par->FirstLine == line) par->FirstLine = line->Next;
  delete line;
}

TAttr* TWPRTFText::AttribPtr(TLine* line, int index) const {
  if (line == nullptr || !line->Attrs || index < 0 || index >= line->Capacity)
    throw EModelError("Error AttribPtr()");
  return &line->Attrs[index];
}

TLine* TWPRTFText::LastLine(TParagraph* par) const {
  TLine* line = par != nullptr ? par->FirstLine : nullptr;
  if (line == nullptr) throw EModelError("l=nil in Get_LastLine");
  while (line->Next != nullptr) line = line->Next;
  return line;
}

void TWPRTFText::FillRecords(TLine* line, int from, int count, const TAttr& attr) {
  if (!line->Attrs) return;
  for (int i = 0; i < count; ++i) line->Attrs[from + i] = attr;
}

TLine* TWPRTFText::SplitLine(TLine* line, int index) {
  index = std::clamp(index, 0, static_cast<int>(line->Length));
  TLine* tail = NewLine(line, std::min(line->Length - index + kLineSlack, kMaxLineCapacity));
  MoveTail(line, index, tail);
  return tail;
}

void TWPRTFText::MoveTail(TLine* line, int index, TLine* into) {
  const int tailLength = line->Length - index;
  std::memcpy(into->Text.get(), line->Text.get() + index, static_cast<std::size_t>(tailLength));
  into->Text[tailLength] = 0;
  if (line->Attrs && into->Attrs)
    std::memcpy(into->Attrs.get(), line->Attrs.get() + index,
                static_cast<std::size_t>(tailLength + 1) * sizeof(TAttr));
  into->Length = static_cast<std::uint16_t>(tailLength);
  line->Length = static_cast<std::uint16_t>(index);
  line->Text[index] = 0;
}

// ---------------------------------------------------------------------------
// Edits

int TWPRTFText::ReplaceChars(TParagraph* par, TLine* line, const TAttr* attr, int n, const char* chars, int r,
                             int index) {
  if (n <= 0 && r <= 0) return 0;
  index = std::clamp(index, 0, static_cast<int>(line->Length));
  r = std::clamp(r, 0, line->Length - index);
  n = std::max(n, 0);
  const TAttr record = attr != nullptr ? *attr : (line->Attrs ? line->Attrs[index] : CurrentAttr);
  int result = n - r;
  const int tail = line->Length - index - r;  // characters after the replaced range
  if (n > r) {
    const int length = line->Length + (n - r);
    // Near the limit the line grows only as far as it may; a result that
    // cannot fit at all raises the line-length error.
    if (length >= kMaxLineCapacity) LineTooLong();
    if (length + 6 > line->Capacity) GrowLine(line, std::min(length + 6, kMaxLineCapacity));
  }
  if (n == 0 && tail == 0) {
    line->Length = static_cast<std::uint16_t>(index);
    result = 0;
  } else if (n != r) {
    std::memmove(line->Text.get() + index + n, line->Text.get() + index + r, static_cast<std::size_t>(tail));
    if (line->Attrs)
      std::memmove(line->Attrs.get() + index + n, line->Attrs.get() + index + r,
                   static_cast<std::size_t>(tail + 1) * sizeof(TAttr));
    line->Length = static_cast<std::uint16_t>(line->Length + n - r);
  }
  if (n > 0) std::memcpy(line->Text.get() + index, chars, static_cast<std::size_t>(n));
  FillRecords(line, index, n, record);
  line->Text[line->Length] = 0;
  if (par != nullptr) par->ParState |= kParNeedsBoth;
  return result;
}

bool TWPRTFText::InsertChar(TParagraph* par, TLine* line, char c, int index) {
  if (IsProtected(par, line, index)) return false;
  if (par != nullptr && par->IsTableCell() && par->CellFill >= kCellFillLimit) {
    Beep();
    return false;
  }
  if (line->Length + 2 > kMaxLineCapacity) LineTooLong();  // no room for one more and the 0
  if (line->Capacity < line->Length + 4) GrowLine(line, std::min(line->Length + 10, kMaxLineCapacity));
  index = std::max(index, 0);
  if (index < line->Length) {
    if (Inserting) {
      const int tail = line->Length - index;
      std::memmove(line->Text.get() + index + 1, line->Text.get() + index,
                   static_cast<std::size_t>(tail + 1));
      if (line->Attrs)
        std::memmove(line->Attrs.get() + index + 1, line->Attrs.get() + index,
                     static_cast<std::size_t>(tail + 1) * sizeof(TAttr));
      ++line->Length;
    }
    line->Text[index] = c;
    if (line->Attrs) line->Attrs[index] = CurrentAttr;
  } else {
    const int at = line->Length;
    line->Text[at] = c;
    line->Text[at + 1] = 0;
    MeasureChar(line, at, CurrentAttr);
    ++line->Length;
  }
  line->LineFlags |= kLineChanged;
  return true;
}

void TWPRTFText::InsertText(TParagraph* par, int offset, const TAttr* attr, const char* text) {
  if (par == nullptr || text == nullptr) return;
  const int n = static_cast<int>(std::strlen(text));
  if (n <= 0) return;
  const TAttr record = attr != nullptr ? *attr : CarryAttr;
  TLine* after = nullptr;  // nullptr: in front of the first line
  if (offset > 0) {
    TLine* line = par->FirstLine;
    while (line->Next != nullptr && offset > line->Length) {
      offset -= line->Length;
      line = line->Next;
    }
    if (offset < line->Length) SplitLine(line, offset);
    after = line;
  }
  // Text longer than a line can hold goes into several lines.
  for (int done = 0; done < n;) {
    const int chunk = std::min(n - done, kMaxChunk);
    TLine* line = NewLine(after, chunk + kLineSlack);
    if (after == nullptr) {
      line->Next = par->FirstLine;
      par->FirstLine->Prev = line;
      par->FirstLine = line;
    }
    std::memcpy(line->Text.get(), text + done, static_cast<std::size_t>(chunk));
    line->Text[chunk] = 0;
    line->Length = static_cast<std::uint16_t>(chunk);
    FillRecords(line, 0, chunk + 1, record);
    after = line;
    done += chunk;
  }
  par->ParState |= kParNeedsBoth;
}

void TWPRTFText::DeleteChars(TParagraph* par, int offset, int count) {
  if (par == nullptr || count <= 0) return;
  offset = std::max(offset, 0);
  TLine* line = par->FirstLine;
  while (line != nullptr && offset > line->Length) {
    offset -= line->Length;
    line = line->Next;
  }
  // At the end of a line (an empty line included) the deletion starts at the next one.
  if (line != nullptr && offset == line->Length && (offset > 0 || line->Next != nullptr)) {
    line = line->Next;
    offset = 0;
    if (line != nullptr && line->Length > 0 && line->Attrs) CarryAttr = line->Attrs[0];
  } else if (line != nullptr && offset > 0) {
    line = SplitLine(line, offset);
    if (line->Attrs) CarryAttr = line->Attrs[0];
  } else if (line != nullptr && line->Length > 0 && line->Attrs) {
    CarryAttr = line->Attrs[0];
  }
  int remaining = count;
  for (; line != nullptr && remaining > 0; line = line->Next) {
    if (remaining >= line->Length) {
      remaining -= line->Length;
      line->Length = 0;
      line->Text[0] = 0;
      continue;
    }
    ReplaceChars(nullptr, line, nullptr, 0, nullptr, remaining, 0);
    remaining = 0;
  }
  par->ParState |= kParNeedsBoth;
}

bool TWPRTFText::DeleteCharAt(TParagraph* par, TLine* line, int index) {
  if (par == nullptr || line == nullptr) return true;
  // Insert points cannot be deleted: protection is judged as if overwriting,
  // also for the first character of the next line that a join would remove.
  struct TOverwriteScope {
    bool& Flag;
    bool Saved;
    explicit TOverwriteScope(bool& flag) : Flag(flag), Saved(flag) { Flag = false; }
    ~TOverwriteScope() { Flag = Saved; }
  };
  bool refused = false;
  bool nextStartsProtected = false;
  {
    TOverwriteScope overwrite(Inserting);
    refused = IsProtected(par, line, index);
    nextStartsProtected = line->Next != nullptr && CharIsProtected(line->Next, 0);
  }
  if (refused) return true;
  index = std::max(index, 0);
  if (index < line->Length) {
    ReplaceChars(nullptr, line, nullptr, 0, nullptr, 1, index);
  } else if (line->Next != nullptr) {
    TLine* next = line->Next;
    const int combined = line->Length + next->Length;
    if (combined + 6 > line->Capacity) GrowLine(line, std::min(combined + kEditSlack, kMaxLineCapacity));
    const int skip = next->Length > 0 && !nextStartsProtected ? 1 : 0;
    const int moved = next->Length - skip;
    if (line->Length + moved >= line->Capacity) return true;
    std::memcpy(line->Text.get() + line->Length, next->Text.get() + skip, static_cast<std::size_t>(moved));
    if (line->Attrs && next->Attrs)
      std::memcpy(line->Attrs.get() + line->Length, next->Attrs.get() + skip,
                  static_cast<std::size_t>(moved + 1) * sizeof(TAttr));
    line->Length = static_cast<std::uint16_t>(line->Length + moved);
    line->Text[line->Length] = 0;
    RemoveLine(par, next);
  } else {
    TParagraph* next = par->Next;
    if (next == nullptr || par->IsTableCell()) return true;
    const bool wasEmpty = index == 0 && line == par->FirstLine;
    if (next->IsTableCell() || wasEmpty) {
      par->ParState = next->ParState;
      par->Alignment = next->Alignment;
      par->ParFlags = next->ParFlags;
      par->Shading = next->Shading;
      par->ShadingColors = next->ShadingColors;
      par->SetBorder(next->Border());
      par->TabSet = next->TabSet;
      par->SpaceBefore = next->SpaceBefore;
      par->LineSpacing = next->LineSpacing;
      par->SpaceAfter = next->SpaceAfter;
      if (wasEmpty) {
        par->FirstIndent = next->FirstIndent;
        par->LeftIndent = next->LeftIndent;
        par->RightIndent = next->RightIndent;
      }
    }
    line->Next = next->FirstLine;
    next->FirstLine->Prev = line;
    next->FirstLine = nullptr;
    FreeParagraph(next);
  }
  par->ParState |= kParNeedsWrap;
  return true;
}

bool TWPRTFText::SplitParagraph(TParagraph* par, TLine* line, int index) {
  if (par == nullptr || line == nullptr) return false;
  if (IsProtected(par, line, index)) return false;
  index = std::clamp(index, 0, static_cast<int>(line->Length));
  if (line->Attrs) {
    if (index > 0) line->Attrs[index - 1].Marker &= static_cast<std::uint8_t>(~kMarkerSplit);
    line->Attrs[index].Marker &= static_cast<std::uint8_t>(~kMarkerSplit);
  }
  TParagraph* added = NewParagraph(par, std::min(line->Length - index + kEditSlack, kMaxLineCapacity));
  par->ParState |= kParNeedsWrap;
  added->ParState |= kParNeedsWrap;
  TLine* first = added->FirstLine;
  MoveTail(line, index, first);
  first->Next = line->Next;
  if (first->Next != nullptr) first->Next->Prev = first;
  line->Next = nullptr;
  return true;
}

int TWPRTFText::InsertChain(TParagraph*& par, TLine*& line, int& index, TParagraph* chain) {
  if (chain == nullptr) return 0;
  if (FirstParagraph == nullptr) {
    FirstParagraph = chain;
    par = chain;
    line = chain->FirstLine;
    index = 0;
    return 1;
  }
  if (par == nullptr || line == nullptr || par->IsTableCell()) {
    FreeParagraphChain(chain);
    return 0;
  }
  index = std::clamp(index, 0, static_cast<int>(line->Length));
  TLine* tail = SplitLine(line, index);  // tail carries the rest of the paragraph's lines
  TParagraph* first = chain;
  TParagraph* last = chain;
  while (last->Next != nullptr) last = last->Next;

  // The chain's first paragraph joins par. At the very start par takes all
  // of its attributes; par's tabs, indents, numbering, shading and spacing
  // are kept aside for the chain's last paragraph.
  const bool exchange = index == 0 && line == par->FirstLine;
  TParagraph saved;
  if (exchange) {
    saved.CopyAttributes(*par);
    par->CopyAttributes(*first);
  }
  line->Next = first->FirstLine;  // a chain paragraph without lines adds none
  if (first->FirstLine != nullptr) first->FirstLine->Prev = line;
  first->FirstLine = nullptr;

  // The tail follows the last line of the chain's last paragraph.
  TParagraph* tailOwner = last == first ? par : last;
  TLine* before = tailOwner == par ? line : tailOwner->FirstLine;
  if (before == nullptr) {
    tailOwner->FirstLine = tail;
    tail->Prev = nullptr;
  } else {
    while (before->Next != nullptr) before = before->Next;
    before->Next = tail;
    tail->Prev = before;
  }

  par->ParState |= kParNeedsBoth;
  if (last != first) {
    TParagraph* second = first->Next;
    second->Prev = par;
    last->Next = par->Next;
    if (par->Next != nullptr) par->Next->Prev = last;
    par->Next = second;
    for (TParagraph* p = second; p != last->Next; p = p->Next) p->ParState |= kParNeedsBoth;
    if (exchange) {
      last->TabSet = saved.TabSet;
      last->FirstIndent = saved.FirstIndent;
      last->LeftIndent = saved.LeftIndent;
      last->RightIndent = saved.RightIndent;
      last->Numbering = saved.Numbering;
      last->NumberingReserved = saved.NumberingReserved;
      last->Shading = saved.Shading;
      last->ShadingColors = saved.ShadingColors;
      last->SpaceBefore = saved.SpaceBefore;
      last->SpaceAfter = saved.SpaceAfter;
      last->LineSpacing = saved.LineSpacing;
    }
  }
  first->Next = nullptr;
  delete first;
  par = tailOwner;
  line = tail;
  index = 0;
  return 1;
}

// ---------------------------------------------------------------------------
// Protection

bool TWPRTFText::CharIsProtected(const TLine* line, int index) const {
  if (!line->Attrs || index < 0 || index >= line->Length) return false;
  const TAttr& a = line->Attrs[index];
  return (ProtectedProp.Has(ppProtected) && (a.Special & kSpecialProtected)) ||
         (ProtectedProp.Has(ppIsInsertpoint) && (a.Special & kSpecialInsertPoint) && !Inserting) ||
         (ProtectedProp.Has(ppAutomatic) && (a.Special & kSpecialAutomatic)) ||
         (ProtectedProp.Has(ppHidden) && (a.Special & kSpecialHidden)) ||
         (ProtectedProp.Has(ppIsInvisible) && a.Width == 0);
}

bool TWPRTFText::IsProtected(TParagraph* par, TLine* line, int index) {
  if (ProtectionOff || par == nullptr || line == nullptr) return false;
  if ((par->ParFlags & kParProtected) && ProtectedProp.Has(ppParProtected) && !ParProtectionSuspended) {
    if (!SilentProtection && OnProtectedChange && par->FirstLine != nullptr)
      OnProtectedChange(*this, par->FirstLine->String(), 0);
    return true;
  }
  if (PlainMode || !CharIsProtected(line, index)) return false;
  if (!SilentProtection) ReportProtectedRun(line, index);
  return true;
}

void TWPRTFText::ReportProtectedRun(TLine* line, int index) {
  if (!OnProtectedChange) return;
  constexpr std::uint32_t kIgnoreStyle = ~std::uint32_t{0xFF};
  constexpr int kMaxForward = 254;
  const TAttr* attrs = line->Attrs.get();
  const std::uint32_t word = attrs[index].AttrWord() & kIgnoreStyle;
  int start = index;
  while (start > 0 && (attrs[start - 1].AttrWord() & kIgnoreStyle) == word) --start;
  int end = index + 1;
  while (end < line->Length && end - index < kMaxForward && (attrs[end].AttrWord() & kIgnoreStyle) == word)
    ++end;
  // Automatic text that directly follows its insert point belongs to it.
  if (attrs[start].Special & kSpecialInsertPoint)
    while (end < line->Length && end - index < kMaxForward && (attrs[end].Special & kSpecialAutomatic) &&
           !(attrs[end].Special & kSpecialInsertPoint))
      ++end;
  const int tag = (attrs[start].Special & (kSpecialInsertPoint | kSpecialAutomatic)) ? attrs[start].Tag : 0;
  OnProtectedChange(*this, std::string(line->Text.get() + start, static_cast<std::size_t>(end - start)), tag);
}

void TWPRTFText::Beep() {
  if (OnBeep)
    OnBeep();
  else if (WPEngine().Beep)
    WPEngine().Beep();
}

// ---------------------------------------------------------------------------
// String-list view

bool TWPRTFText::IsEmpty() const {
  return FirstParagraph == nullptr ||
         (FirstParagraph->Next == nullptr && FirstParagraph->FirstLine->Next == nullptr &&
          FirstParagraph->FirstLine->Length == 0);
}

int TWPRTFText::ParagraphCount() const {
  if (IsEmpty()) return 0;
  int count = 0;
  for (const TParagraph* p = FirstParagraph; p != nullptr; p = p->Next) ++count;
  return count;
}

TParagraph* TWPRTFText::ParagraphAt(int index) const {
  if (index < 0) return nullptr;
  TParagraph* p = FirstParagraph;
  while (p != nullptr && index-- > 0) p = p->Next;
  return p;
}

int TWPRTFText::ParagraphText(int index, char* buffer, int bufferSize) const {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  const std::string text = ParagraphText(index);
  const int count = std::min(static_cast<int>(text.size()), bufferSize - 1);
  std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
  buffer[count] = 0;
  return count;
}

std::string TWPRTFText::ParagraphText(int index) const {
  const TParagraph* p = ParagraphAt(index);
  return p != nullptr ? p->Text() : std::string();
}

int TWPRTFText::ParagraphLength(int index) const {
  const TParagraph* p = ParagraphAt(index);
  return p != nullptr ? p->TextLength() : 0;
}

void TWPRTFText::FillParagraph(TParagraph* par, const char* text, const TAttr* attr, int length) {
  // Drop every line but a fresh first one, then add the text in line-sized pieces.
  TLine* old = par->FirstLine;
  par->FirstLine = nullptr;
  while (old != nullptr) {
    TLine* next = old->Next;
    delete old;
    old = next;
  }
  length = text == nullptr ? 0 : std::max(length, 0);
  const TAttr record = attr != nullptr ? *attr : CurrentAttr;
  TLine* after = nullptr;
  int done = 0;
  do {
    const int chunk = std::min(length - done, kMaxChunk);
    TLine* line = NewLine(after, chunk + kLineSlack);
    if (after == nullptr) par->FirstLine = line;
    if (chunk > 0) std::memcpy(line->Text.get(), text + done, static_cast<std::size_t>(chunk));
    line->Text[chunk] = 0;
    line->Length = static_cast<std::uint16_t>(chunk);
    FillRecords(line, 0, chunk + 1, record);
    after = line;
    done += chunk;
  } while (done < length);
  par->ParState |= kParNeedsBoth;
}

void TWPRTFText::SetParagraphText(int index, const char* text, const TAttr* attr, int length) {
  TParagraph* p = ParagraphAt(index);
  if (p == nullptr) return;
  FillParagraph(p, text, attr, length);
  Changed();
}

void TWPRTFText::InsertParagraphText(int index, const char* text, const TAttr* attr, int length) {
  if (IsEmpty()) {
    SetParagraphText(0, text, attr, length);
    return;
  }
  TParagraph* p;
  if (index <= 0) {
    p = NewParagraph(nullptr, kFirstLineCapacity);
    p->Next = FirstParagraph;
    FirstParagraph->Prev = p;
    FirstParagraph = p;
  } else {
    TParagraph* prev = ParagraphAt(index - 1);
    if (prev == nullptr)
      for (prev = FirstParagraph; prev->Next != nullptr;) prev = prev->Next;
    p = NewParagraph(prev, kFirstLineCapacity);
  }
  FillParagraph(p, text, attr, length);
  Changed();
}

void TWPRTFText::DeleteParagraph(int index) {
  TParagraph* p = ParagraphAt(index);
  if (p == nullptr) return;
  if (p == FirstParagraph && p->Next == nullptr)
    FillParagraph(p, nullptr, nullptr, 0);  // a document keeps one paragraph
  else
    FreeParagraph(p);
  Changed();
}

int TWPRTFText::CountParagraphsUpTo(const TParagraph* par) const {
  int count = 0;
  for (const TParagraph* p = FirstParagraph; p != nullptr; p = p->Next) {
    ++count;
    if (p == par) return count;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Marked text: a changed display attribute set asks for relayout

void TWPRTFText::AttrSetChanged(std::int32_t tag, int /*relayout*/) { RefreshMarkedText(tag); }

bool TWPRTFText::RefreshMarkedText(int kindMask) {
  if (PlainMode || Busy || FRefreshing) return false;
  FRefreshing = true;
  Busy = true;
  auto marked = [kindMask](const TAttr& a) {
    return ((kindMask & mkInsertPoints) && (a.Special & kSpecialInsertPoint)) ||
           ((kindMask & mkAutomaticText) && (a.Special & kSpecialAutomatic)) ||
           ((kindMask & mkHyperlinks) && (a.Style & kStyleHyperlink)) ||
           ((kindMask & mkHiddenText) && (a.Special & kSpecialHidden)) ||
           ((kindMask & mkObjects) && (a.Special & kSpecialObject));
  };
  bool any = false;
  for (TParagraph* p = FirstParagraph; p != nullptr; p = p->Next) {
    bool hit = false;
    for (TLine* l = p->FirstLine; l != nullptr && !hit; l = l->Next)
      if (l->Attrs)
        for (int i = 0; i < l->Length && !hit; ++i) hit = marked(l->Attrs[i]);
    if (hit) {
      p->ParState |= kParNeedsBoth;
      any = true;
    }
  }
  Busy = false;
  FRefreshing = false;
  return any;
}
