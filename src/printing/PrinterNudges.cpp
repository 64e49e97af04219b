#include "printing/PrinterNudges.h"

#include "platform/AppGlobals.h"

TPrinterNudges CurrentNudges() {
  return {TopMarginNudge, LeftMarginNudge, VerticalSpacing, HorizontalSpacing};
}

void SetCurrentNudges(const TPrinterNudges& nudges) {
  TopMarginNudge = nudges.TopMargin;
  LeftMarginNudge = nudges.LeftMargin;
  VerticalSpacing = nudges.VerticalSpacing;
  HorizontalSpacing = nudges.HorizontalSpacing;
}
