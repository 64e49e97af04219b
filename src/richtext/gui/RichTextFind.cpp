// The editor's find and replace commands: the program's find and replace
// dialogs, shown for this editor, search and replace in its text.
#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/AppRoutines.h"
#include "platform/DialogService.h"
#include "richtext/gui/AnsiCodec.h"
#include "richtext/gui/FindDialog.h"
#include "richtext/gui/RichText.h"

namespace {

// While a long replace runs, input waits, except Escape, which is noted: the
// replacing stops when it looks next.
class TEscapeWatch : public QObject {
 public:
  TEscapeWatch() { QCoreApplication::instance()->installEventFilter(this); }
  ~TEscapeWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
  TEscapeWatch(const TEscapeWatch&) = delete;
  TEscapeWatch& operator=(const TEscapeWatch&) = delete;

  bool Pressed() {
    QCoreApplication::processEvents();
    return FPressed;
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) FPressed = true;
        return true;
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
        return true;
      default:
        return false;
    }
  }

 private:
  bool FPressed = false;
};

}  // namespace

void TWPCustomRichText::FindCommand() {
  ApplicationReplaceDialog().close();
  TWPFindDialog& dialog = ApplicationFindDialog();
  dialog.Wire(this, [this, &dialog] { DialogFind(dialog); }, {});
  dialog.SetOptions({});
  Dialogs().Exec(dialog);
}

void TWPCustomRichText::ReplaceCommand() {
  if (ReadOnly()) return;
  ApplicationFindDialog().close();
  TWPFindDialog& dialog = ApplicationReplaceDialog();
  dialog.Wire(
      this, [this, &dialog] { DialogFind(dialog); },
      [this, &dialog](bool all) { DialogReplace(dialog, all); });
  dialog.SetOptions({});
  Dialogs().Exec(dialog);
}

void TWPCustomRichText::PrepareDialogFinder(const TWPFindDialog& dialog) {
  const TWPFindDialog::TOptions options = dialog.Options();
  TWPTextFinder& finder = FDialogFinder;
  finder.Wildcard = TWPTextFinder::kWildcard;
  finder.WholeWord = options.WholeWord;
  finder.MatchCase = options.MatchCase;
  finder.AttrFilter = 0;
  finder.SetStart(GetCaretPosition());
}

void TWPCustomRichText::SelectFound(int position, int length, bool down) {
  if (down)
    RtfText()->SelectPositions(position, position + length);
  else
    RtfText()->SelectPositions(position + length, position);
}

void TWPCustomRichText::DialogFind(const TWPFindDialog& dialog) {
  PrepareDialogFinder(dialog);
  const bool down = dialog.Options().Down;
  const std::string text = wpansi::FromQString(dialog.FindText());
  if (down ? FDialogFinder.FindNext(text) : FDialogFinder.FindPrevious(text))
    SelectFound(FDialogFinder.FoundPosition(), FDialogFinder.FoundLength(), down);
  else
    RtfText()->ClearSelectionAndRepaint();  // the caret stays where it is
}

void TWPCustomRichText::DialogReplace(const TWPFindDialog& dialog, bool all) {
  if (!EditingAllowed()) return;
  TWPRTFTextInput& doc = *RtfText();
  TWPTextFinder& finder = FDialogFinder;
  const bool down = dialog.Options().Down;
  const std::string replacement = wpansi::FromQString(dialog.ReplaceText());
  if (!all) {
    // The match of the last Find Next, as long as it is still there.
    finder.WholeWord = dialog.Options().WholeWord;
    finder.MatchCase = dialog.Options().MatchCase;
    if (!finder.Replace(replacement)) return;
    // The finder's edits free no line: the old selection is dropped here.
    doc.ClearSelection();
    doc.AnchorSet = false;
    doc.ReformatMarked();
    doc.Repaint();
    SelectFound(finder.FoundPosition(), finder.FoundLength(), down);
    Change();
    return;
  }
  PrepareDialogFinder(dialog);
  // A match that Find Next left selected is replaced too, whichever end of
  // it the caret is at.
  if (doc.HasSelection()) finder.SetStart(doc.SelStart());
  int replaced = 0;
  {
    TEscapeWatch escape;
    finder.EscapeHeld = [&escape] { return escape.Pressed(); };
    BeginBusyCursor();
    setUpdatesEnabled(false);  // the text is shown again when it is whole
    replaced = finder.ReplaceAll(wpansi::FromQString(dialog.FindText()), replacement);
    finder.EscapeHeld = nullptr;
    if (replaced > 0) {
      doc.ClearSelection();
      doc.AnchorSet = false;
      doc.ReformatMarked();
    }
    setUpdatesEnabled(true);
    EndBusyCursor();
  }
  if (replaced == 0) return;
  doc.Repaint();
  const int position = finder.LastReplacedPosition();
  SetCaretPosition(down ? position + finder.LastReplacedLength() : position);
  Change();
}
