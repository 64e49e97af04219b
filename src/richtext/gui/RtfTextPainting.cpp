// Painting of laid-out lines: runs of text with their colours, selection,
// underline and super/subscript, pictures, borders, page-break lines and the
// background.
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <vector>

#include "richtext/MulDiv.h"
#include "richtext/RtfReader.h"
#include "richtext/gui/RtfTextPaint.h"

namespace {

constexpr int kMaxRunLength = 100;
constexpr int kItalicOverhang = 8;

bool IsObject(unsigned char code, const TAttr& attr) {
  return (code == 1 || code == 2) && (attr.Special & kSpecialObject) != 0;
}

// Ordering of two positions in the document: paragraphs, then lines, then index.
int ComparePositions(const TWPRTFTextPaint::TTextPos& a, const TWPRTFTextPaint::TTextPos& b) {
  if (a.Par != b.Par) {
    for (TParagraph* p = a.Par; p; p = p->Next)
      if (p == b.Par) return -1;
    return 1;
  }
  if (a.Line != b.Line) {
    for (TLine* l = a.Line; l; l = l->Next)
      if (l == b.Line) return -1;
    return 1;
  }
  return (a.Index > b.Index) - (a.Index < b.Index);
}

}  // namespace

// ---------------------------------------------------------------------------
// Selection as painting sees it

TWPRTFTextPaint::TTextPos TWPRTFTextPaint::SelectionFrom() const {
  TTextPos start{SelStartParagraph, SelStartLine, SelStartIndex};
  TTextPos end{SelEndParagraph, SelEndLine, SelEndIndex};
  return SelectionBackwards ? end : start;
}

TWPRTFTextPaint::TTextPos TWPRTFTextPaint::SelectionTo() const {
  TTextPos start{SelStartParagraph, SelStartLine, SelStartIndex};
  TTextPos end{SelEndParagraph, SelEndLine, SelEndIndex};
  return SelectionBackwards ? start : end;
}

void TWPRTFTextPaint::SetSelectionPositions(const TTextPos& from, const TTextPos& to) {
  if (SelectionBackwards) {
    SelEndParagraph = from.Par, SelEndLine = from.Line, SelEndIndex = from.Index;
    SelStartParagraph = to.Par, SelStartLine = to.Line, SelStartIndex = to.Index;
  } else {
    SelStartParagraph = from.Par, SelStartLine = from.Line, SelStartIndex = from.Index;
    SelEndParagraph = to.Par, SelEndLine = to.Line, SelEndIndex = to.Index;
  }
}

void TWPRTFTextPaint::MarkSelection(TParagraph* par, TLine* line, int& from, int& to) {
  from = to = 0;
  if (!HasSelection() || Has(wppo::HideSelection)) {
    line->SelState = 0;
    return;
  }
  const TTextPos lineStart{par, line, 0};
  const TTextPos lineEnd{par, line, line->Length};
  const TTextPos a = SelectionFrom(), b = SelectionTo();
  if (ComparePositions(b, lineStart) <= 0 || ComparePositions(a, lineEnd) >= 0) {
    if (!(ComparePositions(a, lineStart) <= 0 && ComparePositions(b, lineEnd) >= 0 && line->Length == 0)) {
      line->SelState = 0;
      return;
    }
  }
  from = (a.Par == par && a.Line == line) ? a.Index : 0;
  to = (b.Par == par && b.Line == line) ? b.Index : line->Length;
  from = std::clamp(from, 0, static_cast<int>(line->Length));
  to = std::clamp(to, from, static_cast<int>(line->Length));
  const bool endsInside = b.Par == par && b.Line == line;
  const bool cellEnd = par->IsTableCell() && !line->Next && to == line->Length;
  line->SelState = (from == 0 && (!endsInside || cellEnd)) ? 2 : 3;
}

void TWPRTFTextPaint::SetLineSelectionMarks(TLine* line, int from, int to) {
  if (!line->Attrs) return;
  for (int i = 0; i < line->Length; ++i) {
    if (i >= from && i < to)
      line->Attrs[i].Style |= kStyleSelected;
    else
      line->Attrs[i].Style &= static_cast<std::uint8_t>(~kStyleSelected);
  }
}

// ---------------------------------------------------------------------------
// Background

