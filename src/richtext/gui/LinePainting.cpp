// Painting of laid-out lines: runs of text with their colours, selection,
// underline and super/subscript, pictures, borders, page-break lines and the
// background. Every paint call says through a TPaintPass where and how it
// paints; the document only lends its layout.
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <vector>

#include "richtext/MulDiv.h"
#include "richtext/RtfPicture.h"
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

QColor HighlightColor() { return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight); }

}  // namespace

std::uint32_t ForeignPaintOptions(std::uint8_t switches) {
  std::uint32_t options = poForeignCanvas | poNoCaretMove | poNoScroll | poPaintAllLines;
  if (switches & psNoZoom) options |= poNoZoom;
  if (switches & psNoBackground) options |= poNoBackground;
  if (switches & psOpaqueWhereNeeded) options |= poOpaqueWhereNeeded;
  if (switches & psTransparent) options |= poTransparent;
  if (!(switches & psKeepColor)) options |= poWhiteBackground | poNoBackground;
  return options;
}

// One line while it is painted: where it goes, what it holds and how far the
// painting got.
struct TWPRTFTextPaint::TLinePaint {
  const TPaintPass& Pass;
  TWPCanvas& Canvas;
  TParagraph* Par;
  TLine* Line;
  const TAttr* Attrs = nullptr;  // the line's records, or the plain-text scratch
  std::vector<TAttr> Scratch;
  int X = 0;  // where the next run starts
  int Y = 0;
  int Baseline = 0;
  int Right = 0;  // the line's right end: the origin plus the wrap width
  int PenWidth = 1;
  // Each character's advance, as the caret measures them too.
  std::vector<int> Advances;
  bool Shaded = false;
  bool NoFills = false;
  QColor Background;
  bool LeftFilled = false;
  int Overhang = 0;

  TLinePaint(const TPaintPass& pass, TParagraph* par, TLine* line)
      : Pass(pass), Canvas(*pass.Canvas), Par(par), Line(line) {}
  int Bottom() const { return Y + Line->Height; }
};

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

