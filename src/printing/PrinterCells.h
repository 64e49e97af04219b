#pragma once
// Where each label of a sheet lands on a printer: outline and text area in
// printer pixels, relative to the printable area's top-left corner.
//
// Usage:
//   const TPrinterCells cells = ComputePrinterCells(layout, CurrentNudges(), {ppx, ppy}, {offX, offY});
//   paint label n into cells[n].rFree
#include <cstdint>

#include "labelpage/LabelLayout.h"
#include "labelpage/OneBasedArray.h"
#include "labelpage/PageGeometry.h"
#include "printing/PrinterNudges.h"

// A pair of device values, horizontal first.
struct TDevicePair {
  int X = 0;
  int Y = 0;
};

// Labels 1..200; entries beyond the layout's labels stay zero.
using TPrinterCells = TOneBasedArray<TCellRecord, MaxLabelsPerPage>;

// Outline and text area of every label of the layout. The nudges are added to
// the layout's lengths before conversion; each edge's distance from the
// paper's edge is summed in thousandths and converted once (truncated, as
// every conversion is), so no edge lies more than a pixel from its place:
// the truncation of one pitch does not pile up from row to row, nor that of
// the label's corner with that of its text inset. The text area reaches a
// tenth of an inch below the layout's TextBottom. physicalOffset is the
// printable area's position on the paper, in printer pixels.
TPrinterCells ComputePrinterCells(const TLabelLayoutRecord& layout, const TPrinterNudges& nudges,
                                  TDevicePair pixelsPerInch, TDevicePair physicalOffset);
