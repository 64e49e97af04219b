#pragma once
// The four printer nudges as one value, in thousandths of an inch: the
// margins move the whole sheet, the spacings change the pitch between labels.
// The program keeps them in the globals of AppGlobals.h.
#include <cstdint>

class TIniFile;

struct TPrinterNudges {
  std::int32_t TopMargin = 0;
  std::int32_t LeftMargin = 0;
  std::int32_t VerticalSpacing = 0;
  std::int32_t HorizontalSpacing = 0;

  bool operator==(const TPrinterNudges&) const = default;
};

// The program's nudges, and setting them.
TPrinterNudges CurrentNudges();
void SetCurrentNudges(const TPrinterNudges& nudges);

// The nudges the preferences file keeps (section "Printer"); 0 where it has none.
TPrinterNudges ReadPrinterNudges(const TIniFile& preferences);