void TWPRTFTextPaint::FillBackground(const QRect& rect) {
  if (Has(wppo::NoBackground) || Has(wppo::Transparent) || !rect.isValid()) return;
  if (TileBackground && !BackgroundBitmap.isNull()) {
    QPoint origin(OriginX, OriginY);
    if (BackgroundScrolling) origin += QPoint(HorzOffset, -ScrollTop);
    FCanvas->TileImage(rect, BackgroundBitmap, origin);
    return;
  }
  FCanvas->FillRect(rect, ColorFromRgb(Has(wppo::WhiteBackground) ? 0xFFFFFF : BackgroundColor));
}

// ---------------------------------------------------------------------------
// One line

bool TWPRTFTextPaint::PlainTextLine(TLine* line, std::vector<TAttr>& scratch) {
  MeasureFont(nullptr);
  scratch.assign(line->Length + 1, CurrentAttr);
  for (int i = 0; i < line->Length; ++i) {
    scratch[i].Width = FWidths[line->CharAt(i)];
    scratch[i].Height = static_cast<std::int16_t>(FFontHeight);
    scratch[i].Ascent = static_cast<std::int16_t>(FFontAscent);
  }
  return true;
}

void TWPRTFTextPaint::PaintLine(TParagraph* par, TLine* line) {
  if (!FCanvas->CanPaint() || (!PaintingAllowed && !Has(wppo::ForeignCanvas))) return;
  if (Has(wppo::SkipUnfitLines) && line->Top + line->Height - ScrollTop > ClipHeight) return;
  const int left = LeftEdge(par, line);
  int x = OriginX + left + (Has(wppo::IgnoreHorzOffset) ? 0 : HorzOffset);
  if (par->Alignment == 1 || par->Alignment == 2) {
    const int free = Header.TextWidthPixels - LineContentWidth(par, line) - RightIndent(par) - left;
    if (par->Alignment == 1 && free > 0) x += free;
    if (par->Alignment == 2 && free > 1) x += free / 2;
  }
  const int y = line->Top + OriginY - ScrollTop;
  if (!Has(wppo::PaintAllLines) && (y + line->Height <= OriginY || y >= OriginY + ClipHeight)) return;
  const int lineRight = OriginX + FWrapWidth;
  const bool foreign = Has(wppo::ForeignCanvas);
  if (!foreign && OnHideCaret) OnHideCaret();

  int selFrom = 0, selTo = 0;
  MarkSelection(par, line, selFrom, selTo);
  SetLineSelectionMarks(line, selFrom, selTo);

  std::vector<TAttr> scratch;
  const TAttr* attrs = line->Attrs.get();
  if (!attrs) {
    PlainTextLine(line, scratch);
    attrs = scratch.data();
  }
  const int baseline = y + line->Ascent;
  const bool rightOrCentre = par->Alignment == 1 || par->Alignment == 2;
  const bool justified = par->Alignment == 3 && line->SpaceWidth > 0;
  const bool shaded = par->ShadingColors != 0;
  const bool noFills = Has(wppo::Transparent) || Has(wppo::NoBackground);
  const QColor background = ColorFromRgb(Has(wppo::WhiteBackground) ? 0xFFFFFF : BackgroundColor);

  int tallest = 0;
  for (int i = 0; i < line->Length; ++i)
    if (!IsObject(line->CharAt(i), attrs[i])) tallest = std::max<int>(tallest, attrs[i].Height);
  const int penWidth = tallest / 20 + 1;

  if (line->Length == 0 && !par->IsTableCell() && !noFills)
    FillBackground(EdgeRect(OriginX, y, lineRight, y + line->Height));

  bool leftFilled = line->Length == 0;
  int justifiedSpaces = 0;
  int overhang = 0;
  int i = 0;
  int advances[kMaxRunLength + 1];
  while (i < line->Length) {
    const TAttr& a = attrs[i];
    if (a.Width == 0) {
      ++i;
      continue;
    }
    const int start = i;
    const unsigned char first = line->CharAt(i);
    const bool object = IsObject(first, a);
    int end = i + 1;
    if (!object) {
      while (end < line->Length && end - start < kMaxRunLength && attrs[end].Width != 0 &&
             attrs[end].SameRun(a) && line->Text[end] != '\t' && !IsObject(line->CharAt(end), attrs[end]))
        ++end;
    }
    int runWidth = 0;
    for (int k = start; k < end; ++k) {
      const unsigned char code = line->CharAt(k);
      int advance = attrs[k].Width;
      if (!rightOrCentre) {
        if (code == '\t') {
          const int relative = x + runWidth - OriginX - (Has(wppo::IgnoreHorzOffset) ? 0 : HorzOffset);
          advance = NextTabPosition(par, line, relative, k) - relative;
          if (advance < 0) advance = 0;
        } else if (justified && code == ' ' && k >= line->LineWidth) {
          advance = line->SpaceWidth + (justifiedSpaces < line->SpaceExtra ? 1 : 0);
          ++justifiedSpaces;
        }
      }
      advances[k - start] = advance;
      runWidth += advance;
    }

    SelectFont(&a);
    const bool selected = (a.Style & kStyleSelected) != 0;
    // Text cells are filled unless the painting is transparent: "no
    // background" only keeps the fills around the text away, so a label's
    // coloured cells still show on the page panel.
    const bool tiled = TileBackground && !BackgroundBitmap.isNull() && !Has(wppo::NoBackground);
    bool opaque = !Has(wppo::Transparent) && !(tiled && !shaded);
    if (shaded)
      FCanvas->BrushColor = ColorFromRgb(
          Header.Colors[par->Shading < 51 ? (par->ShadingColors >> 4) : (par->ShadingColors & 0x0F)]);
    if (Has(wppo::OpaqueWhereNeeded))
      opaque = opaque && !Has(wppo::NeverOpaque) && FCanvas->BrushColor != background &&
               FCanvas->BrushColor != QColor(Qt::white);
    if (selected) {
      const QPalette palette = QGuiApplication::palette();
      FCanvas->BrushColor = palette.color(QPalette::Active, QPalette::Highlight);
      FCanvas->FontColor = palette.color(QPalette::Active, QPalette::HighlightedText);
      FSelPenColor = FCanvas->FontColor;
      opaque = true;
    }
    if (!leftFilled) {
      leftFilled = true;
      if (!noFills && x > OriginX) {
        if (shaded) {
          const QColor keep = FCanvas->BrushColor;
          FCanvas->FillRect(EdgeRect(OriginX, y, x, y + line->Height));
          FCanvas->BrushColor = keep;
        } else {
          FillBackground(EdgeRect(OriginX, y, x, y + line->Height));
        }
      }
    }

    int runBaseline = baseline;
    if (FSelSuperscript && a.Ascent < line->Ascent) runBaseline -= a.Ascent / 3;
    if (FSelSubscript) runBaseline += a.Ascent / 5;
    QRect cell = EdgeRect(x, y, x + runWidth, y + line->Height);
    if (object) {
      if (opaque) FCanvas->FillRect(cell);
      PaintObject(first, a, x, baseline, selected);
    } else if (end - start == 1 && first == ' ') {
      if (opaque) FCanvas->FillRect(cell);
    } else {
      if (end == line->Length && (FCanvas->FontStyle() & kFontItalic)) {
        cell.setRight(cell.right() + kItalicOverhang);
        advances[end - start - 1] += kItalicOverhang;
      }
      FCanvas->TextRun(x, runBaseline, line->Text.get() + start, end - start, advances,
                       opaque ? &cell : nullptr);
      // The rest of the line is filled from the widened cell's end, so the
      // slanted last character keeps its overhang.
      if (end == line->Length && (FCanvas->FontStyle() & kFontItalic)) {
        advances[end - start - 1] -= kItalicOverhang;
        overhang = kItalicOverhang;
      }
    }
    if (FSelUnderline || FSelWavy) {
      FCanvas->PenColor = FSelPenColor;
      FCanvas->PenStyle = Qt::SolidLine;
      FCanvas->PenWidth = penWidth;
      if (FSelWavy) {
        FCanvas->PenWidth = 1;
        for (int sx = x; sx < x + runWidth; sx += 3) FCanvas->Line(sx + 2, baseline, sx - 1, baseline + 2);
      } else {
        FCanvas->Line(x, baseline + 1, x + runWidth, baseline + 1);
      }
      FCanvas->PenWidth = 1;
    }
    x += runWidth;
    i = end;
  }
  x += overhang;

  // The rest of the line.
  if (line->Length > 0 && !noFills && x < lineRight) {
    if (par->IsTableCell()) {
      const int cellRight = OriginX + Header.TextWidthPixels - RightIndent(par);
      if (line->SelState == 2)
        FCanvas->FillRect(EdgeRect(x, y, cellRight, y + line->Height),
                          QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight));
      else if (shaded)
        FCanvas->FillRect(EdgeRect(x, y, cellRight, y + line->Height), FCanvas->BrushColor);
      else
        FillBackground(EdgeRect(x, y, cellRight, y + line->Height));
    } else {
      FillBackground(EdgeRect(x, y, lineRight, y + line->Height));
    }
  }

  // Page-break lines.
  if (!foreign) {
    const bool parBreak =
        line == par->FirstLine && (par->ParFlags & kParPageBreakBefore) && !Has(wppo::NoParPageBreakLines);
    const bool pageStart = (line->LineFlags & kLinePageBreak) && !Has(wppo::NoPageBreakLines);
    if (parBreak || pageStart) {
      FCanvas->PenColor = Qt::black;
      FCanvas->PenWidth = 1;
      FCanvas->PenStyle = parBreak && pageStart ? Qt::DashDotLine : parBreak ? Qt::DashLine : Qt::DotLine;
      FCanvas->Line(OriginX, y, OriginX + FWrapWidth, y);
      FCanvas->PenStyle = Qt::SolidLine;
    }
  }
  if (par->BorderFlags & kBorderOn)
    PaintBorders(
        par, line, y, OriginX + LeftEdge(par, line) - 1 + (Has(wppo::IgnoreHorzOffset) ? 0 : HorzOffset),
        OriginX + Header.TextWidthPixels - RightIndent(par) + (Has(wppo::IgnoreHorzOffset) ? 0 : HorzOffset));
  SetLineSelectionMarks(line, 0, 0);  // the mark is never stored
  if (!foreign && OnShowCaret) OnShowCaret();
}

