#pragma once
// The editor control as the application uses it: the link to its
// formatting toolbar, and every property published with its default.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "richtext/gui/CustomRtfEdit.h"
#include "richtext/gui/SetModeControl.h"
#include "richtext/gui/TextFinder.h"

class TWPFindDialog;

// How a toolbar button reports to the editor: it went down or came up.
enum : int { kIconDown = 6, kIconUp = 7 };
// Toolbar button groups and the numbers of the edit group.
enum : int { kEditIcons = 768 };
enum : int { kIconFind = 6, kIconReplace = 7 };

// The companion that shows the caret's formatting on the linked toolbar:
// after every caret movement and attribute change it is pushed.
class TWPRichTextSetMode : public TWPSetModeControl {
 public:
  using TWPSetModeControl::TWPSetModeControl;
  std::function<void(const TWPSetModeControl& mode)> OnPush;
};

class TWPCustomRichText : public TWPCustomRtfEdit {
  Q_OBJECT

 public:
  explicit TWPCustomRichText(QWidget* parent = nullptr);
  ~TWPCustomRichText() override;

  // The formatting toolbar this editor works with; the link clears itself
  // when the toolbar is destroyed. The toolbar, which is still to come, is
  // told which editor is current through it.
  QWidget* WPToolBar() const { return FToolBar; }
  void SetWPToolBar(QWidget* toolBar) { FToolBar = toolBar; }
  TWPRichTextSetMode& SetMode() { return FSetMode; }

  // A toolbar button of this editor went down (kIconDown) or up (kIconUp).
  void IconSelection(int state, int group, int number);
  // Shows the program's find dialog / replace dialog for this editor.
  void FindCommand();
  void ReplaceCommand();
  // The finder the dialogs search with.
  TWPTextFinder& DialogFinder() { return FDialogFinder; }

 protected:
  void ShowCaretFormatting() override;

 private:
  // The dialogs' events: Find Next, and Replace or Replace All.
  void DialogFind(const TWPFindDialog& dialog);
  void DialogReplace(const TWPFindDialog& dialog, bool all);
  // The finder takes the dialog's options and starts at the caret.
  void PrepareDialogFinder(const TWPFindDialog& dialog);
  // Selects a match, the caret at its end (down) or at its start (up).
  void SelectFound(int position, int length, bool down);

  TWPRichTextSetMode FSetMode;
  QPointer<QWidget> FToolBar;
  TWPTextFinder FDialogFinder;
};

class TWPRichText : public TWPCustomRichText {
  Q_OBJECT

 public:
  explicit TWPRichText(QWidget* parent = nullptr);
  ~TWPRichText() override;
};
