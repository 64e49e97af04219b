#pragma once
// The configuration report: what technical support asks about the product,
// the system it runs on and the program's own settings, as lines of plain
// text whose labels are padded and end in a tab, so that the values line up
// in a fixed-pitch box.
//
// Usage:
//   const QStringList lines = ConfigurationReport(ReadSystemFacts(widget), preferences, QLocale());
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>

class QWidget;

// What the report tells about the system. This platform takes the path of a
// system without driver sections or WIN.INI: there are no lines for them.
struct TSystemFacts {
  QString LongDate;       // today, in the long date format
  QString SystemVersion;  // operating system name and version
  QString Processor;      // "Processor:  " + architecture + " " + model
  int ScreenWidth = 0;    // pixels
  int ScreenHeight = 0;
  int BitsPerPixel = 0;
  int PixelsPerInch = 0;                                  // logical
  int MemoryLoad = 0;                                     // per cent of physical memory in use
  std::int64_t TotalPhysical = 0, AvailablePhysical = 0;  // bytes
  std::int64_t TotalPageFile = 0, AvailablePageFile = 0;  // swap
  std::int64_t TotalVirtual = 0, AvailableVirtual = 0;    // address space of the process
  QString UserLanguage, SystemLanguage;
  QString UserCountry, SystemCountry;
  QString ShortDateFormat, LongDateFormat;
  QString ShortTimeFormat, LongTimeFormat;
};

// The program's settings as the main window holds them.
struct TReportPreferences {
  QString FileName;  // the preferences file, without its folder
  int LastZoom = 100;
  QString FontName;
  int FontSize = 10;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  std::uint32_t Color = 0;
  bool ShowHints = true;
  int TopMarginNudge = 0;
  int LeftMarginNudge = 0;
  int VerticalSpacing = 0;
  int HorizontalSpacing = 0;
};

// A count with thousands separators and no decimals, in numbers' format.
QString ThousandsText(std::int64_t value, const QLocale& numbers);
// "65,536 colors" and the like, from the display's bits per pixel.
QString ColorCountText(int bitsPerPixel, const QLocale& numbers);
// Small, large or custom fonts, from the screen's pixels per inch.
QString FontSizeText(int pixelsPerInch);

QStringList ConfigurationReport(const TSystemFacts& system, const TReportPreferences& preferences,
                                const QLocale& numbers);

// The facts of this system; the screen is that of widget (the primary
// screen without one). Figures that cannot be read are 0.
TSystemFacts ReadSystemFacts(const QWidget* widget);