void TWPRTFTextPaint::PaintBorders(TParagraph* par, TLine* line, int y, int left, int right) {
  const int colour = par->BorderSpaceColor & 0x0F;
  FCanvas->PenColor = colour == 0 ? QColor(Qt::black) : ColorFromRgb(Header.Colors[colour]);
  FCanvas->PenStyle = (par->BorderStyle & kBorderDotted) ? Qt::DotLine : Qt::SolidLine;
  int width = 1;
  if (par->BorderWidth != 0 && !(par->BorderStyle & kBorderHairline) && !Has(wppo::ForeignCanvas))
    width = std::max(1, MulDiv(par->BorderWidth, Header.XPixelsPerInch, 72));
  FCanvas->PenWidth = width;
  const bool box = (par->BorderFlags & kBorderBox) != 0;
  const bool twice = (par->BorderFlags & kBorderDouble) != 0;
  const int bottom = y + line->Height;
  auto sameGroup = [](const TParagraph* a, const TParagraph* b) {
    return b && (b->BorderFlags & kBorderOn) && b->BorderFlags == a->BorderFlags &&
           b->BorderStyle == a->BorderStyle && b->LeftIndent == a->LeftIndent &&
           b->RightIndent == a->RightIndent;
  };
  auto edge = [&](int x1, int y1, int x2, int y2, int dx, int dy) {
    FCanvas->Line(x1, y1, x2, y2);
    if (twice)
      FCanvas->Line(x1 + 2 * width * dx, y1 + 2 * width * dy, x2 + 2 * width * dx, y2 + 2 * width * dy);
  };
  if ((box || (par->BorderFlags & kBorderTop)) && line == par->FirstLine && !sameGroup(par, par->Prev))
    edge(left, y, right, y, 0, 1);
  if ((box || (par->BorderFlags & kBorderBottom)) && !line->Next && !sameGroup(par, par->Next))
    edge(left, bottom - width, right, bottom - width, 0, -1);
  if (box || (par->BorderFlags & kBorderLeft)) edge(left, y, left, bottom, 1, 0);
  if (box || (par->BorderFlags & kBorderRight)) edge(right - width, y, right - width, bottom, -1, 0);
  if (par->BorderStyle & kBorderTableLine) {
    // Bar tabs: a vertical line at every tab stop of the paragraph inside the edges.
    const int origin = OriginX + (Has(wppo::IgnoreHorzOffset) ? 0 : HorzOffset);
    for (int slot = 0; slot < TTextHeader::kTabSlots; ++slot) {
      if (!(par->TabSet & (TTabSet{1} << slot)) || Header.TabPixelPositions[slot] == 0) continue;
      const int bx = origin + Header.TabPixelPositions[slot];
      if (bx > left && bx < right) FCanvas->Line(bx, y, bx, bottom);
    }
  }
  FCanvas->PenWidth = 1;
  FCanvas->PenStyle = Qt::SolidLine;
}

