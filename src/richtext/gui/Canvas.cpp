#include "richtext/gui/Canvas.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPointF>
#include <QVarLengthArray>
#include <algorithm>

#include "richtext/MulDiv.h"
#include "richtext/gui/AnsiCodec.h"

QColor ColorFromRgb(std::uint32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

std::uint32_t RgbFromColor(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) | (static_cast<std::uint32_t>(color.green()) << 8) |
         (static_cast<std::uint32_t>(color.blue()) << 16);
}

TWPCanvas::TWPCanvas(const QPaintDevice* device) { InitDevice(device); }

TWPCanvas::TWPCanvas(QPaintDevice* device, bool ownPainter) {
  InitDevice(device);
  if (ownPainter) {
    FOwnPainter = std::make_unique<QPainter>(device);
    FPainter = FOwnPainter.get();
  }
}

TWPCanvas::TWPCanvas(QPainter* painter, const QPaintDevice* device) : FPainter(painter) {
  InitDevice(device ? device : painter->device());
}

TWPCanvas::TWPCanvas(int ppiX, int ppiY, int technology)
    : FPpiX(ppiX), FPpiY(ppiY), FTechnology(technology), FFontPpi(ppiY) {}

TWPCanvas::~TWPCanvas() {
  if (FOwnPainter && FOwnPainter->isActive()) FOwnPainter->end();
}

void TWPCanvas::InitDevice(const QPaintDevice* device) {
  if (!device) return;
  FPpiX = device->logicalDpiX();
  FPpiY = device->logicalDpiY();
  FTechnology = device->devType() == QInternal::Printer ? kTechRasterPrinter : kTechRasterDisplay;
  FFontPpi = FPpiY;
}

void TWPCanvas::SetFont(const std::string& name, int points, int pixelsPerInch, std::uint8_t style) {
  if (name != FFontName || points != FFontSize || pixelsPerInch != FFontPpi || style != FFontStyle) {
    FFontName = name;
    FFontSize = points;
    FFontPpi = pixelsPerInch;
    FFontStyle = style;
    FFont = nullptr;
  }
}

void TWPCanvas::SetFontName(const std::string& name) { SetFont(name, FFontSize, FFontPpi, FFontStyle); }

const TWPFontEntry& TWPCanvas::Font() {
  if (!FFont) FFont = &TWPFontCache::Instance().Find(FFontName, MulDiv(FFontSize, FFontPpi, 72), FFontStyle);
  return *FFont;
}

int TWPCanvas::TextWidth(const char* bytes, int length) {
  const TWPFontEntry& font = Font();
  int width = 0;
  for (int i = 0; i < length; ++i) width += font.Widths[static_cast<unsigned char>(bytes[i])];
  return width;
}