void TWPRTFTextPaint::MarkSelection(const TPaintPass& pass, TParagraph* par, TLine* line, int& from,
                                    int& to) {
  from = to = 0;
  if (!HasSelection() || pass.Has(poHideSelection)) {
    line->SelState = lsNotSelected;
    return;
  }
  const TTextPos lineStart{par, line, 0};
  const TTextPos lineEnd{par, line, line->Length};
  const TTextPos a = SelectionFrom(), b = SelectionTo();
  if (ComparePositions(b, lineStart) <= 0 || ComparePositions(a, lineEnd) >= 0) {
    if (!(ComparePositions(a, lineStart) <= 0 && ComparePositions(b, lineEnd) >= 0 && line->Length == 0)) {
      line->SelState = lsNotSelected;
      return;
    }
  }
  from = (a.Par == par && a.Line == line) ? a.Index : 0;
  to = (b.Par == par && b.Line == line) ? b.Index : line->Length;
  from = std::clamp(from, 0, static_cast<int>(line->Length));
  to = std::clamp(to, from, static_cast<int>(line->Length));
  const bool endsInside = b.Par == par && b.Line == line;
  const bool cellEnd = par->IsTableCell() && !line->Next && to == line->Length;
  line->SelState = (from == 0 && (!endsInside || cellEnd)) ? lsSelectedThroughEnd : lsPartlySelected;
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

void TWPRTFTextPaint::FillBackground(const TPaintPass& pass, const QRect& rect) {
  if (pass.Has(poNoBackground) || pass.Has(poTransparent) || !rect.isValid()) return;
  if (TileBackground && !BackgroundBitmap.isNull()) {
    QPoint origin(pass.OriginX, pass.OriginY);
    if (BackgroundScrolling) origin += QPoint(pass.HorzOffset, -pass.ScrollTop);
    pass.Canvas->TileImage(rect, BackgroundBitmap, origin);
    return;
  }
  pass.Canvas->FillRect(rect, ColorFromRgb(pass.Has(poWhiteBackground) ? 0xFFFFFF : BackgroundColor));
}

// ---------------------------------------------------------------------------
// One line: start, runs, the rest of the line, marks and borders

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

void TWPRTFTextPaint::PaintLine(const TPaintPass& pass, TParagraph* par, TLine* line) {
  TLinePaint lp(pass, par, line);
  if (!StartLinePaint(lp)) return;
  const bool foreign = pass.Has(poForeignCanvas);
  if (!foreign && OnHideCaret) OnHideCaret();
  int selFrom = 0, selTo = 0;
  MarkSelection(pass, par, line, selFrom, selTo);
  SetLineSelectionMarks(line, selFrom, selTo);

  if (line->Length == 0 && !par->IsTableCell() && !lp.NoFills)
    FillBackground(pass, EdgeRect(pass.OriginX, lp.Y, lp.Right, lp.Bottom()));
  PaintRuns(lp);
  FillLineRest(lp);
  if (!foreign) PaintPageBreakMarks(lp);
  if (par->Border().On()) {
    // The border spacing lies between the border lines and the text.
    const int spacing = BorderSpacingPixels(par);
    PaintBorders(pass, par, line, lp.Y, pass.OriginX + LeftEdge(par, line) - spacing - 1 + pass.Shift(),
                 pass.OriginX + Header.TextWidthPixels - RightIndent(par) + spacing + pass.Shift());
  }

  SetLineSelectionMarks(line, 0, 0);  // the mark is never stored
  // Painted: the line's change has reached the screen.
  line->LineFlags &= static_cast<std::uint8_t>(~kLineChanged);
  if (!foreign && OnShowCaret) OnShowCaret();
}

// Where the line goes, whether it is to be painted at all, and what its runs
// need to know.
bool TWPRTFTextPaint::StartLinePaint(TLinePaint& lp) {
  const TPaintPass& pass = lp.Pass;
  TParagraph* par = lp.Par;
  TLine* line = lp.Line;
  if (!pass.Canvas || !pass.Canvas->CanPaint() || (!PaintingAllowed && !pass.Has(poForeignCanvas)))
    return false;
  if (pass.Has(poSkipUnfitLines) && line->Top + line->Height - pass.ScrollTop > pass.ClipHeight) return false;
  lp.Y = line->Top + pass.OriginY - pass.ScrollTop;
  if (!pass.Has(poPaintAllLines) && (lp.Bottom() <= pass.OriginY || lp.Y >= pass.OriginY + pass.ClipHeight))
    return false;
  lp.X = pass.OriginX + LineAdvances(par, line, lp.Advances) + pass.Shift();

  lp.Attrs = line->Attrs.get();
  if (!lp.Attrs) {
    PlainTextLine(line, lp.Scratch);
    lp.Attrs = lp.Scratch.data();
  }
  lp.Right = pass.OriginX + FWrapWidth;
  lp.Baseline = lp.Y + line->Ascent;
  lp.Shaded = par->ShadingColors != 0;
  lp.NoFills = pass.Has(poTransparent) || pass.Has(poNoBackground);
  lp.Background = ColorFromRgb(pass.Has(poWhiteBackground) ? 0xFFFFFF : BackgroundColor);
  int tallest = 0;
  for (int i = 0; i < line->Length; ++i)
    if (!IsObject(line->CharAt(i), lp.Attrs[i])) tallest = std::max<int>(tallest, lp.Attrs[i].Height);
  lp.PenWidth = tallest / 20 + 1;
  lp.LeftFilled = line->Length == 0;
  return true;
}

// The runs of the line, each in one font and colour, left to right.
void TWPRTFTextPaint::PaintRuns(TLinePaint& lp) {
  TLine* line = lp.Line;
  TWPCanvas& canvas = lp.Canvas;
  int advances[kMaxRunLength + 1];
  int i = 0;
  while (i < line->Length) {
    const TAttr& a = lp.Attrs[i];
    if (a.Width == 0) {
      ++i;
      continue;
    }
    const int start = i;
    const int end = RunEnd(lp, start);
    const int runWidth = RunAdvances(lp, start, end, advances);
    const bool opaque = RunColours(lp, a);
    FillLeftOfFirstRun(lp);

    const unsigned char first = line->CharAt(start);
    int runBaseline = lp.Baseline;
    if (FSelSuperscript && a.Ascent < line->Ascent) runBaseline -= a.Ascent / 3;
    if (FSelSubscript) runBaseline += a.Ascent / 5;
    QRect cell = EdgeRect(lp.X, lp.Y, lp.X + runWidth, lp.Bottom());
    if (IsObject(first, a)) {
      if (opaque) canvas.FillRect(cell);
      PaintObject(lp.Pass, first, a, lp.X, lp.Baseline, (a.Style & kStyleSelected) != 0);
    } else if (end - start == 1 && first == ' ') {
      if (opaque) canvas.FillRect(cell);
    } else {
      // An italic run at the end of the line keeps its slanted overhang: the
      // cell is widened, and the rest of the line is filled from its end.
      const bool overhang = end == line->Length && (canvas.FontStyle() & kFontItalic);
      if (overhang) {
        cell.setRight(cell.right() + kItalicOverhang);
        advances[end - start - 1] += kItalicOverhang;
        lp.Overhang = kItalicOverhang;
      }
      canvas.TextRun(lp.X, runBaseline, line->Text.get() + start, end - start, advances,
                     opaque ? &cell : nullptr);
    }
    DrawRunDecoration(lp, runWidth);
    lp.X += runWidth;
    i = end;
  }
  lp.X += lp.Overhang;
}

// A run: at most 100 characters of one formatting; a tab and an object
// stand alone, characters without width end it.
int TWPRTFTextPaint::RunEnd(const TLinePaint& lp, int start) const {
  TLine* line = lp.Line;
  const TAttr& a = lp.Attrs[start];
  int end = start + 1;
  if (IsObject(line->CharAt(start), a)) return end;
  while (end < line->Length && end - start < kMaxRunLength && lp.Attrs[end].Width != 0 &&
         lp.Attrs[end].SameRun(a) && line->Text[end] != '\t' && !IsObject(line->CharAt(end), lp.Attrs[end]))
    ++end;
  return end;
}

// The run's share of the line's advances (tabs to their stop, justified spaces widened).
int TWPRTFTextPaint::RunAdvances(TLinePaint& lp, int start, int end, int* advances) {
  int runWidth = 0;
  for (int k = start; k < end; ++k) {
    advances[k - start] = lp.Advances[k];
    runWidth += lp.Advances[k];
  }
  return runWidth;
}

// Font and colours of a run; whether its cells are filled.
bool TWPRTFTextPaint::RunColours(TLinePaint& lp, const TAttr& attr) {
  const TPaintPass& pass = lp.Pass;
  TWPCanvas& canvas = lp.Canvas;
  SelectFontOn(canvas, attr, pass.Options);
  // Text cells are filled unless the painting is transparent: "no
  // background" only keeps the fills around the text away, so a label's
  // coloured cells still show on the page panel.
  const bool tiled = TileBackground && !BackgroundBitmap.isNull() && !pass.Has(poNoBackground);
  bool opaque = !pass.Has(poTransparent) && !(tiled && !lp.Shaded);
  if (lp.Shaded) canvas.BrushColor = ColorFromRgb(Header.Colors[lp.Par->ShadingColorIndex()]);
  if (pass.Has(poOpaqueWhereNeeded))
    opaque = opaque && !pass.Has(poNeverOpaque) && canvas.BrushColor != lp.Background &&
             canvas.BrushColor != QColor(Qt::white);
  if (attr.Style & kStyleSelected) {
    const QPalette palette = QGuiApplication::palette();
    canvas.BrushColor = palette.color(QPalette::Active, QPalette::Highlight);
    canvas.FontColor = palette.color(QPalette::Active, QPalette::HighlightedText);
    FSelPenColor = canvas.FontColor;
    opaque = true;
  }
  return opaque;
}

// Before the first run: the part of the line left of it.
void TWPRTFTextPaint::FillLeftOfFirstRun(TLinePaint& lp) {
  if (lp.LeftFilled) return;
  lp.LeftFilled = true;
  if (lp.NoFills || lp.X <= lp.Pass.OriginX) return;
  const QRect left = EdgeRect(lp.Pass.OriginX, lp.Y, lp.X, lp.Bottom());
  if (lp.Shaded)
    lp.Canvas.FillRect(left);  // with the shading brush the run chose
  else
    FillBackground(lp.Pass, left);
}

// Underline, or the wavy mark of a misspelled word.
void TWPRTFTextPaint::DrawRunDecoration(TLinePaint& lp, int width) {
  if (!FSelUnderline && !FSelWavy) return;
  TWPCanvas& canvas = lp.Canvas;
  canvas.PenColor = FSelPenColor;
  canvas.PenStyle = Qt::SolidLine;
  if (FSelWavy) {
    canvas.PenWidth = 1;
    for (int sx = lp.X; sx < lp.X + width; sx += 3) canvas.Line(sx + 2, lp.Baseline, sx - 1, lp.Baseline + 2);
  } else {
    canvas.PenWidth = lp.PenWidth;
    canvas.Line(lp.X, lp.Baseline + 1, lp.X + width, lp.Baseline + 1);
  }
  canvas.PenWidth = 1;
}

// After the last run: the rest of the line, or of the table cell.
void TWPRTFTextPaint::FillLineRest(TLinePaint& lp) {
  if (lp.Line->Length == 0 || lp.NoFills || lp.X >= lp.Right) return;
  if (!lp.Par->IsTableCell()) {
    FillBackground(lp.Pass, EdgeRect(lp.X, lp.Y, lp.Right, lp.Bottom()));
    return;
  }
  const QRect rest =
      EdgeRect(lp.X, lp.Y, lp.Pass.OriginX + Header.TextWidthPixels - RightIndent(lp.Par), lp.Bottom());
  if (lp.Line->SelState == lsSelectedThroughEnd)
    lp.Canvas.FillRect(rest, HighlightColor());
  else if (lp.Shaded)
    lp.Canvas.FillRect(rest, lp.Canvas.BrushColor);
  else
    FillBackground(lp.Pass, rest);
}

// A page starting at the line, or a paragraph that starts a new page.
void TWPRTFTextPaint::PaintPageBreakMarks(TLinePaint& lp) {
  const TPaintPass& pass = lp.Pass;
  const bool parBreak = lp.Line == lp.Par->FirstLine && (lp.Par->ParFlags & kParPageBreakBefore) &&
                        !pass.Has(poNoParPageBreakLines);
  const bool pageStart = (lp.Line->LineFlags & kLinePageBreak) && !pass.Has(poNoPageBreakLines);
  if (!parBreak && !pageStart) return;
  TWPCanvas& canvas = lp.Canvas;
  canvas.PenColor = Qt::black;
  canvas.PenWidth = 1;
  canvas.PenStyle = parBreak && pageStart ? Qt::DashDotLine : parBreak ? Qt::DashLine : Qt::DotLine;
  canvas.Line(pass.OriginX, lp.Y, pass.OriginX + FWrapWidth, lp.Y);
  canvas.PenStyle = Qt::SolidLine;
}

void TWPRTFTextPaint::PaintBorders(const TPaintPass& pass, TParagraph* par, TLine* line, int y, int left,
                                   int right) {
  TWPCanvas& canvas = *pass.Canvas;
  const TBorderWord border = par->Border();
  const int colour = border.ColorIndex();
  canvas.PenColor = colour == 0 ? QColor(Qt::black) : ColorFromRgb(Header.Colors[colour]);
  canvas.PenStyle = (border.Style & kBorderDotted) ? Qt::DotLine : Qt::SolidLine;
  int width = 1;
  if (border.Width != 0 && !(border.Style & kBorderHairline) && !pass.Has(poForeignCanvas))
    width = std::max(1, MulDiv(border.Width, Header.XPixelsPerInch, 72));
  canvas.PenWidth = width;
  const bool box = (border.Flags & kBorderBox) != 0;
  const bool twice = (border.Flags & kBorderDouble) != 0;
  const int bottom = y + line->Height;
  // A bordered group runs on from one paragraph into the next when both
  // have the same kind of border and the upper one passes its border on.
  auto continues = [](const TParagraph* upper, const TParagraph* lower) {
    if (!upper || !lower) return false;
    const TBorderWord a = upper->Border(), b = lower->Border();
    const std::uint8_t kinds = static_cast<std::uint8_t>(~kBorderNotInherited);
    return a.On() && b.On() && !(a.Flags & kBorderNotInherited) && (a.Flags & kinds) == (b.Flags & kinds) &&
           a.Style == b.Style && upper->LeftIndent == lower->LeftIndent &&
           upper->RightIndent == lower->RightIndent;
  };
  auto edge = [&](int x1, int y1, int x2, int y2, int dx, int dy) {
    canvas.Line(x1, y1, x2, y2);
    if (twice)
      canvas.Line(x1 + 2 * width * dx, y1 + 2 * width * dy, x2 + 2 * width * dx, y2 + 2 * width * dy);
  };
  if ((box || (border.Flags & kBorderTop)) && line == par->FirstLine && !continues(par->Prev, par))
    edge(left, y, right, y, 0, 1);
  if ((box || (border.Flags & kBorderBottom)) && !line->Next && !continues(par, par->Next))
    edge(left, bottom - width, right, bottom - width, 0, -1);
  if (box || (border.Flags & kBorderLeft)) edge(left, y, left, bottom, 1, 0);
  if (box || (border.Flags & kBorderRight)) edge(right - width, y, right - width, bottom, -1, 0);
  if (border.Style & kBorderTableLine) {
    // Bar tabs: a vertical line at every tab stop of the paragraph inside the edges.
    const int origin = pass.OriginX + pass.Shift();
    for (int slot = 0; slot < TTextHeader::kTabSlots; ++slot) {
      if (!(par->TabSet & (TTabSet{1} << slot)) || Header.TabPixelPositions[slot] == 0) continue;
      const int bx = origin + Header.TabPixelPositions[slot];
      if (bx > left && bx < right) canvas.Line(bx, y, bx, bottom);
    }
  }
  canvas.PenWidth = 1;
  canvas.PenStyle = Qt::SolidLine;
}

const QImage* TWPRTFTextPaint::PictureImage(const TEmbeddedObject* object) {
  const auto* picture = dynamic_cast<const TWPRtfPicture*>(object);
  if (!picture) return nullptr;
  const char* format = picture->Format == TWPRtfPicture::pfDib    ? "BMP"
                       : picture->Format == TWPRtfPicture::pfPng  ? "PNG"
                       : picture->Format == TWPRtfPicture::pfJpeg ? "JPG"
                                                                  : nullptr;
  if (!format) return nullptr;
  auto found = FPictures.find(object);
  if (found == FPictures.end()) {
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(picture->Data.data()),
                       static_cast<int>(picture->Data.size()), format);
    found = FPictures.emplace(object, std::move(image)).first;
  }
  return found->second.isNull() ? nullptr : &found->second;
}

