#include "labelpage/LabelRenderer.h"

#include "richtext/Fingerprint.h"
#include "richtext/gui/RtfTextPaint.h"

// One label's text, laid out, and what the layout was made for. The entry
// and its document are reused when the label's text changes.
struct TLabelRenderer::TEntry {
  TWPRTFTextPaint Document;
  bool HasText = false;
  std::uint64_t Fingerprint = 0;
  // Measures at the target's resolution; the layout keeps using it.
  std::unique_ptr<TWPCanvas> Measure;
  bool LaidOut = false;
  int Zoom = 0;
  int Width = 0;
  std::uint32_t Options = 0;

  bool MeasuresFor(const TWPCanvas& target) const {
    return Measure && Measure->PixelsPerInchX() == target.PixelsPerInchX() &&
           Measure->PixelsPerInchY() == target.PixelsPerInchY() &&
           Measure->Technology() == target.Technology();
  }
  bool LaidOutFor(const TWPCanvas& target, int zoom, int width, std::uint32_t options) const {
    return LaidOut && MeasuresFor(target) && Zoom == zoom && Width == width && Options == options;
  }
};

TLabelRenderer::TLabelRenderer() = default;
TLabelRenderer::~TLabelRenderer() = default;

void TLabelRenderer::Clear() {
  for (auto& entry : FEntries) entry.reset();
}

int TLabelRenderer::Render(const TLabelSheet& sheet, int n, QPainter& painter, const QRect& area, int zoom,
                           std::uint8_t switches) {
  const TLabelDocument* text = sheet.CellText(n);
  if (!text) return 0;
  std::unique_ptr<TEntry>& slot = FEntries[n - 1];
  if (!slot) slot = std::make_unique<TEntry>();
  TEntry& entry = *slot;
  TWPRTFTextPaint& document = entry.Document;
  const std::uint64_t fingerprint = ContentFingerprint(*text);
  if (!entry.HasText || entry.Fingerprint != fingerprint) {
    entry.HasText = entry.LaidOut = false;
    // Frozen until it is laid out for a target: the copy itself lays out nothing.
    document.SetPaintOptions(poLayoutLocked | poForeignCanvas);
    document.Assign(*text);
    entry.Fingerprint = fingerprint;
    entry.HasText = true;
  }
  TWPCanvas target(&painter, painter.device());
  if (zoom <= 0) zoom = 100;
  const std::uint32_t options = ForeignPaintOptions(switches);
  if (!entry.LaidOutFor(target, zoom, area.width(), options)) {
    const int before = document.ReformatCount();
    entry.LaidOut = false;
    try {
      document.SetPaintOptions(poLayoutLocked | poForeignCanvas);
      document.SetCanvas(nullptr);  // not the measuring canvas that may go now
      if (!entry.MeasuresFor(target))
        entry.Measure = std::make_unique<TWPCanvas>(target.PixelsPerInchX(), target.PixelsPerInchY(),
                                                    target.Technology());
      document.SetZooming(zoom);
      document.LayOutForCanvas(entry.Measure.get(), area.width(), options);
    } catch (...) {
      FLayoutCount += document.ReformatCount() - before;
      throw;  // laid out afresh next time
    }
    FLayoutCount += document.ReformatCount() - before;
    entry.LaidOut = true;
    entry.Zoom = zoom;
    entry.Width = area.width();
    entry.Options = options;
  }
  const TPaintPass pass{&target, area.x(), area.y(), 0, 0, area.height(), options};
  return document.PaintLinesFrom(pass, 0, true, (switches & psStopAtPageBreak) != 0);
}
