#pragma once
// The editor control as the application uses it: the link to its
// formatting toolbar, the toolbar's commands, and every property published
// with its default.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "richtext/gui/CustomRtfEdit.h"
#include "richtext/gui/SetModeControl.h"
#include "richtext/gui/TextFinder.h"
#include "richtext/gui/ToolPanel.h"

class QPrinter;
class TWPFindDialog;

// The companion that shows the caret's formatting on the linked toolbar:
// after every caret movement and attribute change it is pushed.
class TWPRichTextSetMode : public TWPSetModeControl {
 public:
  using TWPSetModeControl::TWPSetModeControl;
  // Buttons down or up for the style bits and the alignment; the font,
  // size and colours into the list boxes.
  void PushTo(TWPCustomToolPanel& toolBar) const;
};

// The file filter of the toolbar's open and save commands.
extern const char* const kRichTextFileFilter;

// Result codes the toolbar's file commands leave in the document.
enum TWPFileCommandResult : std::uint8_t {
  fcrDone = 0,
  fcrFailed = 7,
  fcrCancelled = 9,
  fcrNoDialog = 10,
  fcrNotEditable = 11,
};

class TWPCustomRichText : public TWPCustomRtfEdit {
  Q_OBJECT

 public:
  explicit TWPCustomRichText(QWidget* parent = nullptr);
  ~TWPCustomRichText() override;

  // The formatting toolbar this editor works with; the toolbar is told that
  // this editor is its current one. The link clears itself when the toolbar
  // is destroyed.
  TWPCustomToolPanel* WPToolBar() const { return FToolBar.data(); }
  void SetWPToolBar(TWPCustomToolPanel* toolBar);
  TWPRichTextSetMode& SetMode() { return FSetMode; }

  // A toolbar button went down (wptIconDown) or up (wptIconUp).
  void ToolBarIconSelection(TWpSelNr typ, int group, int number);
  // A toolbar list box was chosen from: font name (text), size, text,
  // background or paragraph colour, or style (number).
  void ToolBarListSelection(TWpSelNr typ, const std::string& text, int number);

  // The file the toolbar's open and save commands last used.
  const QString& FileName() const { return FFileName; }
  // Prints the whole document, page after page, on an open printer.
  void Print(QPrinter& printer);
  // Shows the program's find dialog / replace dialog for this editor (the
  // toolbar's find and replace buttons).
  void FindCommand();
  void ReplaceCommand();
  // The finder the dialogs search with.
  TWPTextFinder& DialogFinder() { return FDialogFinder; }

 protected:
  void ShowCaretFormatting() override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // The dialogs' events: Find Next, and Replace or Replace All.
  void DialogFind(const TWPFindDialog& dialog);
  void DialogReplace(const TWPFindDialog& dialog, bool all);
  // The finder takes the dialog's options and starts at the caret.
  void PrepareDialogFinder(const TWPFindDialog& dialog);
  // Selects a match, the caret at its end (down) or at its start (up).
  void SelectFound(int position, int length, bool down);

  void IconPressed(int group, int number);
  void IconReleased(int group, int number);
  void ApplyStyle(int mask, std::uint8_t style, std::uint8_t special);
  void ApplyStyleName(int index);
  void SetAlignment(std::uint8_t alignment);
  void SetParagraphColor(int number);
  // The file commands; each leaves its result code in the document.
  void OpenFile();
  bool SaveFile(bool askForName);
  void CloseFile();
  QPrinter& Printer();
  void ReleaseIcon(int group, int number);

  TWPRichTextSetMode FSetMode;
  QPointer<TWPCustomToolPanel> FToolBar;
  QString FFileName;
  // The hidden-text button's toggle.
  bool FHiddenToggle = false;
  std::unique_ptr<QPrinter> FPrinter;
  TWPTextFinder FDialogFinder;
};

class TWPRichText : public TWPCustomRichText {
  Q_OBJECT

 public:
  explicit TWPRichText(QWidget* parent = nullptr);
  ~TWPRichText() override;
};
