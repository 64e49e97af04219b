#include "printing/PrinterNudges.h"

#include "platform/AppGlobals.h"
#include "platform/IniFile.h"

TPrinterNudges CurrentNudges() {
  return {TopMarginNudge, LeftMarginNudge, VerticalSpacing, HorizontalSpacing};
}

void SetCurrentNudges(const TPrinterNudges& nudges) {
  TopMarginNudge = nudges.TopMargin;
  LeftMarginNudge = nudges.LeftMargin;
  VerticalSpacing = nudges.VerticalSpacing;
  HorizontalSpacing = nudges.HorizontalSpacing;
}

TPrinterNudges ReadPrinterNudges(const TIniFile& preferences) {
  const QString printer = QStringLiteral("Printer");
  return {preferences.ReadInteger(printer, QStringLiteral("TopMarginNudge"), 0),
          preferences.ReadInteger(printer, QStringLiteral("LeftMarginNudge"), 0),
          preferences.ReadInteger(printer, QStringLiteral("VerticalSpacing"), 0),
          preferences.ReadInteger(printer, QStringLiteral("HorizontalSpacing"), 0)};
}
