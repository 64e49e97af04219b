#pragma once
// The one label renderer: paints label n of a sheet into a rectangle of any
// painter (an image for the page panel, a printer or a PDF writer), laid out
// at the painter's resolution. It needs no widget and never changes the
// label's document: each label's text is laid out in a copy of its own, kept
// until the label's text, the zoom, the resolution, the width or the paint
// switches that shape the layout change.
//
// Usage (printing a label at the printer's resolution, text only):
//   QPrinter printer(QPrinter::HighResolution);
//   QPainter painter(&printer);
//   TLabelRenderer renderer;
//   renderer.Render(sheet, n, painter, QRect(x, y, width, height), 100, psTransparent);
#include <QPainter>
#include <QRect>
#include <cstdint>
#include <memory>

#include "labelpage/LabelSheet.h"
#include "richtext/gui/RtfTextPaint.h"  // the paint switches

class TLabelRenderer {
 public:
  TLabelRenderer();
  ~TLabelRenderer();
  TLabelRenderer(const TLabelRenderer&) = delete;
  TLabelRenderer& operator=(const TLabelRenderer&) = delete;

  // Lays label n out (unless its cached layout still holds) at the
  // resolution of the painter's device times zoom per cent, wrapping at
  // area's width, and paints its lines from the top of area down while they
  // fit in area's height; the first line is painted even when it does not.
  // switches are the paint switches (TPaintSwitch): 0 on screen, psTransparent for a
  // printer. Returns the index of the first line that did not fit, 0 when
  // all did; nothing is painted for a label the sheet does not have. A text
  // that cannot be laid out raises the engine's error.
  int Render(const TLabelSheet& sheet, int n, QPainter& painter, const QRect& area, int zoom,
             std::uint8_t switches);

  // Forgets every cached layout (a sheet of other labels).
  void Clear();
  // Test hook: how many times a label's text was laid out, since creation.
  int LayoutCount() const { return FLayoutCount; }

 private:
  struct TEntry;
  std::unique_ptr<TEntry> FEntries[MaxLabelsPerPage];
  int FLayoutCount = 0;
};