const QImage* TWPRTFTextPaint::PictureImage(const TEmbeddedObject* object) {
  const auto* picture = dynamic_cast<const TWPRtfPicture*>(object);
  if (!picture || picture->Format != TWPRtfPicture::pfDib) return nullptr;
  auto found = FPictures.find(object);
  if (found == FPictures.end()) {
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(picture->Data.data()),
                       static_cast<int>(picture->Data.size()), "BMP");
    found = FPictures.emplace(object, std::move(image)).first;
  }
  return found->second.isNull() ? nullptr : &found->second;
}

void TWPRTFTextPaint::PaintObject(unsigned char code, const TAttr& attr, int x, int baseline, bool selected) {
  TTextObject* record = code == 2 ? FindObjectBySecondaryId(attr.Tag) : FindObject(attr.Tag);
  const int top = baseline - attr.Ascent;
  const QRect cell(x, top, attr.Width,
                   record ? std::clamp(MulDivY(record->Height), 0, kMaxObjectPixels) : attr.Height);
  // A picture that cannot be drawn (a metafile, unreadable bits) leaves its cell empty.
  if (const QImage* image = record ? PictureImage(record->Object) : nullptr) FCanvas->DrawImage(cell, *image);
  if (selected) {
    FCanvas->PenColor = Qt::black;
    FCanvas->PenWidth = 1;
    FCanvas->PenStyle = Qt::SolidLine;
    FCanvas->BrushClear = true;
    FCanvas->Rectangle(cell);
    FCanvas->BrushClear = false;
    if (SelectedObjectRect.isNull()) {
      SelectedObjectRect = cell;
      FCanvas->FillRect(EdgeRect(cell.right() - 5, cell.bottom() - 5, cell.right() + 1, cell.bottom() + 1),
                        Qt::black);
    }
  }
}

