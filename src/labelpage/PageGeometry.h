#pragma once
// Thousandths of an inch to device pixels. Every conversion truncates toward
// zero in 80-bit extended arithmetic with the inexact constants 0.001, 0.01
// and 1/96, so 1000 thousandths at 96 pixels per inch come out as 95 pixels.
#include <cstdint>

#include "labelpage/LabelLayout.h"

// A device rectangle; Right and Bottom lie just outside it. Four zeros mean
// "no rectangle yet" (or a cleared label).
struct TCellRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
  // The right and bottom edges are outside.
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool operator==(const TCellRect&) const = default;
};

// One label on the device: its outline and its text area.
struct TCellRecord {
  TCellRect rTotal;
  TCellRect rFree;
};

// trunc(thousandths x 0.001 x ppi)
int ThousandthsToPixels(std::int64_t thousandths, int pixelsPerInch);
// trunc(pixels x (percent x 0.01))
int ZoomPixels(std::int64_t pixels, int percent);

// The screen's scale: pixels per inch and the zoom percentage.
class TScreenScale {
 public:
  TScreenScale(int pixelsPerInch, int magnification)
      : FPixelsPerInch(pixelsPerInch), FMagnification(magnification) {}

  // S(x): screen length of x thousandths.
  int Length(std::int64_t thousandths) const;
  // D(n): design pixels (1/96 inch at 100 %) on this screen, unzoomed.
  int Design(int n) const;
  // Z(n): design pixels zoomed.
  int Zoomed(int n) const { return ZoomPixels(Design(n), FMagnification); }

  // Outline and text area of label n (1-based) of the layout on this screen.
  TCellRecord Cell(const TLabelLayoutRecord& layout, int n) const;

 private:
  int FPixelsPerInch;
  int FMagnification;
};
