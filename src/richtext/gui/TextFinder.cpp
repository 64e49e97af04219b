#include "richtext/gui/TextFinder.h"

#include <algorithm>

#include "richtext/RtfText.h"
#include "richtext/TextCase.h"

bool IsFinderWordChar(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 138 || c == 140 || c == 154 || c == 156 ||
         c == 159 || c >= 192;
}

TWPTextFinder::TWPTextFinder(TWPRTFText* document) : FDocument(document) {}

void TWPTextFinder::SetDocument(TWPRTFText* document) {
  FDocument = document;
  SetStart(0);
}

void TWPTextFinder::SetStart(int position) {
  FFound = false;
  FFoundPosition = 0;
  FFoundLength = 0;
  FFoundAttr = TAttr{};
  FStart = std::max(position, 0);
}

TWPTextFinder::TPlace TWPTextFinder::Resolve(int position) const {
  TPlace place;
  if (!FDocument) return place;
  int parStart = 0;
  for (TParagraph* par = FDocument->FirstParagraph; par; par = par->Next) {
    const int length = par->TextLength();
    if (position <= parStart + length || !par->Next) {
      place.Par = par;
      place.Offset = std::clamp(position - parStart, 0, length);
      place.ParStart = parStart;
      return place;
    }
    parStart += length + 1;
  }
  return place;
}

void TWPTextFinder::Load(TParagraph* par, TParText& into) const {
  into.Par = par;
  into.Text.clear();
  into.Attrs.clear();
  const bool attrs = FDocument && !FDocument->IsPlainMode();
  for (const TLine* line = par->FirstLine; line; line = line->Next) {
    into.Text.append(line->Text.get(), line->Length);
    if (attrs && line->Attrs)
      into.Attrs.insert(into.Attrs.end(), line->Attrs.get(), line->Attrs.get() + line->Length);
  }
  // Lines with and without records do not mix; without all records there are none.
  if (into.Attrs.size() != into.Text.size()) into.Attrs.clear();
}

void TWPTextFinder::SetPattern(const std::string& text) {
  FSearchText = text.substr(0, kMaxSearchText);
  const std::size_t star = Wildcard ? FSearchText.find(Wildcard) : std::string::npos;
  FSplit = star != std::string::npos && star < static_cast<std::size_t>(kMaxPattern);
  if (FSplit) {
    FHead = FSearchText.substr(0, star);
    FTail = FSearchText.substr(star + 1);
  } else {
    FHead = FSearchText.substr(0, kMaxPattern);
    FTail.clear();
  }
}

bool TWPTextFinder::Accepts(const TParText& p, int index) const {
  if (AttrFilter == 0) return true;
  const TAttr a = p.Attrs.empty() ? TAttr{} : p.Attrs[index];
  const TAttr& f = FilterAttr;
  auto size = [](const TAttr& r) { return r.Size == 0 ? 10 : r.Size; };
  auto tagged = [this](const TAttr& r) { return FilterTag == 0 || r.Tag == FilterTag; };
  if ((AttrFilter & wpfind::SameFont) && a.FontIndex != f.FontIndex) return false;
  if ((AttrFilter & wpfind::SameSize) && size(a) != size(f)) return false;
  if ((AttrFilter & wpfind::SameTextColor) && a.TextColor() != f.TextColor()) return false;
  if ((AttrFilter & wpfind::SameBackgroundColor) && a.BackgroundColor() != f.BackgroundColor()) return false;
  if ((AttrFilter & wpfind::Bold) && !(a.Style & kStyleBold)) return false;
  if ((AttrFilter & wpfind::Underlined) && !(a.Style & kStyleUnderline)) return false;
  if ((AttrFilter & wpfind::Italic) && !(a.Style & kStyleItalic)) return false;
  if ((AttrFilter & wpfind::HyperlinkStyle) && !(a.Style & kStyleHyperlink)) return false;
  if ((AttrFilter & wpfind::Hyperlink) && (!(a.Style & kStyleHyperlink) || !tagged(a))) return false;
  if ((AttrFilter & wpfind::Object) && (!(a.Special & kSpecialObject) || !tagged(a))) return false;
  return true;
}

bool TWPTextFinder::CharMatches(const TParText& p, int index, char pattern) const {
  if (!Accepts(p, index)) return false;
  if (Wildcard && pattern == Wildcard) return true;
  const auto c = static_cast<unsigned char>(p.Text[index]);
  const auto q = static_cast<unsigned char>(pattern);
  return MatchCase ? c == q : LowerCaseAnsi(c) == LowerCaseAnsi(q);
}