// ---------------------------------------------------------------------------
// Regions and the whole window

void TWPRTFTextPaint::PaintRegion(int x, int y, int height, int width) {
  if (!FCanvas->CanPaint() || (!PaintingAllowed && !Has(wppo::ForeignCanvas))) return;
  const bool foreign = Has(wppo::ForeignCanvas);
  if (!foreign && OnHideCaret) OnHideCaret();
  if (!Has(wppo::NoClip)) FCanvas->SetClipRect(EdgeRect(x - 1, y - 1, x + width + 2, y + height + 2));
  SelectedObjectRect = QRect();
  int painted = 0;
  int bottom = OriginY;
  bool stop = false;
  for (TParagraph* par = FirstParagraph; par && !stop; par = par->Next) {
    if (Has(wppo::PageMode) && painted >= 4 && (par->ParFlags & kParPageBreakBefore)) break;
    for (TLine* line = par->FirstLine; line; line = line->Next) {
      const int top = line->Top - ScrollTop - 1 + OriginY;
      const int lineBottom = line->Top + line->Height - ScrollTop + 1 + OriginY;
      if (Has(wppo::PageMode) && painted >= 4 && (line->LineFlags & kLinePageBreak)) {
        stop = true;
        break;
      }
      if (lineBottom >= y && top <= y + height) {
        PaintLine(par, line);
        ++painted;
      }
      bottom = std::max(bottom, lineBottom - 1);
    }
  }
  const int clipBottom = OriginY + ClipHeight;
  if (bottom < clipBottom)
    FillBackground(EdgeRect(OriginX, bottom, OriginX + std::max(FWrapWidth, width), clipBottom));
  if (!Has(wppo::NoClip)) FCanvas->ClearClip();
  if (!foreign && OnShowCaret) OnShowCaret();
}

bool TWPRTFTextPaint::RepaintAllowed() const {
  return !FFormatting && !ReformatPending && !Has(wppo::LayoutLocked) && !Has(wppo::ForeignCanvas) &&
         PaintingAllowed;
}

void TWPRTFTextPaint::Repaint() {
  if (RepaintAllowed() && OnInvalidate) OnInvalidate();
}

void TWPRTFTextPaint::PaintVisible() {
  if (!RepaintAllowed() || !FCanvas->CanPaint()) return;
  EnsureLayout();
  if (!FirstParagraph) {
    FillBackground(EdgeRect(OriginX, OriginY, OriginX + FWrapWidth, OriginY + ClipHeight));
    FCanvas->SetFont("Arial", 10, Header.YPixelsPerInch, 0);
    FCanvas->FontColor = Qt::black;
    FCanvas->TextOut(OriginX + FWrapWidth / 2, OriginY + ClipHeight / 2, "<empty>");
    return;
  }
  PaintRegion(OriginX, OriginY, ClipHeight, FWrapWidth);
}
