#pragma once
// Line layout and painting of a rich text document: characters measured with
// real font metrics at a layout resolution taken from the canvas, paragraphs
// wrapped into lines that fit the wrap width, lines given heights and places,
// and laid-out lines painted onto the canvas.
#include <QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "richtext/RtfTextIo.h"
#include "richtext/gui/Canvas.h"

// Switches of the paint options word: how a document is laid out and painted.
enum TPaintOption : std::uint32_t {
  poNoClip = 0x00000001,
  poForeignCanvas = 0x00000002,  // painting into another canvas: no caret, hooks or page-break lines
  poWrapAtPageWidth = 0x00000004,
  poNoZoom = 0x00000008,
  poNoCaretMove = 0x00000010,
  poNoScroll = 0x00000020,
  poTransparent = 0x00000040,
  poNoPageBreakLines = 0x00000080,
  poNoParPageBreakLines = 0x00000100,
  poShowHidden = 0x00000200,
  poLayoutLocked = 0x00000400,
  poIgnoreHorzOffset = 0x00000800,
  poHideSelection = 0x00001000,
  poPaintAllLines = 0x00004000,
  poWhiteBackground = 0x00008000,
  poOpaqueWhereNeeded = 0x00010000,
  poSkipUnfitLines = 0x00020000,
  poPageMode = 0x00040000,
  poNeverOpaque = 0x00080000,
  poNoBackground = 0x00100000,
};

// The paint switches byte with which a label is painted into a rectangle of
// another canvas (0 on screen, psTransparent for the printer). Each stands
// for options of the word above (see ForeignPaintOptions).
enum TPaintSwitch : std::uint8_t {
  psNoBackground = 0x01,
  psOpaqueWhereNeeded = 0x02,
  psTransparent = 0x04,
  psKeepColor = 0x08,
  psNoZoom = 0x10,
  psStopAtPageBreak = 0x20,
};

// The paint options word of a pass onto another canvas, from the switches.
std::uint32_t ForeignPaintOptions(std::uint8_t switches);

// What one paint call paints on and how. The document keeps its layout; a
// pass says where the laid-out lines go (canvas, origin, scroll position,
// clip) and with which paint options.
struct TPaintPass {
  TWPCanvas* Canvas = nullptr;
  int OriginX = 0;
  int OriginY = 0;
  int ScrollTop = 0;   // document Top painted at OriginY
  int HorzOffset = 0;  // 0 or negative: the text is shifted left
  int ClipHeight = 0;  // how far below OriginY may be painted
  std::uint32_t Options = 0;

  bool Has(std::uint32_t option) const { return (Options & option) != 0; }
  // The horizontal offset unless the options ignore it.
  int Shift() const { return Has(poIgnoreHorzOffset) ? 0 : HorzOffset; }
};

// The message of a character whose font index names no font slot.
extern const char* const kPaintSystemError;

class TWPRTFTextPaint : public TWPRTFTextIo {
 public:
  // Results of reformatting one paragraph with compare.
  static constexpr int kNothingChanged = 0;
  static constexpr int kCharsChanged = 1;
  static constexpr int kLineHeightChanged = 2;
  static constexpr int kParHeightChanged = 3;
  // An embedded object's pixel size is kept where the 16-bit widths and
  // heights of the characters can hold it (with a font height added).
  static constexpr int kMaxObjectPixels = 30000;

  TWPRTFTextPaint();
  ~TWPRTFTextPaint() override;

