#include "labelpage/KLXPagePanel.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <exception>

#include "labelpage/LabelPageFile.h"

namespace {

const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor FrameGrey(0x80, 0x80, 0x80);

// The screen's vertical logical pixels per inch, taken once for the whole run.
int ScreenPixelsPerInch() {
  static const int ppi = [] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int value = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    return value > 0 ? value : 96;
  }();
  return ppi;
}

// The outline of a rectangle whose right and bottom edges lie outside it.
QRect OutlineRect(const TCellRect& r) {
  return QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
}

// The label's outline: corners of a 10 x 10 ellipse, whatever the zoom.
// Smoothed, with the straight edges on whole pixels.
void DrawRoundedOutline(QPainter& painter, const TCellRect& r) {
  if (r.Right - r.Left < 2 || r.Bottom - r.Top < 2) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Silver, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(OutlineRect(r)).translated(0.5, 0.5), 5, 5, Qt::AbsoluteSize);
  painter.restore();
}

// One silver stripe segment from design-pixel offsets (left, top) to (right,
// bottom) of the label's corner.
struct TStripe {
  int Left, Top, Right, Bottom;
};
constexpr TStripe SegmentedStripe[] = {{1, 5, 16, 16},    {19, 5, 161, 16}, {167, 5, 306, 16},
                                       {311, 5, 329, 16}, {0, 38, 16, 39},  {311, 38, 329, 39}};
constexpr TStripe FullStripe[] = {{1, 5, 329, 16}};

}  // namespace

TKLXPagePanel::TKLXPagePanel(QWidget* parent) : QWidget(parent), FPixelsPerInch(ScreenPixelsPerInch()) {
  // The whole sheet is painted from one image, so nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  resize(0, 0);
}

TKLXPagePanel::~TKLXPagePanel() = default;

void TKLXPagePanel::FillLayoutNames(std::vector<std::string>& items) const {
  for (int i = 1; i <= FLayouts.Count(); ++i) items.push_back(FLayouts[i].LayoutName);
}

void TKLXPagePanel::DescribeLayout(const std::string& name, QStringList& lines) const {
  ::DescribeLayout(FLayouts, name, lines);
}

void TKLXPagePanel::SetLayout(const std::string& name, bool keepContents) {
  FSheet.SetLayout(FLayouts.FindLast(name), keepContents);
  LayOutCells();
  ResizeToPage();
  update();
}

void TKLXPagePanel::SaveToFile(const std::string& path) const { TLabelPageFile::Save(path, FSheet); }

void TKLXPagePanel::LoadFromFile(const std::string& path) {
  std::exception_ptr failure;
  FRenderer.Clear();
  try {
    TLabelPageFile::Load(path, FSheet);
  } catch (...) {
    failure = std::current_exception();
  }
  // Also after a failed load, which may have left the file's layout current.
  LayOutCells();
  ResizeToPage();
  update();
  if (failure) std::rethrow_exception(failure);
}

void TKLXPagePanel::SetMagnification(int percent) {
  if (percent == FMagnification) return;
  FMagnification = percent;
  LayOutCells();
  ResizeToPage();
  update();
  QCoreApplication::processEvents();
}

void TKLXPagePanel::SetPixelsPerInch(int pixelsPerInch) {
  FPixelsPerInch = pixelsPerInch;
  LayOutCells();
  ResizeToPage();
  update();
}

void TKLXPagePanel::ResizeToPage() {
  const TScreenScale scale = Scale();
  resize(std::max(scale.Length(LayoutDescription().PageWidth), 0),
         std::max(scale.Length(LayoutDescription().PageHeight), 0));
}

// Painting recomputes the rectangles as well; doing it here too lets a label
// be opened before the panel was first painted. Labels the sheet no longer
// has keep no rectangles.
void TKLXPagePanel::LayOutCells() {
  const TScreenScale scale = Scale();
  for (int n = 1; n <= MaxLabelsPerPage; ++n)
    FCells[n] = n <= LabelsPerPage() ? scale.Cell(LayoutDescription(), n) : TCellRecord{};
}

void TKLXPagePanel::SetSelectedCell(int n) {
  if (n == FSelectedCell) return;
  if (TOneBasedArray<TCellRecord, MaxLabelsPerPage>::InRange(FSelectedCell))
    update(SelectionFrameBounds(FSelectedCell));
  FSelectedCell = n;
  if (TOneBasedArray<TCellRecord, MaxLabelsPerPage>::InRange(n)) update(SelectionFrameBounds(n));
}

QRect TKLXPagePanel::SelectionFrameBounds(int n) const {
  const TCellRect& r = FCells[n].rFree;
  return QRect(QPoint(r.Left - 1, r.Top - 1), QPoint(r.Right + 1, r.Bottom + 1));
}

void TKLXPagePanel::DrawSelectionFrame(QPainter& painter, int n) const {
  QPen dotted(FrameGrey);
  dotted.setStyle(Qt::DotLine);
  painter.setPen(dotted);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(SelectionFrameBounds(n).adjusted(0, 0, -1, -1));
}

void TKLXPagePanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (FPageImage.size() != size()) FPageImage = QImage(size(), QImage::Format_RGB32);
  if (FPageImage.isNull()) {
    painter.fillRect(rect(), Qt::white);
    return;
  }
  FPageImage.fill(Qt::white);
  PaintSheet(FPageImage);
  RenderLabelTexts(FPageImage);
  painter.drawImage(0, 0, FPageImage);
  // The selection frame goes straight onto the panel, never into the image,
  // so moving it only needs the page image under the old frame again.
  if (TOneBasedArray<TCellRecord, MaxLabelsPerPage>::InRange(FSelectedCell) &&
      FSelectedCell <= LabelsPerPage())
    DrawSelectionFrame(painter, FSelectedCell);
  // The panel's single border.
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TKLXPagePanel::PaintSheet(QImage& page) {
  QPainter painter(&page);
  const TScreenScale scale = Scale();
  const auto drawStripes = [&](const TCellRect& outline, const auto& stripes) {
    for (const TStripe& s : stripes) {
      const int left = outline.Left + scale.Zoomed(s.Left), top = outline.Top + scale.Zoomed(s.Top);
      const int right = outline.Left + scale.Zoomed(s.Right), bottom = outline.Top + scale.Zoomed(s.Bottom);
      if (right > left && bottom > top)
        painter.fillRect(QRect(left, top, right - left, bottom - top), Silver);
    }
  };
  const TLabelLayoutRecord& layout = LayoutDescription();
  for (int n = 1; n <= LabelsPerPage(); ++n) {
    const TCellRecord cell = scale.Cell(layout, n);
    DrawRoundedOutline(painter, cell.rTotal);
    if (layout.StripeStyle == stSegmented) drawStripes(cell.rTotal, SegmentedStripe);
    if (layout.StripeStyle == stFull) drawStripes(cell.rTotal, FullStripe);
    FCells[n] = cell;
  }
}

void TKLXPagePanel::RenderLabelTexts(QImage& page) {
  // Each label's text area is painted into a reusable scratch image at the
  // current zoom and stretched onto rFree. The white image covers whatever
  // of the outline and stripes lies in the text area. An empty label paints
  // nothing on its scratch image, unless its paragraph has a border to draw,
  // so its text area is simply filled white.
  const TScreenScale scale = Scale();
  QPainter painter(&page);
  // The scratch image is a pixel larger than rFree each way: filter the
  // squeeze so that no row or column of the text is simply dropped.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (int n = 1; n <= LabelsPerPage(); ++n) {
    const TCellRect& r = FCells[n].rFree;
    const int fw = r.Right - r.Left + 1, fh = r.Bottom - r.Top + 1;
    if (fw <= 1 || fh <= 1) continue;
    const QRect target(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    const TWPRTFTextIo* text = FSheet.CellText(n);
    if (!text ||
        (text->IsEmpty() && !(text->FirstParagraph && (text->FirstParagraph->BorderFlags & kBorderOn)))) {
      painter.fillRect(target, Qt::white);
      continue;
    }
    if (FLabelScratch.width() != fw || FLabelScratch.height() != fh) {
      FLabelScratch = QImage(fw, fh, QImage::Format_RGB32);
      FLabelScratch.setDotsPerMeterX(qRound(FPixelsPerInch / 0.0254));
      FLabelScratch.setDotsPerMeterY(qRound(FPixelsPerInch / 0.0254));
    }
    FLabelScratch.fill(Qt::white);
    bool painted = true;
    {
      QPainter scratch(&FLabelScratch);
      try {
        FRenderer.Render(FSheet, n, scratch, QRect(0, 0, fw, fh + scale.Design(15)), FMagnification, 0);
      } catch (const std::exception&) {
        // A label whose text cannot be laid out stays white; the paint event
        // must not end in an exception, and the other labels still show.
        painted = false;
      }
    }
    if (!painted) FLabelScratch.fill(Qt::white);
    painter.drawImage(target, FLabelScratch);
  }
}

void TKLXPagePanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FLeftButtonPressed = true;
  event->accept();
}

void TKLXPagePanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && FLeftButtonPressed) {
    FLeftButtonPressed = false;
    const QPoint position = event->position().toPoint();
    if (rect().contains(position)) Click(position);
  }
  event->accept();
}

// The second press of a double click does nothing: its release clicks
// nothing, so a double click acts as one click.
void TKLXPagePanel::mouseDoubleClickEvent(QMouseEvent* event) {
  FLeftButtonPressed = false;
  event->accept();
}

void TKLXPagePanel::Click(QPoint position) {
  for (int n = 1; n <= LabelsPerPage(); ++n) {
    if (FCells[n].rTotal.Contains(position.x(), position.y())) {
      FireClickedInCell(n);
      return;
    }
  }
  if (OnClick) OnClick(this);
}

void TKLXPagePanel::FireClickedInCell(int n) {
  if (!ClickedInCellEvent) return;
  const TCellRecord cell = FCells[n];
  ClickedInCellEvent(this, cell.rTotal, cell.rFree, n, FSheet.Storage(n));
}

void TKLXPagePanel::OpenCell(int n) {
  if (n >= 1 && n <= LabelsPerPage()) FireClickedInCell(n);
}

void TKLXPagePanel::OpenPreviousCell(int n) {
  if (n <= 1 || n - 1 > LabelsPerPage()) return;
  if (!FCells[n - 1].rFree.IsZero()) FireClickedInCell(n - 1);
}

void TKLXPagePanel::OpenNextCell(int n) {
  if (n < 0 || n >= LabelsPerPage()) return;
  if (!FCells[n + 1].rFree.IsZero()) FireClickedInCell(n + 1);
}

// A cleared label forgets its rectangles; one that could not be cleared keeps them.
void TKLXPagePanel::ClearCell(int n) {
  if (FSheet.ClearCell(n)) FCells[n] = TCellRecord{};
}

void TKLXPagePanel::ClearAllCells() {
  for (int n = 1; n <= LabelsPerPage(); ++n) ClearCell(n);
}

void TKLXPagePanel::ClearCellsFrom(int n) {
  for (int i = std::max(n, 1); i <= MaxLabelsPerPage; ++i) ClearCell(i);
}
