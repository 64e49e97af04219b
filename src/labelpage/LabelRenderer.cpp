#include "labelpage/LabelRenderer.h"

#include "richtext/Fingerprint.h"
#include "richtext/gui/RtfTextPaint.h"

// One label's text, laid out, and what the layout was made for.
struct TLabelRenderer::TEntry {
  TWPRTFTextPaint Document;
  std::uint64_t Fingerprint = 0;
  // Measures at the target's resolution; the layout keeps using it.
  std::unique_ptr<TWPCanvas> Measure;
  int Zoom = 0;
  int Width = 0;
  std::uint32_t Options = 0;

  bool LaidOutFor(const TWPCanvas& target, int zoom, int width, std::uint32_t options) const {
    return Measure && Measure->PixelsPerInchX() == target.PixelsPerInchX() &&
           Measure->PixelsPerInchY() == target.PixelsPerInchY() &&
           Measure->Technology() == target.Technology() && Zoom == zoom && Width == width &&
           Options == options;
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
  const std::uint64_t fingerprint = ContentFingerprint(*text);
  if (!slot || slot->Fingerprint != fingerprint) {
    slot.reset();
    auto entry = std::make_unique<TEntry>();
    // Frozen until it is laid out for a target: the copy itself lays out nothing.
    entry->Document.SetPaintOptions(poLayoutLocked | poForeignCanvas);
    entry->Document.Assign(*text);
    entry->Fingerprint = fingerprint;
    slot = std::move(entry);
  }
  TEntry& entry = *slot;
  TWPCanvas target(&painter, painter.device());
  if (zoom <= 0) zoom = 100;
  const std::uint32_t options = ForeignPaintOptions(switches);
  if (!entry.LaidOutFor(target, zoom, area.width(), options)) {
    TWPRTFTextPaint& document = entry.Document;
    const int before = document.ReformatCount();
    try {
      entry.Measure =
          std::make_unique<TWPCanvas>(target.PixelsPerInchX(), target.PixelsPerInchY(), target.Technology());
      document.SetPaintOptions(poLayoutLocked | poForeignCanvas);
      document.SetZooming(zoom);
      document.LayOutForCanvas(entry.Measure.get(), area.width(), options);
    } catch (...) {
      FLayoutCount += document.ReformatCount() - before;
      slot.reset();  // tried afresh next time
      throw;
    }
    FLayoutCount += document.ReformatCount() - before;
    entry.Zoom = zoom;
    entry.Width = area.width();
    entry.Options = options;
  }
  const TPaintPass pass{&target, area.x(), area.y(), 0, 0, area.height(), options};
  return entry.Document.PaintLinesFrom(pass, 0, true, (switches & psStopAtPageBreak) != 0);
}