bool TWPTextFinder::PieceAt(const TParText& p, int index, const std::string& piece) const {
  if (index + static_cast<int>(piece.size()) > static_cast<int>(p.Text.size())) return false;
  for (std::size_t i = 0; i < piece.size(); ++i)
    if (!CharMatches(p, index + static_cast<int>(i), piece[i])) return false;
  return true;
}

bool TWPTextFinder::WordStartsAt(const TParText& p, int index) const {
  return !WholeWord || index == 0 || !IsFinderWordChar(static_cast<unsigned char>(p.Text[index - 1]));
}

bool TWPTextFinder::WordEndsAt(const TParText& p, int index) const {
  return !WholeWord || index >= static_cast<int>(p.Text.size()) ||
         !IsFinderWordChar(static_cast<unsigned char>(p.Text[index]));
}

int TWPTextFinder::MatchAt(const TParText& p, int index) const {
  if (!WordStartsAt(p, index) || !PieceAt(p, index, FHead)) return 0;
  const int headEnd = index + static_cast<int>(FHead.size());
  if (!FSplit) return WordEndsAt(p, headEnd) ? headEnd - index : 0;
  // The tail is the first one after the head, in this paragraph; an empty
  // match is no match, so that replacing can never stand still.
  const int length = static_cast<int>(p.Text.size());
  const int tail = static_cast<int>(FTail.size());
  for (int at = headEnd; at + tail <= length; ++at)
    if (at + tail > index && PieceAt(p, at, FTail) && WordEndsAt(p, at + tail)) return at + tail - index;
  return 0;
}

void TWPTextFinder::SetResult(const TPlace& place, const TParText& p, int offset, int length) {
  FFound = true;
  FFoundPosition = place.ParStart + offset;
  FFoundLength = length;
  FFoundAttr = p.Attrs.empty() ? TAttr{} : p.Attrs[offset];
  FStart = FFoundPosition;
}

bool TWPTextFinder::Search(const std::string& text, bool forwards) {
  Backwards = !forwards;
  SetPattern(text);
  const int from = forwards ? FStart + (FFound ? FFoundLength : 0) : FStart - 1;
  FFound = false;
  if (!FDocument || FSearchText.empty() || from < 0) return false;
  TPlace place = Resolve(from);
  TParText& p = FScratch;
  for (TParagraph* par = place.Par; par;) {
    Load(par, p);
    const int length = static_cast<int>(p.Text.size());
    if (forwards) {
      for (int index = place.Offset; index < length; ++index)
        if (const int found = MatchAt(p, index)) return SetResult(place, p, index, found), true;
      place.ParStart += length + 1;
      par = par->Next;
      place.Offset = 0;
    } else {
      for (int index = std::min(place.Offset, length - 1); index >= 0; --index)
        if (const int found = MatchAt(p, index)) return SetResult(place, p, index, found), true;
      par = par->Prev;
      if (par) {
        place.ParStart -= par->TextLength() + 1;
        place.Offset = par->TextLength();
      }
    }
    place.Par = par;
  }
  return false;
}

bool TWPTextFinder::FindNext(const std::string& text) { return Search(text, true); }

bool TWPTextFinder::FindPrevious(const std::string& text) { return Search(text, false); }

bool TWPTextFinder::Replace(const std::string& text) {
  if (!FFound || !FDocument) return false;
  // The document may have changed since the search: only what still matches
  // is replaced.
  const TPlace place = Resolve(FFoundPosition);
  bool stillThere = place.Par && place.ParStart + place.Offset == FFoundPosition;
  if (stillThere) {
    Load(place.Par, FScratch);
    stillThere = MatchAt(FScratch, place.Offset) == FFoundLength;
  }
  if (!stillThere) {
    FFound = false;
    return false;
  }
  FDocument->DeleteChars(place.Par, place.Offset, FFoundLength);
  // A paragraph end cannot be part of a line: the text up to one is inserted.
  const std::string inserted = text.substr(0, text.find_first_of(std::string("\0\r\n", 3)));
  const TAttr attr = FFoundAttr;
  FDocument->InsertText(place.Par, place.Offset, FDocument->IsPlainMode() ? nullptr : &attr,
                        inserted.c_str());
  FFoundLength = static_cast<int>(inserted.size());
  FReplaceText = inserted;
  ++FReplaceCount;
  FLastReplacedPosition = FFoundPosition;
  FLastReplacedLength = FFoundLength;
  return true;
}

int TWPTextFinder::ReplaceAll(const std::string& findText, const std::string& replaceText) {
  int replaced = 0;
  while (FindNext(findText) && Replace(replaceText)) {
    ++replaced;
    if (replaced % kEscapeInterval == 0 && EscapeHeld && EscapeHeld()) break;
  }
  return replaced;
}
