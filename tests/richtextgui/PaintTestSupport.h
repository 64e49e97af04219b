#pragma once
// Helpers shared by the layout and painting tests.
#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <string>

#include "richtext/Paragraph.h"
#include "richtext/RtfTextIo.h"
#include "richtext/Stream.h"

namespace painttest {

// A character record of the given size in points, style bits and colours.
inline TAttr Attr(int size = 10, std::uint8_t style = 0, std::uint8_t colors = 0) {
  TAttr a{};
  a.Size = static_cast<std::uint8_t>(size);
  a.Style = style;
  a.Colors = colors;
  return a;
}

inline bool Dark(QRgb p) { return qGray(p) < 128; }
inline bool NotWhite(QRgb p) { return p != qRgb(255, 255, 255); }

// A white image of the given resolution to paint into.
inline QImage WhiteImage(int width, int height, int ppi = 96) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(ppi / 0.0254));
  image.setDotsPerMeterY(qRound(ppi / 0.0254));
  image.fill(Qt::white);
  return image;
}

// Bounding box of the pixels within area that count as ink.
inline QRect InkBox(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& ink = NotWhite) {
  QRect box;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x)
      if (ink(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
  return box;
}
inline QRect InkBox(const QImage& image) { return InkBox(image, image.rect()); }

// Replaces the document's contents with what the RTF text holds.
inline void LoadRtf(TWPRTFTextIo& doc, const std::string& rtf) {
  TMemoryStream stream;
  stream.WriteBuffer(rtf.data(), static_cast<std::int64_t>(rtf.size()));
  stream.SetPosition(0);
  doc.Clear();
  doc.LoadFromStream(stream);
}

}  // namespace painttest
