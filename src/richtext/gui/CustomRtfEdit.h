#pragma once
// The editor control: a window that shows one rich text document, owns it,
// and paints it on its own window or, through PaintToCanvas, into any
// rectangle of any canvas (the page panel's labels, the printer).
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "richtext/gui/Canvas.h"
#include "richtext/gui/RtfTextInput.h"

class QScrollBar;

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TWPBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TWPMemoryFormat : std::uint8_t { fmRichText, fmPlainText };

// What a PaintToCanvas call does.
enum TPaintToCanvasMode : int {
  kPaintMeasureOnly = 0,  // works out which lines fit, paints nothing
  kPaintLines = 1,
  kPaintBeginBatch = 2,  // lays out for the canvas once for the calls that follow
  kPaintEndBatch = 4,    // gives the control its own layout back
};

// The control's font: name, size in points, style bits (TAttr::Style) and colour.
struct TWPFont {
  std::string Name = "Arial";
  int Size = 10;
  std::uint8_t Style = 0;
  TColor Color = 0;
  bool operator==(const TWPFont&) const = default;
};

// A background picture: a bitmap, or a metafile, which the control refuses.
struct TWPPicture {
  QImage Bitmap;
  bool Metafile = false;
};

// The message of a metafile given as background picture.
extern const char* const kPleaseUseBitmap;

class TWPCustomRtfEdit : public QWidget {
  Q_OBJECT

 public:
  explicit TWPCustomRtfEdit(QWidget* parent = nullptr);
  ~TWPCustomRtfEdit() override;

  // The owned document.
  TWPRTFTextInput* RtfText() const { return FDocument.get(); }
  // The document becomes a copy of source.
  void SetRtfText(const TWPRTFTextIo& source);

