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
#include "richtext/gui/Caret.h"
#include "richtext/gui/RtfTextInput.h"
#include "richtext/gui/TextFinder.h"

class QScrollBar;
struct TTextObject;

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

// The formatting run under a point, as the right button reports it.
struct TTextUnderPoint {
  int Position = 0;  // character position of the run's start
  int Length = 0;
  std::string Text;
  TAttr Attr{};
};

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
  void SetInserting(bool on);
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
  bool NoBlockMarking() const { return FDocument->NoBlockMarking; }
  void SetNoBlockMarking(bool on);
  bool OneClickHyperlink = false;
  bool ShowPageBreak() const { return FShowPageBreak; }
  void SetShowPageBreak(bool on);
  const TWPPicture& BackgroundImage() const { return FBackgroundImage; }
  // Raises "Please use Bitmap." for a metafile.
  void SetBackgroundImage(const TWPPicture& picture);
  bool BackgroundScrolling() const { return FDocument->BackgroundScrolling; }
  void SetBackgroundScrolling(bool on);
  bool CaretDisabled() const { return FCaret.Disabled(); }
  void SetCaretDisabled(bool on) { FCaret.SetDisabled(on); }
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

  // Events. A key or character handler may set the key to 0 to swallow it.
  std::function<void(TWPCustomRtfEdit* sender)> OnChange;
  std::function<void(TWPCustomRtfEdit* sender)> OnClick;
  std::function<void(TWPCustomRtfEdit* sender)> OnDblClick;
  std::function<void(TWPCustomRtfEdit* sender)> OnEnter;
  std::function<void(TWPCustomRtfEdit* sender)> OnExit;
  std::function<void(TWPCustomRtfEdit* sender, int& key, Qt::KeyboardModifiers shift)> OnKeyDown;
  std::function<void(TWPCustomRtfEdit* sender, char& key)> OnKeyPress;
  std::function<void(TWPCustomRtfEdit* sender, int& key, Qt::KeyboardModifiers shift)> OnKeyUp;
  std::function<void(TWPCustomRtfEdit* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                     int y)>
      OnMouseDown;
  std::function<void(TWPCustomRtfEdit* sender, Qt::KeyboardModifiers shift, int x, int y)> OnMouseMove;
  std::function<void(TWPCustomRtfEdit* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                     int y)>
      OnMouseUp;
  std::function<void(TWPCustomRtfEdit* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                     int y, const TTextUnderPoint& under)>
      OnMouseDownRight;
  // On focus: whether a selection exists and whether the clipboard holds text.
  std::function<void(TWPCustomRtfEdit* sender, bool hasSelection, bool clipboardHasText)> EditStateEvent;
  // Raised by the toolbar's spell-check command.
  std::function<void(TWPCustomRtfEdit* sender)> StartSpellCheck;
  std::function<void(TWPCustomRtfEdit* sender)> CtrlTabPressed;
  std::function<void(TWPCustomRtfEdit* sender)> ShiftTabPressed;
  // The hyperlink text under a double click (or a click, with OneClickHyperlink).
  std::function<void(TWPCustomRtfEdit* sender, const std::string& text, int tag)> HyperLinkEvent;
  // Before Enter splits a paragraph and before a paste: the hook for undo.
  std::function<void(TWPCustomRtfEdit* sender)> SaveForUNDO;
  std::function<void(TWPCustomRtfEdit* sender)> OnXPosChanged;
  std::function<void(TWPCustomRtfEdit* sender)> OnYPosChanged;
  std::function<void(TWPCustomRtfEdit* sender, TParagraph* par)> OnNewParCreatedEvent;
  std::function<void(TWPCustomRtfEdit* sender, TParagraph* par)> OnBeforePasteEvent;
  std::function<void(TWPCustomRtfEdit* sender, bool& doIt)> OnBeforeCopyEvent;
  // Protected text refused a change: the run of text and its tag.
  std::function<void(TWPCustomRtfEdit* sender, const std::string& text, int tag)> OnProtectedChange;
  // Asked for the object of an object record added without one.
  std::function<void(TWPCustomRtfEdit* sender, TTextObject& record)> ProvideObjectEvent;
  // The spell-check hook: true when the word is misspelled; words are
  // checked as paragraphs are wrapped, and only while a hook is set.
  void SetOnSpellCheckWord(std::function<bool(TWPCustomRtfEdit* sender, const std::string& word)> hook);

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
  // Twips; -1000 or 65000 and more keep a value. Sets the indents of the
  // selected paragraphs or of the caret's (in a table row, of all its cells).
  void SetIndents(int firstIndent, int leftIndent, int rightIndent);
  // The set-text message: an empty text clears; any other replaces the
  // document, read as RTF or plain text as it looks.
  void SetText(const std::string& text);
  // Whether editing operations may change the document.
  bool EditingAllowed() const { return FDocument->EditingAllowed(); }

  // --- caret, selection, attributes -----------------------------------------------
  // Character positions from the document's start; a paragraph end counts one.
  int GetCaretPosition() const { return FDocument->CaretPosition(); }
  void SetCaretPosition(int position);
  // The attributes typed text gets.
  TAttr GetWritingAttributes() const { return FDocument->CurrentAttr; }
  // Font, size, colours and style of attr for the selection or the insertion point.
  void SetWritingAttributes(const TAttr& attr);
  void SelectAll();
  int SelStart() const { return FDocument->SelStart(); }
  int SelLength() const { return FDocument->SelLength(); }
  bool HasSelection() const { return FDocument->HasSelection(); }

  // --- clipboard -------------------------------------------------------------------------
  // False when nothing was copied (no selection, or OnBeforeCopyEvent said no).
  bool CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  const TCaret& Caret() const { return FCaret; }
  // Searches and replaces in the document.
  TWPTextFinder& Finder() { return FFinder; }

  int ClientWidth() const;
  int ClientHeight() const;
  int BorderWidth() const { return FBorderStyle == bsSingle ? 2 : 0; }
  void UpdateScrollBars();
  QScrollBar* HorzScrollBar() const { return FHorzBar; }
  QScrollBar* VertScrollBar() const { return FVertBar; }

  void setVisible(bool visible) override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Fires OnChange.
  virtual void Change();
  // Changes the selected paragraphs, or the caret's (with wholeRows, every
  // cell of its table row), re-wraps them and brings the caret into view;
  // false when there is no paragraph.
  bool ChangeParagraphs(const std::function<void(TParagraph& par)>& change, bool wholeRows);
  // After caret movement and attribute changes: the toolbar and ruler follow.
  virtual void ShowCaretFormatting() {}
  // The keys of the key table; false for a key that is a typed character.
  bool KeyDown(int key, Qt::KeyboardModifiers modifiers);
  // A typed character (Ctrl+letters as their control codes).
  void KeyPress(char key);

 private:
  void HookDocument();
  // Types text through the document's input when editing is allowed.
  void TypeText(const std::string& text);
  void PlaceCaret();
  QPoint ClientPoint(const QPointF& widgetPoint) const;
  // The hyperlink run under a client point: true when one was reported.
  bool HyperlinkAt(const QPoint& point);
  // The 10 x 10 square at the corner of the selected object.
  QRect ObjectHandle() const;
  void ApplyFontToText();
  void ApplyClientSize();
  void ScrollVertTo(int position);
  void ScrollHorzTo(int position);
  void ScrollBarAction(bool vertical, int action);
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
  bool FApplyingFont = false;
  TCaret FCaret;
  TWPTextFinder FFinder;
  // The mouse: where the left button went down and whether it is held; the
  // object being resized with its paragraph.
  QPoint FPressPoint;
  bool FButtonHeld = false;
  TTextObject* FResizedObject = nullptr;
  TParagraph* FResizedObjectParagraph = nullptr;
  QRect FResizedObjectRect;
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
