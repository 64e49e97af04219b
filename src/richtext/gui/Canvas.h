#pragma once
// The one drawing surface of the engine: a QPainter on a widget, an image or
// a printer, together with the device's pixels per inch and the selected
// font, pen and brush. A canvas without a painter still measures.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <memory>
#include <string>

#include "richtext/gui/FontCache.h"

// Device technology numbers as the layout knows them.
constexpr int kTechRasterDisplay = 1;
constexpr int kTechRasterPrinter = 2;
constexpr int kTechMetafile = 5;

// 0x00BBGGRR to QColor and back.
QColor ColorFromRgb(std::uint32_t rgb);
std::uint32_t RgbFromColor(const QColor& color);

// A rectangle given by its edges, right and bottom excluded.
inline QRect EdgeRect(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left, bottom - top);
}

class TWPCanvas {
 public:
  // Measuring only (no painter), at the device's resolution.
  explicit TWPCanvas(const QPaintDevice* device);
  // Paints with its own painter on device for the canvas's lifetime.
  explicit TWPCanvas(QPaintDevice* device, bool ownPainter);
  // Paints through a painter that the caller keeps active.
  TWPCanvas(QPainter* painter, const QPaintDevice* device);
  // Measuring only, at a given resolution.
  TWPCanvas(int ppiX, int ppiY, int technology = kTechRasterDisplay);
  ~TWPCanvas();
  TWPCanvas(const TWPCanvas&) = delete;
  TWPCanvas& operator=(const TWPCanvas&) = delete;

  bool CanPaint() const { return FPainter != nullptr && FPainter->isActive(); }
  int PixelsPerInchX() const { return FPpiX; }
  int PixelsPerInchY() const { return FPpiY; }
  int Technology() const { return FTechnology; }

  // Font: points at a resolution become a pixel size with MulDiv(points, ppi, 72).
  void SetFont(const std::string& name, int points, int pixelsPerInch, std::uint8_t style);
  void SetFontName(const std::string& name);
  const std::string& FontName() const { return FFontName; }
  int FontSize() const { return FFontSize; }
  std::uint8_t FontStyle() const { return FFontStyle; }
  const TWPFontEntry& Font();
  int TextWidth(const char* bytes, int length);
  int TextWidth(const std::string& bytes) { return TextWidth(bytes.data(), static_cast<int>(bytes.size())); }

  QColor FontColor{Qt::black};
  QColor BrushColor{Qt::white};
  bool BrushClear = false;
  QColor PenColor{Qt::black};
  Qt::PenStyle PenStyle = Qt::SolidLine;
  int PenWidth = 1;

  void FillRect(const QRect& rect, const QColor& color);
  void FillRect(const QRect& rect) { FillRect(rect, BrushColor); }
  // A line with the pen; the end point itself is not drawn, as on the screen.
  void Line(int x1, int y1, int x2, int y2);
  // Outline with the pen, filled with the brush unless it is clear.
  void Rectangle(const QRect& rect);
  // Text with its top-left corner at (x, y).
  void TextOut(int x, int y, const std::string& bytes);
  // A run of bytes on the baseline at x with one advance per byte; with
  // opaque the cell is filled with the brush colour first.
  void TextRun(int x, int baseline, const char* bytes, int length, const int* advances,
               const QRect* opaque = nullptr);
  void DrawImage(const QRect& target, const QImage& image);
  // Fills rect with copies of tile, the first one at origin.
  void TileImage(const QRect& rect, const QImage& tile, QPoint origin);
  // Clips to rect within the painter's own clip; ClearClip gives that back.
  void SetClipRect(const QRect& rect);
  void ClearClip();

 private:
  void InitDevice(const QPaintDevice* device);
  QPen MakePen() const;

  std::unique_ptr<QPainter> FOwnPainter;
  QPainter* FPainter = nullptr;
  int FPpiX = 96;
  int FPpiY = 96;
  int FTechnology = kTechRasterDisplay;
  std::string FFontName = "Arial";
  int FFontSize = 10;
  int FFontPpi = 96;
  std::uint8_t FFontStyle = 0;
  const TWPFontEntry* FFont = nullptr;
  bool FHadClip = false;
  QRegion FOuterClip;
};