  // --- properties ------------------------------------------------------------
  bool ReadOnly() const { return FDocument->ReadOnly; }
  void SetReadOnly(bool on) { FDocument->ReadOnly = on; }
  bool WordWrap() const { return FDocument->WordWrap(); }
  void SetWordWrap(bool on);
  int Zooming() const { return FDocument->Zooming(); }
  void SetZooming(int percent);
  int Resizing() const { return FDocument->Resizing(); }
  void SetResizing(int percent);
  bool Inserting() const { return FDocument->Inserting; }
  void SetInserting(bool on) { FDocument->Inserting = on; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool on);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle style);
  // WantTabs, DragAndDropSupport, HyperLinkCursor, OneClickHyperlink and
  // CaretDisabled are read by the caret, keyboard and mouse handling, which
  // is still to come.
  bool WantTabs = true;
  bool DragAndDropSupport = false;
  TWPBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TWPBorderStyle style);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  const TWPFont& Font() const { return FFont; }
  void SetFont(const TWPFont& font);
  Qt::CursorShape HyperLinkCursor = Qt::ArrowCursor;
  bool NoBlockMarking() const { return FNoBlockMarking; }
  void SetNoBlockMarking(bool on);
  bool OneClickHyperlink = false;
  bool ShowPageBreak() const { return FShowPageBreak; }
  void SetShowPageBreak(bool on);
  const TWPPicture& BackgroundImage() const { return FBackgroundImage; }
  // Raises "Please use Bitmap." for a metafile.
  void SetBackgroundImage(const TWPPicture& picture);
  bool BackgroundScrolling() const { return FDocument->BackgroundScrolling; }
  void SetBackgroundScrolling(bool on);
  bool CaretDisabled = false;
  int TopOffset() const { return FTopOffset; }
  void SetTopOffset(int pixels);
  int LeftOffset() const { return FLeftOffset; }
  void SetLeftOffset(int pixels);
  TCharacterAttr& InsertPointAttr() { return FDocument->InsertPointAttr; }
  TCharacterAttr& AutomaticTextAttr() { return FDocument->AutomaticTextAttr; }
  TCharacterAttr& HyperlinkTextAttr() { return FDocument->HyperlinkTextAttr; }
  TCharacterAttr& ProtectedTextAttr() { return FDocument->ProtectedTextAttr; }
  TProtectProps ProtectedProp() const { return FDocument->ProtectedProp; }
  void SetProtectedProp(TProtectProps props) { FDocument->ProtectedProp = props; }
  TWPMemoryFormat MemoryFormat() const { return FDocument->IsPlainMode() ? fmPlainText : fmRichText; }
  void SetMemoryFormat(TWPMemoryFormat format);
  TWPLoadFormat SaveFormat() const { return FDocument->SaveFormat; }
  void SetSaveFormat(TWPLoadFormat format) { FDocument->SaveFormat = format; }
  TWPLoadFormat LoadFormat() const { return FDocument->LoadFormat; }
  void SetLoadFormat(TWPLoadFormat format) { FDocument->LoadFormat = format; }
  bool WriteBitmapAsDib() const { return FDocument->WriteBitmapAsDib; }
  void SetWriteBitmapAsDib(bool on) { FDocument->WriteBitmapAsDib = on; }
  // How PaintToCanvas paints (TPaintSwitch bits): 0 on screen, psTransparent for the printer.
  std::uint8_t PaintSwitches = 0;

  // Events.
  std::function<void(TWPCustomRtfEdit* sender)> OnChange;
  std::function<void(TWPCustomRtfEdit* sender)> OnClick;
  std::function<void(TWPCustomRtfEdit* sender)> OnEnter;
  std::function<void(TWPCustomRtfEdit* sender, char& key)> OnKeyPress;

  // --- operations -----------------------------------------------------------------
  // Lays out and paints the document into (x, y, width, height) of canvas,
  // starting with line startLine. Mode 0 measures, 1 paints, 2 begins and 4
  // ends a batch of calls. The index of the first line that did not fit, 0
  // when everything was painted.
  int PaintToCanvas(TWPCanvas* canvas, int x, int y, int width, int height, int startLine,
                    TPaintToCanvasMode mode);
  // Bottom of the last line in pixels; 0 for a document without paragraphs.
  int DocumentHeight();
  int FontNumber(const std::string& name);
  TColor ColorOfNumber(int number) const;
  // Twips; -1000 keeps a value.
  void SetPageSizeAndMargins(int leftMargin, int rightMargin, int pageHeight, int pageWidth, int bottomMargin,
                             int topMargin);
  void Clear();
  // Whether editing operations may change the document.
  bool EditingAllowed() const { return !FDocument->ReadOnly; }

  int ClientWidth() const;
  int ClientHeight() const;
  int BorderWidth() const { return FBorderStyle == bsSingle ? 2 : 0; }
  void UpdateScrollBars();
  QScrollBar* HorzScrollBar() const { return FHorzBar; }
  QScrollBar* VertScrollBar() const { return FVertBar; }

  void setVisible(bool visible) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // Fires OnChange.
  virtual void Change();

 private:
  void HookDocument();
  void ApplyClientSize();
  void ScrollVertTo(int position);
  void ScrollHorzTo(int position);
  void PlaceScrollBars();
  void SaveLayoutState();
  void RestoreLayoutState();

  std::unique_ptr<TWPRTFTextInput> FDocument;
  TWPCanvas FScreenCanvas;
  QScrollBar* FHorzBar = nullptr;
  QScrollBar* FVertBar = nullptr;
  bool FTransparent = false;
  TScrollStyle FScrollBars = ssNone;
  TWPBorderStyle FBorderStyle = bsSingle;
  TColor FColor = 0xFFFFFF;
  TWPFont FFont;
  bool FNoBlockMarking = false;
  bool FShowPageBreak = true;
  TWPPicture FBackgroundImage;
  int FTopOffset = 0;
  int FLeftOffset = 0;
  bool FVisible = true;
  bool FUpdatingBars = false;
  int FRepaintSkip = 0;

  // Layout state kept across a PaintToCanvas call or batch.
  bool FInBatch = false;
  bool FSavedWordWrap = true;
  std::uint32_t FSavedOptions = 0;
  int FSavedHorzOffset = 0;
};
