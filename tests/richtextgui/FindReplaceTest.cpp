// Find and replace in the editor: the toolbar commands show the program's
// dialogs, whose buttons search, select and replace in the editor's text.
#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

#include "platform/ScriptedDialogService.h"
#include "richtext/gui/FindDialog.h"
#include "richtextgui/EditorTestSupport.h"

namespace {

using edittest::TFocusedEditor;

// The find and replace buttons of the toolbar's edit group.
constexpr int kIconFind = 6;
constexpr int kIconReplace = 7;

class FindReplaceTest : public TFocusedEditor {
 protected:
  // Runs the command of toolbar button `number`; while its dialog is up,
  // `use` works it as the user would.
  void WithDialog(int number, const std::function<void(TWPFindDialog&)>& use) {
    Dialogs->QueueExec([&use](QDialog& dialog) {
      use(static_cast<TWPFindDialog&>(dialog));
      return 0;
    });
    Editor.ToolBarIconSelection(wptIconDown, wpgEdit, number);
  }
  // Start, length and caret of the editor's selection.
  std::string Selection() {
    return std::to_string(Editor.SelStart()) + "+" + std::to_string(Editor.SelLength()) + "@" +
           std::to_string(Editor.GetCaretPosition());
  }

  TScopedScriptedDialogs Dialogs;
};

TEST_F(FindReplaceTest, FindNextSelectsEachMatchDownAndUp) {
  Load("ab AB|xAb");
  std::vector<std::string> seen;
  WithDialog(kIconFind, [&](TWPFindDialog& dialog) {
    EXPECT_EQ(dialog.Kind(), TWPFindDialog::fdFind);
    EXPECT_TRUE(dialog.Options().Down);
    dialog.SetFindText("ab");
    for (int i = 0; i < 4; ++i) {
      dialog.FindNextButton->click();
      seen.push_back(Selection());
    }
    dialog.UpButton->click();
    dialog.FindNextButton->click();
    seen.push_back(Selection());
    dialog.FindNextButton->click();
    seen.push_back(Selection());
  });
  // Down: the caret at the end of each match; nothing more found: nothing
  // selected, the caret stays. Up: the caret at the start of each match.
  EXPECT_EQ(seen, std::vector<std::string>({"0+2@2", "3+2@5", "7+2@9", "0+0@9", "7+2@7", "3+2@3"}));
  ASSERT_EQ(Dialogs->Requests().size(), 1u);
  EXPECT_EQ(Dialogs->Requests()[0].DialogClass, "TWPFindDialog");
  EXPECT_EQ(Dialogs->Requests()[0].Caption, "Find");
  EXPECT_TRUE(Dialogs->Unexpected().empty());
}

TEST_F(FindReplaceTest, TheDialogsOpenSearchingDownWithoutOptions) {
  Load("Cat cat");
  WithDialog(kIconFind, [](TWPFindDialog& dialog) {
    dialog.SetFindText("cat");
    dialog.MatchCaseBox->setChecked(true);
    dialog.WholeWordBox->setChecked(true);
    dialog.UpButton->setChecked(true);
    dialog.FindNextButton->click();
  });
  EXPECT_EQ(Selection(), "0+0@0");  // up from the start: nothing
  WithDialog(kIconFind, [](TWPFindDialog& dialog) {
    EXPECT_EQ(dialog.FindText(), "cat");  // the text is kept
    EXPECT_FALSE(dialog.MatchCaseBox->isChecked());
    EXPECT_FALSE(dialog.WholeWordBox->isChecked());
    EXPECT_TRUE(dialog.DownButton->isChecked());
    dialog.FindNextButton->click();
  });
  EXPECT_EQ(Selection(), "0+3@3");
  WithDialog(kIconReplace, [](TWPFindDialog& dialog) {
    EXPECT_EQ(dialog.Kind(), TWPFindDialog::fdReplace);
    dialog.MatchCaseBox->setChecked(true);
    dialog.SetFindText("cat");
    dialog.FindNextButton->click();
  });
  EXPECT_EQ(Selection(), "4+3@7");
  WithDialog(kIconReplace, [](TWPFindDialog& dialog) { EXPECT_FALSE(dialog.MatchCaseBox->isChecked()); });
}

TEST_F(FindReplaceTest, TheFindDialogIsWorkedWithTheKeyboard) {
  Load("one two one");
  WithDialog(kIconFind, [this](TWPFindDialog& dialog) {
    dialog.SetFindText("two");
    dialog.show();
    QTest::keyClick(dialog.FindEdit, Qt::Key_Delete);  // the old text is selected
    EXPECT_FALSE(dialog.FindNextButton->isEnabled());  // nothing to look for
    QTest::keyClicks(dialog.FindEdit, "one");
    EXPECT_TRUE(dialog.FindNextButton->isEnabled());
    QTest::keyClick(dialog.FindEdit, Qt::Key_Return);
    EXPECT_EQ(Selection(), "0+3@3");
    QTest::keyClick(dialog.FindEdit, Qt::Key_Return);
    EXPECT_EQ(Selection(), "8+3@11");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
  });
}

TEST_F(FindReplaceTest, ReplaceReplacesTheFoundMatchAndSelectsTheNewText) {
  Load("a cat, a cat");
  int changes = 0;
  Editor.OnChange = [&changes](TWPCustomRtfEdit*) { ++changes; };
  WithDialog(kIconReplace, [&](TWPFindDialog& dialog) {
    dialog.SetFindText("cat");
    dialog.SetReplaceText("lion");
    dialog.ReplaceButton->click();  // nothing found yet: nothing replaced
    EXPECT_EQ(Text(), "a cat, a cat");
    dialog.FindNextButton->click();
    dialog.ReplaceButton->click();
    EXPECT_EQ(Text(), "a lion, a cat");
    EXPECT_EQ(Selection(), "2+4@6");
    dialog.ReplaceButton->click();  // the match is gone: the new text stays
    EXPECT_EQ(Text(), "a lion, a cat");
    dialog.FindNextButton->click();
    EXPECT_EQ(Selection(), "10+3@13");
  });
  EXPECT_EQ(changes, 1);
}

TEST_F(FindReplaceTest, ReplaceAllFromTheCaretOn) {
  const struct {
    const char* Text;
    int Caret;
    bool FindFirst;  // Find Next before Replace All
    const char* Expected;
    int Caret2;
  } cases[] = {
      {"x x|xx", 0, false, "xx xx|xxxx", 10},
      {"x x|xx", 2, false, "x xx|xxxx", 9},
      // A match Find Next selected is replaced too.
      {"x x|xx", 0, true, "xx xx|xxxx", 10},
      {"none", 0, false, "none", 0},
  };
  for (const auto& c : cases) {
    Load(c.Text);
    Editor.SetCaretPosition(c.Caret);
    int changes = 0;
    Editor.OnChange = [&changes](TWPCustomRtfEdit*) { ++changes; };
    WithDialog(kIconReplace, [&](TWPFindDialog& dialog) {
      dialog.SetFindText("x");
      dialog.SetReplaceText("xx");
      if (c.FindFirst) dialog.FindNextButton->click();
      dialog.ReplaceAllButton->click();
    });
    EXPECT_EQ(Text(), c.Expected) << c.Text;
    EXPECT_EQ(Selection(), "0+0@" + std::to_string(c.Caret2)) << c.Text;
    EXPECT_EQ(changes, std::string(c.Text) == c.Expected ? 0 : 1) << c.Text;
  }
}

TEST_F(FindReplaceTest, EscapeStopsReplaceAll) {
  Load(std::string(100, 'x'));
  WithDialog(kIconReplace, [this](TWPFindDialog& dialog) {
    dialog.SetFindText("x");
    dialog.SetReplaceText("y");
    // Pressed while the replacing runs: it stops when it looks, after 30.
    QCoreApplication::postEvent(&Editor, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    dialog.ReplaceAllButton->click();
  });
  EXPECT_EQ(Text(), std::string(30, 'y') + std::string(70, 'x'));
  EXPECT_EQ(Editor.GetCaretPosition(), 30);
}

TEST_F(FindReplaceTest, AReadOnlyEditorNeitherFindsFromTheToolbarNorReplaces) {
  Load("cat");
  Editor.SetReadOnly(true);
  Editor.ToolBarIconSelection(wptIconDown, wpgEdit, kIconFind);
  Editor.ToolBarIconSelection(wptIconDown, wpgEdit, kIconReplace);
  EXPECT_TRUE(Dialogs->Requests().empty());
  Editor.ToolBarIconSelection(wptIconUp, wpgEdit, kIconFind);  // a button coming up does nothing
  EXPECT_TRUE(Dialogs->Requests().empty());
  // The find command itself searches a read-only text; the replace dialog
  // that was open when the editor became read-only changes nothing.
  Dialogs->QueueExec([this](QDialog& d) {
    auto& dialog = static_cast<TWPFindDialog&>(d);
    dialog.SetFindText("cat");
    dialog.FindNextButton->click();
    EXPECT_EQ(Selection(), "0+3@3");
    return 0;
  });
  Editor.FindCommand();
  Editor.SetReadOnly(false);
  WithDialog(kIconReplace, [this](TWPFindDialog& dialog) {
    dialog.SetFindText("cat");
    dialog.SetReplaceText("dog");
    dialog.FindNextButton->click();
    Editor.SetReadOnly(true);
    dialog.ReplaceButton->click();
    dialog.ReplaceAllButton->click();
  });
  EXPECT_EQ(Text(), "cat");
}

TEST(FindDialogs, AnEditorThatGoesTakesItsEventsAlong) {
  TScopedScriptedDialogs dialogs;
  auto editor = std::make_unique<TWPRichText>();
  dialogs->QueueExecResult(0);
  editor->FindCommand();
  TWPFindDialog& dialog = ApplicationFindDialog();
  EXPECT_EQ(dialog.WiredTo(), editor.get());
  TWPRichText other;
  dialog.Unwire(&other);  // only the editor wired to may cut the events
  EXPECT_EQ(dialog.WiredTo(), editor.get());
  editor.reset();
  EXPECT_EQ(dialog.WiredTo(), nullptr);
  dialog.SetFindText("a");
  dialog.FindNextButton->click();  // goes nowhere
}

}  // namespace