QPen TWPCanvas::MakePen() const {
  QPen pen(PenColor);
  pen.setStyle(PenStyle);
  pen.setWidth(std::max(PenWidth, 1));
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

void TWPCanvas::FillRect(const QRect& rect, const QColor& color) {
  if (CanPaint() && rect.isValid()) FPainter->fillRect(rect, color);
}

void TWPCanvas::Line(int x1, int y1, int x2, int y2) {
  if (!CanPaint() || (x1 == x2 && y1 == y2)) return;
  // The pixel at the end point is left out: shorten by one along the line.
  const int dx = (x2 > x1) - (x2 < x1);
  const int dy = (y2 > y1) - (y2 < y1);
  if (PenStyle == Qt::SolidLine && (dx == 0 || dy == 0)) {
    // Straight solid lines as rectangles: exact ends and widths at any pen width.
    const int w = std::max(PenWidth, 1);
    const int off = (w - 1) / 2;
    const QRect span = dy == 0 ? EdgeRect(dx > 0 ? x1 : x2 + 1, y1 - off, dx > 0 ? x2 : x1 + 1, y1 - off + w)
                               : EdgeRect(x1 - off, dy > 0 ? y1 : y2 + 1, x1 - off + w, dy > 0 ? y2 : y1 + 1);
    FPainter->fillRect(span, PenColor);
    return;
  }
  QPen pen = MakePen();
  if (PenWidth <= 1) pen.setCosmetic(true);
  FPainter->setPen(pen);
  FPainter->drawLine(x1, y1, x2 - dx, y2 - dy);
}

void TWPCanvas::Rectangle(const QRect& rect) {
  if (!CanPaint() || !rect.isValid()) return;
  if (!BrushClear) FPainter->fillRect(rect, BrushColor);
  FPainter->setPen(MakePen());
  FPainter->setBrush(Qt::NoBrush);
  FPainter->drawRect(rect.adjusted(0, 0, -1, -1));
}

void TWPCanvas::TextOut(int x, int y, const std::string& bytes) {
  if (!CanPaint() || bytes.empty()) return;
  const TWPFontEntry& font = Font();
  QVarLengthArray<int, 64> advances(static_cast<int>(bytes.size()));
  for (int i = 0; i < advances.size(); ++i) advances[i] = font.Widths[static_cast<unsigned char>(bytes[i])];
  TextRun(x, y + font.Ascent, bytes.data(), static_cast<int>(bytes.size()), advances.data());
}

void TWPCanvas::TextRun(int x, int baseline, const char* bytes, int length, const int* advances,
                        const QRect* opaque) {
  if (!CanPaint()) return;
  if (opaque) FPainter->fillRect(*opaque, BrushColor);
  if (length <= 0) return;
  const TWPFontEntry& font = Font();
  QVarLengthArray<quint32, 128> glyphs;
  QVarLengthArray<QPointF, 128> positions;
  bool missing = false;
  int offset = 0;
  for (int i = 0; i < length; ++i) {
    const auto code = static_cast<unsigned char>(bytes[i]);
    if (code > 32) {
      const quint32 glyph = font.Glyphs[code];
      missing |= glyph == 0;
      glyphs.append(glyph);
      positions.append(QPointF(offset + font.Shifts[code], 0));
    }
    offset += advances[i];
  }
  if (glyphs.isEmpty()) return;
  FPainter->setPen(FontColor);
  if (!missing && font.Raw.isValid()) {
    QGlyphRun run;
    run.setRawFont(font.Raw);
    run.setGlyphIndexes(QList<quint32>(glyphs.begin(), glyphs.end()));
    run.setPositions(QList<QPointF>(positions.begin(), positions.end()));
    run.setStrikeOut(font.Font.strikeOut());
    FPainter->drawGlyphRun(QPointF(x, baseline), run);
    return;
  }
  // A glyph the font lacks: let the font system find a fallback, byte by byte.
  FPainter->setFont(font.Font);
  offset = 0;
  for (int i = 0; i < length; ++i) {
    const auto code = static_cast<unsigned char>(bytes[i]);
    if (code > 32)
      FPainter->drawText(QPointF(x + offset + font.Shifts[code], baseline),
                         wpansi::ToQString(&bytes[i], 1, font.Symbol));
    offset += advances[i];
  }
}

void TWPCanvas::DrawImage(const QRect& target, const QImage& image) {
  if (CanPaint() && !image.isNull() && target.isValid()) FPainter->drawImage(target, image);
}

void TWPCanvas::TileImage(const QRect& rect, const QImage& tile, QPoint origin) {
  if (!CanPaint() || tile.isNull() || !rect.isValid()) return;
  const QPoint oldOrigin = FPainter->brushOrigin();
  FPainter->setBrushOrigin(origin);
  FPainter->fillRect(rect, QBrush(tile));
  FPainter->setBrushOrigin(oldOrigin);
}

void TWPCanvas::SetClipRect(const QRect& rect) {
  if (!CanPaint()) return;
  FHadClip = FPainter->hasClipping();
  if (FHadClip) FOuterClip = FPainter->clipRegion();
  FPainter->setClipRect(rect, FHadClip ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TWPCanvas::ClearClip() {
  if (!CanPaint()) return;
  if (FHadClip)
    FPainter->setClipRegion(FOuterClip);
  else
    FPainter->setClipping(false);
  FHadClip = false;
}