void TWPRTFTextPaint::PaintObject(const TPaintPass& pass, unsigned char code, const TAttr& attr, int x,
                                  int baseline, bool selected) {
  TWPCanvas& canvas = *pass.Canvas;
  TTextObject* record = code == 2 ? FindObjectBySecondaryId(attr.Tag) : FindObject(attr.Tag);
  const int top = baseline - attr.Ascent;
  const QRect cell(x, top, attr.Width,
                   record ? std::clamp(MulDivY(record->Height), 0, kMaxObjectPixels) : attr.Height);
  // A picture that cannot be drawn (a metafile, unreadable bits) leaves its cell empty.
  if (const QImage* image = record ? PictureImage(record->Object) : nullptr) canvas.DrawImage(cell, *image);
  if (selected) {
    canvas.PenColor = Qt::black;
    canvas.PenWidth = 1;
    canvas.PenStyle = Qt::SolidLine;
    canvas.BrushClear = true;
    canvas.Rectangle(cell);
    canvas.BrushClear = false;
    if (SelectedObjectRect.isNull()) {
      SelectedObjectRect = cell;
      canvas.FillRect(EdgeRect(cell.right() - 5, cell.bottom() - 5, cell.right() + 1, cell.bottom() + 1),
                      Qt::black);
    }
  }
}