  // --- canvas and resolution ------------------------------------------------
  // Remembers the canvas; unless layout is locked takes its resolution.
  void SetCanvas(TWPCanvas* canvas);
  TWPCanvas* Canvas() const { return FCanvas; }
  int Zooming() const { return FZooming; }
  void SetZooming(int percent);
  int Resizing() const { return FResizing; }
  void SetResizing(int percent);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool on);
  int WrapWidth() const { return FWrapWidth; }
  void SetWrapWidth(int pixels);
  std::uint32_t PaintOptions() const { return FPaintOptions; }
  void SetPaintOptions(std::uint32_t options);
  bool Has(std::uint32_t option) const { return (FPaintOptions & option) != 0; }
  int DefaultTabInterval() const;

  // --- layout -----------------------------------------------------------------
  // Lays the whole document out for canvas: its resolution (zoomed unless the
  // options say not to), wrapping at wrapWidth, options as the paint options
  // word. The document measures on canvas from then on, so it must live as
  // long as the layout is used.
  void LayOutForCanvas(TWPCanvas* canvas, int wrapWidth, std::uint32_t options);
  void ReformatAll();
  // How many times the whole document was laid out.
  int ReformatCount() const { return FReformatCount; }
  // Wraps one paragraph; with compare returns how much changed (0..3).
  int ReformatParagraph(TParagraph* par, bool compare);
  void MeasureParagraph(TParagraph* par, bool single);
  // Lays out what a whole-document change left undone (the control was hidden).
  void EnsureLayout();
  // A reformat postponed while the control was being resized.
  void CarryOutPendingReformat();
  // Gives every line its Top and page-break mark; the document height.
  int UpdatePositions();
  int DocumentHeight() const { return FDocumentHeight; }
  // Selects the font and colours of attr (CurrentAttr when null) for measuring.
  void SelectFont(const TAttr* attr);
  void MeasureFont(const TAttr* attr);
  // Where the text after a tab at x (from the text area's left edge) begins.
  int NextTabPosition(TParagraph* par, TLine* line, int x, int index);
  int LineContentWidth(TParagraph* par, TLine* line) const;
  // Where the characters of a laid-out line go, as painting places them:
  // the start x from the text area's left edge (indent and alignment shift
  // included), and each character's advance (tabs to their stops, justified
  // spaces widened, characters without width none). LineAdvances returns
  // the start x.
  int LineStartX(TParagraph* par, TLine* line) const;
  int LineAdvances(TParagraph* par, TLine* line, std::vector<int>& advances);
  int LeftEdge(TParagraph* par, TLine* line) const;
  int LeftEdgeOf(TParagraph* par, bool firstLine) const;
  int RightIndent(TParagraph* par) const;
  // The space a bordered paragraph keeps between its border line and its
  // text, left and right; 0 without.
  int BorderSpacingPixels(TParagraph* par) const;
  int TwipsToPixelsX(int twips) const { return MulDivX(twips); }
  int TwipsToPixelsY(int twips) const { return MulDivY(twips); }

  void Changed() override;
  void MeasureChar(TLine* line, int index, const TAttr& attr) override;
  bool RecomputeLineHeight(TParagraph* par, TLine* line) override;

  // --- painting ----------------------------------------------------------------
  // The control's own view as a pass: its canvas, origin, scroll position,
  // clip height and paint options.
  TPaintPass ViewPass() const;
  void PaintLine(const TPaintPass& pass, TParagraph* par, TLine* line);
  void PaintRegion(const TPaintPass& pass, int x, int y, int height, int width);
  // Paints line startLine (lines counted from 0 over all paragraphs) and
  // those after it at the pass's origin while they fit in its clip height;
  // the first is painted even when it does not fit. With stopAtPageBreaks
  // the lines end before a new page. The index of the first line left out,
  // 0 when all were painted. Without paint, only that index is worked out.
  int PaintLinesFrom(const TPaintPass& pass, int startLine, bool paint, bool stopAtPageBreaks);
  // Paints the visible area now, when painting is allowed, on canvas (a
  // painter on the same device) or on the document's own canvas; with a
  // band (window coordinates) only the lines that meet it.
  void PaintVisible(TWPCanvas* canvas = nullptr, const QRect* band = nullptr);
  // Asks the owner to repaint (the window is painted in its paint event).
  void Repaint();
  bool RepaintAllowed() const;

  // --- the control's view ---------------------------------------------------------
  int OriginX = 0;
  int OriginY = 0;
  int HorzOffset = 0;  // 0 or negative: the text is shifted left
  int ScrollTop = 0;   // document Top painted at the origin
  int ClipHeight = 0;
  TColor BackgroundColor = 0xFFFFFF;
  QImage BackgroundBitmap;
  bool TileBackground = false;
  bool BackgroundScrolling = true;
  int MaxLineChars = 0;  // 0 = no limit
  bool PaintingAllowed = true;
  bool ReformatPending = false;
  bool ReformatRequestedWhilePending = false;
  bool Formatting() const { return FFormatting; }

  // Where the first selected object was painted, for resizing it with the mouse.
  QRect SelectedObjectRect;

  // Hooks of the owning control. The caret hooks are set by the caret
  // handling, which is still to come.
  std::function<void()> OnHideCaret;
  std::function<void()> OnShowCaret;
  std::function<void()> OnCaretMoved;
  std::function<void()> OnUpdateVertScrollBar;
  std::function<void()> OnUpdateHorzScrollBar;
  std::function<void()> OnInvalidate;
  // True when the word is misspelled.
  std::function<bool(const std::string& word)> OnSpellCheckWord;

  // --- selection, as painting and wrapping see it --------------------------------
  struct TTextPos {
    TParagraph* Par = nullptr;
    TLine* Line = nullptr;
    int Index = 0;
  };
  TTextPos SelectionFrom() const;  // the earlier end
  TTextPos SelectionTo() const;
  void SetSelectionPositions(const TTextPos& from, const TTextPos& to);

 protected:
  void AttrSetChanged(std::int32_t tag, int relayout) override;
  int OwnTextWidthPixels() const override { return FWordWrap ? FWrapWidth : 0; }

 private:
  struct TWrap;
  struct TLineBreak;
  struct TLinePaint;
  // Technology, layout resolution and default cell line height of the canvas.
  void TakeCanvasResolution();
  bool ReadResolution();
  bool SetResolution(int x, int y);
  void Relayout();
  void ApplyTextWidth();
  int MulDivX(int twips) const;
  int MulDivY(int twips) const;
  bool IsInvisible(const TAttr& attr) const;
  const TCharacterAttr* DisplaySet(const TAttr& attr) const;
  void MeasureLine(TParagraph* par, TLine* line);
  void MeasureInCurrentFont(TLine* line, int index);
  int LineHeightRule(TParagraph* par, TLine* line, int fallbackHeight, int fallbackAscent) const;
  // Wrapping a paragraph, step by step.
  int WrapParagraph(TParagraph* par, bool compare);
  void GatherLines(TWrap& w);
  void SpellCheck(TWrap& w);
  void RememberSelection(TWrap& w);
  void BreakLines(TWrap& w);
  void ScanLine(const TWrap& w, TLineBreak& lb);
  void ChooseBreak(const TWrap& w, TLineBreak& lb);
  void AddLine(TWrap& w, const TLineBreak& lb);
  void RefillLines(TWrap& w);
  void RestoreSelection(TWrap& w);
  int PlaceAndCompare(TWrap& w);
  int NextTab(TParagraph* par, const char* text, const TAttr* attrs, int count, int x, int index) const;
  int CellLeftPixels(TParagraph* par) const;
  // Font, colours and the painting switches of attr on canvas.
  void SelectFontOn(TWPCanvas& canvas, const TAttr& attr, std::uint32_t options);
  // Selection state of one line: [from, to) selected characters.
  void MarkSelection(const TPaintPass& pass, TParagraph* par, TLine* line, int& from, int& to);
  void SetLineSelectionMarks(TLine* line, int from, int to);
  bool PlainTextLine(TLine* line, std::vector<TAttr>& scratch);
  // The steps of painting one line.
  bool StartLinePaint(TLinePaint& lp);
  void PaintRuns(TLinePaint& lp);
  int RunEnd(const TLinePaint& lp, int start) const;
  int RunAdvances(TLinePaint& lp, int start, int end, int* advances);
  bool RunColours(TLinePaint& lp, const TAttr& attr);
  void FillLeftOfFirstRun(TLinePaint& lp);
  void DrawRunDecoration(TLinePaint& lp, int width);
  void FillLineRest(TLinePaint& lp);
  void PaintPageBreakMarks(TLinePaint& lp);
  void PaintBorders(const TPaintPass& pass, TParagraph* par, TLine* line, int y, int left, int right);
  void PaintObject(const TPaintPass& pass, unsigned char code, const TAttr& attr, int x, int baseline,
                   bool selected);
  // Fills a rectangle with the background colour or the tiled bitmap.
  void FillBackground(const TPaintPass& pass, const QRect& rect);

  // Pictures decoded once; forgotten at every whole-document change.
  const QImage* PictureImage(const TEmbeddedObject* object);
  std::unordered_map<const TEmbeddedObject*, QImage> FPictures;

  TWPCanvas* FCanvas = nullptr;
  TWPCanvas FDefaultCanvas{96, 96};
  int FTechnology = kTechRasterDisplay;
  int FZooming = 100;
  int FResizing = 100;
  bool FWordWrap = true;
  int FWrapWidth = 0;
  std::uint32_t FPaintOptions = 0;
  bool FFormatting = false;
  bool FMeasuring = false;
  bool FLayoutStale = true;
  int FReformatCount = 0;
  int FDocumentHeight = 0;
  int FDefaultCellLineHeight = 16;

  // The font selected last and what painting needs of it.
  std::int16_t FWidths[256] = {};
  int FFontHeight = 16;
  int FFontAscent = 14;
  bool FSelUnderline = false;
  bool FSelSuperscript = false;
  bool FSelSubscript = false;
  bool FSelWavy = false;
  QColor FSelPenColor;
};
