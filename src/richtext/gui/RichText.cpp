#include "richtext/gui/RichText.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QPrinter>
#include <exception>

#include "platform/DialogService.h"
#include "richtext/MulDiv.h"
#include "richtext/gui/FindDialog.h"

const char* const kRichTextFileFilter =
    "RTF files|*.RTF|HTML files|*.HTM|TXT files|*.TXT|all files (*.*)|*.*";

namespace {

// Style bits and the toolbar's button numbers of group 256.
struct TStyleButton {
  std::uint32_t Bit;  // of the style word (TAttr::AttrWord)
  int Number;
};
constexpr TStyleButton kStyleButtons[] = {
    {kStyleBold, 2},      {kStyleItalic, 3},        {kStyleUnderline, 4},
    {kStyleHyperlink, 5}, {kStyleStrikeOut, 6},     {kStyleSuperscript, 7},
    {kStyleSubscript, 8}, {kSpecialHidden << 8, 9}, {kSpecialRtfCode << 8, 19},
};

// Alignment button numbers of group 512 and the paragraph alignments.
constexpr int kAlignmentButton[] = {1, 2, 4, 3};  // by TParAlignment: left, right, centre, justified
constexpr std::uint8_t kAlignmentOfButton[] = {paLeft, paLeft, paRight, paJustify, paCenter};

const TStyleButton* StyleButton(int number) {
  for (const TStyleButton& button : kStyleButtons)
    if (button.Number == number) return &button;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Showing the caret's formatting

void TWPRichTextSetMode::PushTo(TWPCustomToolPanel& toolBar) const {
  const std::uint32_t word = StyleWord();
  const bool selection = Document().HasSelection();
  for (const TStyleButton& button : kStyleButtons) {
    // Hidden text shows on the button only while something is selected.
    if (button.Number == 9 && !selection) continue;
    if (word & button.Bit)
      toolBar.IconDown(wpgStatus, button.Number);
    else
      toolBar.IconUp(wpgStatus, button.Number);
  }
  if ((word & wpam::kReplaceStyleBits) == 0 && !selection)
    toolBar.IconDown(wpgStatus, 1);
  else
    toolBar.IconUp(wpgStatus, 1);
  toolBar.IconDown(wpgAlignment, kAlignmentButton[Alignment() & 3]);
  toolBar.SetListValue(wptName, FontName(), 0);
  toolBar.SetListValue(wptSize, std::string(), FontSize());
  toolBar.SetListValue(wptColor, std::string(), TextColor());
  toolBar.SetListValue(wptBkColor, std::string(), BackgroundColor());
  toolBar.SetListValue(wptParColor, std::string(), ShadingColor());
}

// ---------------------------------------------------------------------------

TWPCustomRichText::TWPCustomRichText(QWidget* parent)
    : TWPCustomRtfEdit(parent), FSetMode(*RtfText()), FDialogFinder(RtfText()) {
  FontNumber("Arial");
  SetInserting(true);
}

TWPCustomRichText::~TWPCustomRichText() { UnwireFindDialogs(this); }

void TWPCustomRichText::SetWPToolBar(TWPCustomToolPanel* toolBar) {
  FToolBar = toolBar;
  if (toolBar) toolBar->SetEditor(this);
}

void TWPCustomRichText::ShowCaretFormatting() {
  if (FToolBar) FSetMode.PushTo(*FToolBar);
}

void TWPCustomRichText::focusInEvent(QFocusEvent* event) {
  if (FToolBar) {
    FToolBar->SetEditor(this);
    TWPColorTable colors;
    std::copy(RtfText()->Header.Colors.begin(), RtfText()->Header.Colors.end(), colors.begin());
    FToolBar->SetColorTable(colors);
    FSetMode.PushTo(*FToolBar);
  }
  TWPCustomRtfEdit::focusInEvent(event);
}

void TWPCustomRichText::focusOutEvent(QFocusEvent* event) {
  // A list of the toolbar opening, or the window losing the keyboard, does
  // not end the editor's turn; a click into the toolbar does not either.
  const Qt::FocusReason reason = event->reason();
  QWidget* next = QApplication::focusWidget();
  const bool intoToolBar = FToolBar && next && FToolBar->isAncestorOf(next);
  if (FToolBar && FToolBar->Editor() == this && reason != Qt::PopupFocusReason &&
      reason != Qt::ActiveWindowFocusReason && !intoToolBar)
    FToolBar->SetEditor(nullptr);
  TWPCustomRtfEdit::focusOutEvent(event);
}

// ---------------------------------------------------------------------------
// Toolbar buttons

void TWPCustomRichText::ToolBarIconSelection(TWpSelNr typ, int group, int number) {
  if (typ == wptIconDown)
    IconPressed(group, number);
  else if (typ == wptIconUp)
    IconReleased(group, number);
}

void TWPCustomRichText::ReleaseIcon(int group, int number) {
  if (FToolBar) FToolBar->IconUp(group, number);
}

void TWPCustomRichText::IconPressed(int group, int number) {
  TWPRTFTextInput& doc = *RtfText();
  const bool isCopy = group == wpgEdit && number == 1;
  if (!isCopy && !EditingAllowed()) {
    if (group == wpgFile) doc.ResultCode = fcrNotEditable;
    // The buttons show the text's formatting again, commands spring back.
    if (group == wpgStatus || group == wpgAlignment)
      ShowCaretFormatting();
    else if (group != wpgDatabase)
      ReleaseIcon(group, number);
    return;
  }
  switch (group) {
    case wpgStatus:
      if (number == 1) {
        ApplyStyle(wpam::ReplaceStyle, 0, 0);
      } else if (number == 7 || number == 8) {
        // Superscript and subscript exclude each other.
        ReleaseIcon(wpgStatus, number == 7 ? 8 : 7);
        ApplyStyle(wpam::AddStyle, number == 7 ? kStyleSuperscript : kStyleSubscript, 0);
      } else if (number == 9) {
        FHiddenToggle = !FHiddenToggle;
        ApplyStyle(FHiddenToggle ? wpam::AddStyle : wpam::RemoveStyle, 0, kSpecialHidden);
      } else if (const TStyleButton* button = StyleButton(number)) {
        ApplyStyle(wpam::AddStyle, static_cast<std::uint8_t>(button->Bit),
                   static_cast<std::uint8_t>(button->Bit >> 8));
      }
      return;
    case wpgAlignment:
      if (number >= 1 && number <= 4) SetAlignment(kAlignmentOfButton[number]);
      return;
    case wpgEdit:
      switch (number) {
        case 1:
          CopyToClipboard();
          break;
        case 2:
          CutToClipboard();
          break;
        case 3:
          PasteFromClipboard();
          break;
        case 4:
          SelectAll();
          return;  // the button stays down while the text is selected
        case 5:
          doc.ClearSelectionAndRepaint();
          return;
        case 6:
          FindCommand();
          break;
        case 7:
          ReplaceCommand();
          break;
        case 8:
          if (StartSpellCheck) StartSpellCheck(this);
          break;
        default:
          return;
      }
      ReleaseIcon(group, number);
      return;
    case wpgFile:
      if (number == 3) OpenFile();
      if (number == 4) SaveFile(true);
      if (number == 5) CloseFile();
      if (number >= 3 && number <= 5) ReleaseIcon(group, number);
      return;  // Exit and New are the application's
    case wpgPrint:
      if (number == 1) Print(Printer());
      if (number == 2) Dialogs().PrinterSetupDialog(Printer());
      ReleaseIcon(group, number);
      return;
    default:
      return;  // the database buttons are the application's
  }
}

void TWPCustomRichText::IconReleased(int group, int number) {
  if (!EditingAllowed()) {
    ShowCaretFormatting();
    return;
  }
  if (group == wpgStatus && number >= 2) {
    const TStyleButton* button = StyleButton(number);
    if (!button) return;
    if (number == 9) FHiddenToggle = false;
    ApplyStyle(wpam::RemoveStyle, static_cast<std::uint8_t>(button->Bit),
               static_cast<std::uint8_t>(button->Bit >> 8));
  } else if (group == wpgEdit && (number == 4 || number == 5)) {
    RtfText()->ClearSelectionAndRepaint();
  }
}

void TWPCustomRichText::ApplyStyle(int mask, std::uint8_t style, std::uint8_t special) {
  TAttr values{};
  values.Style = style;
  values.Special = special;
  RtfText()->SetAttributes(mask, values);
  Change();
}

void TWPCustomRichText::SetAlignment(std::uint8_t alignment) {
  bool changed = false;
  ChangeParagraphs(
      [&](TParagraph& par) {
        changed |= par.Alignment != alignment;
        par.Alignment = alignment;
      },
      false);
  ShowCaretFormatting();
  if (changed) Change();
}

// ---------------------------------------------------------------------------
// Toolbar list boxes

void TWPCustomRichText::ToolBarListSelection(TWpSelNr typ, const std::string& text, int number) {
  TWPRTFTextInput& doc = *RtfText();
  if (!EditingAllowed()) {
    doc.ResultCode = fcrNotEditable;
    return;
  }
  TAttr values = doc.CurrentAttr;
  int mask = 0;
  switch (typ) {
    case wptName: {
      const int slot = FontNumber(text);
      if (slot >= TTextHeader::kFontSlots) return;
      values.FontIndex = static_cast<std::uint8_t>(slot);
      mask = wpam::Font;
      break;
    }
    case wptSize:
      if (number <= 0) return;
      values.Size = static_cast<std::uint8_t>(std::min(number, 255));
      mask = wpam::Size;
      break;
    case wptColor:
      values.Colors = static_cast<std::uint8_t>((values.Colors & 0xF0) | (number & 0x0F));
      mask = wpam::TextColor;
      break;
    case wptBkColor:
      values.Colors = static_cast<std::uint8_t>((values.Colors & 0x0F) | ((number & 0x0F) << 4));
      mask = wpam::BackgroundColor;
      break;
    case wptParColor:
      SetParagraphColor(number);
      return;
    case wptStyle:
      ApplyStyleName(number);
      return;
    default:
      return;
  }
  doc.SetAttributes(mask, values);
  Change();
  update();
}

void TWPCustomRichText::SetParagraphColor(int number) {
  ChangeParagraphs(
      [number](TParagraph& par) {
        par.ShadingColors = static_cast<std::uint8_t>((par.ShadingColors & 0x0F) | ((number & 0x0F) << 4));
      },
      false);
  ShowCaretFormatting();
  Change();
  update();
}

// The style list: Normal, Heading, Subheading, Emphasis (ToolBarStyleNames).
void TWPCustomRichText::ApplyStyleName(int index) {
  struct TStyle {
    std::uint8_t Style;
    std::uint8_t Size;  // 0 keeps the size
  };
  static constexpr TStyle kStyles[] = {{0, 0}, {kStyleBold, 16}, {kStyleBold, 13}, {kStyleItalic, 0}};
  if (index < 0 || index >= static_cast<int>(std::size(kStyles))) return;
  TAttr values = RtfText()->CurrentAttr;
  values.Style = kStyles[index].Style;
  values.Special = 0;
  int mask = wpam::ReplaceStyle;
  if (kStyles[index].Size != 0) {
    values.Size = kStyles[index].Size;
    mask |= wpam::Size;
  }
  RtfText()->SetAttributes(mask, values);
  Change();
  update();
}

// ---------------------------------------------------------------------------
// File commands

void TWPCustomRichText::OpenFile() {
  TWPRTFTextInput& doc = *RtfText();
  TFileDialogOptions options;
  options.Filter = QString::fromLatin1(kRichTextFileFilter);
  options.FileMustExist = true;
  const QString path = Dialogs().OpenFileName(options);
  if (path.isEmpty()) {
    doc.ResultCode = fcrCancelled;
    return;
  }
  // The file is read aside first: one that cannot be read leaves the text as it was.
  TWPRTFTextIo loaded;
  try {
    loaded.LoadFromFile(path.toStdString());
  } catch (const std::exception& error) {
    loaded.LastError = error.what();
    loaded.ResultCode = fcrFailed;
  }
  if (loaded.ResultCode != fcrDone) {
    doc.LastError = loaded.LastError;
    doc.ResultCode = fcrFailed;
    return;
  }
  Clear();
  SetRtfText(loaded);
  doc.ResultCode = fcrDone;
  doc.ReformatAll();
  doc.SetCursorToStart();
  doc.UpdateCaret();
  update();
  FFileName = path;
  Change();
}

bool TWPCustomRichText::SaveFile(bool askForName) {
  TWPRTFTextInput& doc = *RtfText();
  QString path = FFileName;
  if (askForName || path.isEmpty()) {
    TFileDialogOptions options;
    options.Filter = QString::fromLatin1(kRichTextFileFilter);
    options.FileName = FFileName;
    options.OverwritePrompt = true;
    path = Dialogs().SaveFileName(options);
    if (path.isEmpty()) {
      doc.ResultCode = fcrCancelled;
      return false;
    }
  }
  try {
    doc.SaveToFile(path.toStdString());
    doc.ResultCode = fcrDone;
  } catch (const std::exception& error) {
    doc.LastError = error.what();
    doc.ResultCode = fcrFailed;
    return false;
  }
  FFileName = path;
  return true;
}

void TWPCustomRichText::CloseFile() {
  if (!SaveFile(FFileName.isEmpty())) return;
  Clear();
  Change();
}

// ---------------------------------------------------------------------------
// Printing

QPrinter& TWPCustomRichText::Printer() {
  if (!FPrinter) FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *FPrinter;
}

void TWPCustomRichText::Print(QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return;
  TWPCanvas canvas(&painter, &printer);
  const TTextHeader& header = RtfText()->Header;
  const int ppi = printer.resolution();
  const QRect area(0, 0, printer.width(), printer.height());
  QRect text(MulDiv(header.LeftMargin, ppi, 1440), MulDiv(header.TopMargin, ppi, 1440), 0, 0);
  text.setRight(area.right() - MulDiv(header.RightMargin, ppi, 1440));
  text.setBottom(area.bottom() - MulDiv(header.BottomMargin, ppi, 1440));
  if (text.width() <= 0 || text.height() <= 0) text = area;
  const std::uint8_t switches = PaintSwitches;
  PaintSwitches = psTransparent | psStopAtPageBreak;
  try {
    for (int start = 0;;) {
      const int next =
          PaintToCanvas(&canvas, text.x(), text.y(), text.width(), text.height(), start, kPaintLines);
      if (next <= start) break;  // all painted (or no progress)
      printer.newPage();
      start = next;
    }
  } catch (...) {
    PaintSwitches = switches;
    throw;
  }
  PaintSwitches = switches;
}

// ---------------------------------------------------------------------------

TWPRichText::TWPRichText(QWidget* parent) : TWPCustomRichText(parent) {}

TWPRichText::~TWPRichText() = default;