// ---------------------------------------------------------------------------
// Regions, runs of lines and the whole window

TPaintPass TWPRTFTextPaint::ViewPass() const {
  return TPaintPass{FCanvas, OriginX, OriginY, ScrollTop, HorzOffset, ClipHeight, FPaintOptions};
}

void TWPRTFTextPaint::PaintRegion(const TPaintPass& pass, int x, int y, int height, int width) {
  TWPCanvas& canvas = *pass.Canvas;
  if (!canvas.CanPaint() || (!PaintingAllowed && !pass.Has(poForeignCanvas))) return;
  const bool foreign = pass.Has(poForeignCanvas);
  if (!foreign && OnHideCaret) OnHideCaret();
  if (!pass.Has(poNoClip)) canvas.SetClipRect(EdgeRect(x - 1, y - 1, x + width + 2, y + height + 2));
  SelectedObjectRect = QRect();
  int painted = 0;
  int bottom = pass.OriginY;
  bool stop = false;
  for (TParagraph* par = FirstParagraph; par && !stop; par = par->Next) {
    if (pass.Has(poPageMode) && painted >= 4 && (par->ParFlags & kParPageBreakBefore)) break;
    for (TLine* line = par->FirstLine; line; line = line->Next) {
      const int top = line->Top - pass.ScrollTop - 1 + pass.OriginY;
      const int lineBottom = line->Top + line->Height - pass.ScrollTop + 1 + pass.OriginY;
      if (pass.Has(poPageMode) && painted >= 4 && (line->LineFlags & kLinePageBreak)) {
        stop = true;
        break;
      }
      if (lineBottom >= y && top <= y + height) {
        PaintLine(pass, par, line);
        ++painted;
      }
      bottom = std::max(bottom, lineBottom - 1);
    }
  }
  const int clipBottom = pass.OriginY + pass.ClipHeight;
  if (bottom < clipBottom)
    FillBackground(pass,
                   EdgeRect(pass.OriginX, bottom, pass.OriginX + std::max(FWrapWidth, width), clipBottom));
  if (!pass.Has(poNoClip)) canvas.ClearClip();
  if (!foreign && OnShowCaret) OnShowCaret();
}

int TWPRTFTextPaint::PaintLinesFrom(const TPaintPass& pass, int startLine, bool paint,
                                    bool stopAtPageBreaks) {
  TPaintPass from = pass;
  int index = 0;
  bool found = false, first = true;
  for (TParagraph* par = FirstParagraph; par; par = par->Next) {
    for (TLine* line = par->FirstLine; line; line = line->Next, ++index) {
      if (!found) {
        if (index < startLine) continue;
        found = true;
        from.ScrollTop = line->Top;  // this line is painted at the origin
      }
      if (from.ClipHeight < line->Top + line->Height - from.ScrollTop) {
        if (!first) return index;
        if (paint) PaintLine(from, par, line);
        return index + 1;
      }
      const bool newPage = (line->LineFlags & kLinePageBreak) ||
                           (line == par->FirstLine && (par->ParFlags & kParPageBreakBefore));
      if (stopAtPageBreaks && !first && newPage) return index;
      if (paint) PaintLine(from, par, line);
      first = false;
    }
  }
  return 0;
}

bool TWPRTFTextPaint::RepaintAllowed() const {
  return !FFormatting && !ReformatPending && !Has(poLayoutLocked) && !Has(poForeignCanvas) && PaintingAllowed;
}

void TWPRTFTextPaint::Repaint() {
  if (RepaintAllowed() && OnInvalidate) OnInvalidate();
}

void TWPRTFTextPaint::PaintVisible(TWPCanvas* canvas, const QRect* band) {
  TPaintPass pass = ViewPass();
  if (canvas) pass.Canvas = canvas;
  if (!RepaintAllowed() || !pass.Canvas->CanPaint()) return;
  EnsureLayout();
  if (!FirstParagraph) {
    FillBackground(pass, EdgeRect(OriginX, OriginY, OriginX + FWrapWidth, OriginY + ClipHeight));
    pass.Canvas->SetFont("Arial", 10, Header.YPixelsPerInch, 0);
    pass.Canvas->FontColor = Qt::black;
    pass.Canvas->TextOut(OriginX + FWrapWidth / 2, OriginY + ClipHeight / 2, "<empty>");
    return;
  }
  if (band)
    PaintRegion(pass, band->x(), band->y(), band->height(), band->width());
  else
    PaintRegion(pass, OriginX, OriginY, ClipHeight, FWrapWidth);
}
