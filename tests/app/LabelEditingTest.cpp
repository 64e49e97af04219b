#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "labelpage/LabelLayout.h"
#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/SelectLayout.h"
#include "platform/AppRoutines.h"
#include "platform/ScriptedDialogService.h"
#include "richtext/Fingerprint.h"
#include "richtext/gui/TBCombo.h"
#include "richtext/gui/ToolBar.h"
#include "symbols/GetSymbol.h"

// Reaches the main window's editing state and routines.
class TLabelEditingTestAccess {
 public:
  explicit TLabelEditingTestAccess(TMainForm& form) : F(form) {}
  TWPRichText& Editor() const { return *F.WPRichText1; }
  TWPToolBar& ToolBar() const { return *F.WPToolBar1; }
  QMenu* Popup() const { return F.WPPopupMenu; }
  bool Modified() const { return F.FModified; }
  bool Editing() const { return F.FEditing; }
  int CurrentCell() const { return F.FCurrentCell; }
  TEditHistory& History() const { return F.History(); }
  void OpenOver(TCellRect rFree, int n) {
    F.PageOfLabelsPanelClickedInCellEvent(F.PageOfLabelsPanel, {}, rFree, n, F.PageOfLabelsPanel->Storage(n));
  }
  void SetDefaultFont(const QString& name, int size, bool bold, quint32 color) {
    F.FDefaultFontName = name;
    F.FDefaultFontSize = size;
    F.FDefaultFontBold = bold;
    F.FDefaultFontColor = color;
  }
  void OpenFile(const QString& path) { F.OpenPageOfLabelsFile(path); }
  void GetSymbol() { F.GetSymbolbuttonClick(); }
  void CountBeeps(int& beeps) {
    F.FBeep = [&beeps] { ++beeps; };
  }

 private:
  TMainForm& F;
};

namespace {

using labelpagetest::GridLayout;
using TAccess = TLabelEditingTestAccess;

constexpr std::uint8_t kRed = 1;

// What a label or the editor holds: paragraphs joined by '|'.
std::string Paragraphs(const TWPRTFText& document) {
  std::string text;
  for (int i = 0; i < document.ParagraphCount(); ++i) text += (i ? "|" : "") + document.ParagraphText(i);
  return text;
}

TAttr FirstAttr(const TWPRTFText& document) { return document.FirstParagraph->FirstLine->Attrs[0]; }

class LabelEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    FProgram = FDir.path() + QStringLiteral("/");
    SetApplicationDirectoryOverride(FProgram);
    SaveLLOFile(QFile::encodeName(FProgram + "KLXFF.LLO").toStdString(),
                {GridLayout(2, 2, "Four"), GridLayout(1, 1, "One")});
    FForm = std::make_unique<TMainForm>();
    FForm->FormActivate();
    FForm->show();
    QApplication::setActiveWindow(FForm.get());
    // No pause ends a run of typing, however slowly the test runs.
    Access().History().Clock = [] { return std::int64_t{0}; };
    NewPage("Four");
  }
  void TearDown() override {
    FForm.reset();
    QGuiApplication::clipboard()->clear();
    SetApplicationDirectoryOverride({});
  }

  TAccess Access() { return TAccess(*FForm); }
  TWPRichText& Editor() { return Access().Editor(); }
  TKLXPagePanel& Panel() { return *FForm->PageOfLabelsPanel; }
  TWPRTFTextIo& Cell(int n) { return Panel().Storage(n)->RtfText(); }
  std::vector<std::string> Cells() {
    std::vector<std::string> texts;
    for (int n = 1; n <= Panel().LabelsPerPage(); ++n) texts.push_back(Paragraphs(Cell(n)));
    return texts;
  }
  void Trigger(const char* name) {
    auto* action = FForm->findChild<QAction*>(QLatin1String(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
  }

  void NewPage(const QString& layout) {
    FDialogs->QueueExec([layout](QDialog& d) {
      auto& dialog = dynamic_cast<TSelectLayout&>(d);
      dialog.LayoutList->setCurrentItem(dialog.LayoutList->findItems(layout, Qt::MatchExactly).first());
      dialog.okbutton->click();
      return dialog.result();
    });
    // Changes of the page before are thrown away.
    if (Access().Modified()) FDialogs->QueueMessageResult(idNo);
    Trigger("New1");
  }
  void ClickLabel(int n) {
    const TCellRect r = Panel().Cell(n).rFree;
    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  }
  void Type(const QString& text) { QTest::keyClicks(&Editor(), text); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&Editor(), key, modifiers); }
  // What the toolbar does for a button without one: a click on it, then new
  // attributes for the selection or the insertion point.
  void Format(const std::function<void(TAttr&)>& change) {
    QTest::mouseClick(&Access().ToolBar(), Qt::LeftButton, {}, QPoint(1, 1));
    TAttr attr = Editor().GetWritingAttributes();
    change(attr);
    Editor().SetWritingAttributes(attr);
  }
  void ClickToolButton(int group, int number) {
    QToolButton* button = Access().ToolBar().Button(group, number);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // An item chosen from a list box of the toolbar (2 size, 3 text colour).
  void ChooseFromToolBar(int list, const QString& item) {
    TWPTBCombo* box = Access().ToolBar().ListBox(list);
    ASSERT_NE(box, nullptr);
    const int index = box->findText(item, Qt::MatchFixedString);
    ASSERT_GE(index, 0) << item.toStdString();
    QTest::mouseClick(&Access().ToolBar(), Qt::LeftButton, {}, QPoint(1, 1));
    emit box->activated(index);
  }
  void PutRtfOnClipboard(const char* rtf) {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), rtf);
    QGuiApplication::clipboard()->setMimeData(data);
  }

  QTemporaryDir FDir;
  QString FProgram;
  TScopedScriptedDialogs FDialogs;
  std::unique_ptr<TMainForm> FForm;
};

TEST_F(LabelEditing, FormattedLinesTabToTheNextLabelAndBackThenSaveAndReopen) {
  ClickLabel(1);
  ASSERT_TRUE(Editor().hasFocus());
  ASSERT_TRUE(Access().ToolBar().isEnabled());
  ClickToolButton(wpgStatus, 2);  // bold
  ChooseFromToolBar(2, " 14");
  ChooseFromToolBar(3, "1");
  Type("First");
  Key(Qt::Key_Return);
  Type("Second");
  EXPECT_TRUE(Access().Modified());
  Key(Qt::Key_Tab);
  EXPECT_EQ(Access().CurrentCell(), 2);
  EXPECT_EQ(Panel().SelectedCell(), 2);
  Type("Other");
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Access().CurrentCell(), 1);
  EXPECT_EQ(Paragraphs(*Editor().RtfText()), "First|Second");
  EXPECT_EQ(Cells(), (std::vector<std::string>{"First|Second", "Other", "", ""}));
  const TAttr attr = FirstAttr(Cell(1));
  EXPECT_EQ(attr.Style & kStyleBold, kStyleBold);
  EXPECT_EQ(attr.Size, 14);
  EXPECT_EQ(attr.Colors & 0x0F, kRed);

  // The page shows both labels: red text in the first, dark in the second.
  const QImage page = Panel().grab().toImage();
  auto countInk = [&](int n, const std::function<bool(QColor)>& ink) {
    const TCellRect r = Panel().Cell(n).rFree;
    int count = 0;
    for (int y = r.Top; y <= r.Bottom; ++y)
      for (int x = r.Left; x <= r.Right; ++x) count += ink(page.pixelColor(x, y)) ? 1 : 0;
    return count;
  };
  EXPECT_GT(countInk(1, [](QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }), 20);
  EXPECT_GT(countInk(2, [](QColor c) { return c.lightness() < 100; }), 20);

  // Tab at the last label and Shift+Tab at the first do nothing.
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Access().CurrentCell(), 1);
  ClickLabel(4);
  Key(Qt::Key_Tab);
  EXPECT_EQ(Access().CurrentCell(), 4);

  const QString path = FProgram + "sheet.KLX";
  FDialogs->QueueFileName(path);
  Trigger("mnuSaveAs");
  ASSERT_FALSE(Access().Modified());
  const std::uint64_t second = ContentFingerprint(Cell(2));
  Access().OpenFile(path);
  EXPECT_EQ(Cells(), (std::vector<std::string>{"First|Second", "Other", "", ""}));
  EXPECT_EQ(FirstAttr(Cell(1)).Size, 14);
  EXPECT_EQ(FirstAttr(Cell(1)).Colors & 0x0F, kRed);
  EXPECT_EQ(ContentFingerprint(Cell(2)), second);
}

TEST_F(LabelEditing, ChangesThatMakeTheTextTallerThanTheLabelAreTakenBack) {
  struct TCase {
    const char* What;
    std::function<void()> Prepare;
    std::function<void()> Act;
  };
  const char* const sizes[] = {" 14", " 20", " 28", " 36", " 48", " 72"};
  int larger = 0;
  const char* const twoLines = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 pasted\\par again\\par}";
  const char* const bigSymbol = "{\\rtf1\\ansi{\\fonttbl{\\f0\\ftech Standard Symbols PS;}}\\f0\\fs96 S}";
  const TCase cases[] = {
      {"typing before the end", [&] { Key(Qt::Key_Home); }, [&] { Type("word "); }},
      {"Enter", [&] { Key(Qt::Key_Left); }, [&] { Key(Qt::Key_Return); }},
      {"paste", [&] { PutRtfOnClipboard(twoLines); }, [&] { Key(Qt::Key_V, Qt::ControlModifier); }},
      {"a larger size chosen in the toolbar",
       [&] {
         Key(Qt::Key_Left, Qt::ShiftModifier);
         Key(Qt::Key_Left, Qt::ShiftModifier);
         larger = 0;
       },
       [&] { ChooseFromToolBar(2, QString::fromLatin1(sizes[std::min(larger++, 5)])); }},
      {"a symbol",
       [&] {
         PutRtfOnClipboard(bigSymbol);
         FDialogs->QueueExecResult(TGetSymbol::ResultOk);
       },
       [&] { Access().GetSymbol(); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    NewPage("Four");
    ClickLabel(1);
    Type("one");
    Key(Qt::Key_Return);
    Type("two");
    c.Prepare();
    int beeps = 0;
    Access().CountBeeps(beeps);
    bool refused = false;
    for (int i = 0; i < 40 && !refused; ++i) {
      const std::uint64_t label = ContentFingerprint(Cell(1));
      const int caret = Editor().GetCaretPosition();
      const TAttr attr = Editor().GetWritingAttributes();
      const int beepsBefore = beeps;
      c.Act();
      ASSERT_LE(Editor().DocumentHeight(), Editor().height());
      if (ContentFingerprint(Cell(1)) != label) continue;
      refused = true;
      EXPECT_GT(beeps, beepsBefore);
      EXPECT_EQ(ContentFingerprint(*Editor().RtfText()), label);
      EXPECT_EQ(Editor().GetCaretPosition(), caret);
      const TAttr now = Editor().GetWritingAttributes();
      EXPECT_EQ(now.FontIndex, attr.FontIndex);
      EXPECT_EQ(now.Size, attr.Size);
      EXPECT_EQ(now.Style, attr.Style);
      EXPECT_EQ(now.Colors, attr.Colors);
    }
    EXPECT_TRUE(refused);
  }
}

TEST_F(LabelEditing, TheEditorIsLaidOverTheTextAreaAtTheScreensResolution) {
  Panel().SetPixelsPerInch(96);
  Access().OpenOver(TCellRect{10, 20, 209, 79}, 2);
  EXPECT_EQ(Editor().RtfText()->Header.PageWidth, 3000);
  EXPECT_EQ(Editor().RtfText()->Header.PageHeight, 900);
  EXPECT_EQ(Editor().geometry(), QRect(10 + Panel().x() + 1, 20 + Panel().y() + 1, 200, 60));
  EXPECT_EQ(Editor().RtfText()->Header.LeftMargin, 0);
  EXPECT_TRUE(Editor().isVisible());
  EXPECT_EQ(Editor().GetCaretPosition(), 0);
}

TEST_F(LabelEditing, CopyToAllAndToNext) {
  for (int k : {4, 1, 3}) {
    SCOPED_TRACE(k);
    NewPage("Four");
    for (int n = 1; n <= 4; ++n) {
      ClickLabel(n);
      Type(QStringLiteral("L%1").arg(n));
    }
    ClickLabel(k);
    Trigger("CopyContentstoAllLabels1");
    const std::string text = "L" + std::to_string(k);
    EXPECT_EQ(Cells(), std::vector<std::string>(4, text));
    EXPECT_EQ(Access().CurrentCell(), k);
    EXPECT_TRUE(Editor().hasFocus());
  }

  NewPage("Four");
  ClickLabel(2);
  Type("two");
  Trigger("CopyContentstoNextLabel1");
  EXPECT_EQ(Cells(), (std::vector<std::string>{"", "two", "two", ""}));
  EXPECT_EQ(Access().CurrentCell(), 2);

  // At the last label nothing changes, not even the modified flag.
  const QString path = FProgram + "copy.KLX";
  FDialogs->QueueFileName(path);
  Trigger("mnuSaveAs");
  ClickLabel(4);
  const int steps = Access().History().StepCount();
  Trigger("CopyContentstoNextLabel1");
  EXPECT_FALSE(Access().Modified());
  EXPECT_EQ(Access().History().StepCount(), steps);
  EXPECT_EQ(Cells(), (std::vector<std::string>{"", "two", "two", ""}));
}

TEST_F(LabelEditing, ZoomReopensTheEditorOverTheSameLabel) {
  ClickLabel(3);
  Type("abc");
  // At the ends of the range nothing at all happens: the caret stays.
  Key(Qt::Key_PageDown);
  EXPECT_EQ(Panel().Magnification(), 100);
  EXPECT_EQ(Editor().GetCaretPosition(), 3);
  FForm->ZoomMinusButtonClick();
  FForm->ZoomMinusButtonClick();
  EXPECT_EQ(Panel().Magnification(), 80);
  for (int zoom : {80, 90, 100}) {
    SCOPED_TRACE(zoom);
    EXPECT_EQ(Panel().Magnification(), zoom);
    EXPECT_EQ(Editor().Zooming(), zoom);
    EXPECT_EQ(Access().CurrentCell(), 3);
    const TCellRect r = Panel().Cell(3).rFree;
    EXPECT_EQ(Editor().geometry(), QRect(r.Left + Panel().x() + 1, r.Top + Panel().y() + 1,
                                         r.Right - r.Left + 1, r.Bottom - r.Top + 1));
    FForm->ZoomPlusButtonClick();
  }
  for (int i = 0; i < 5; ++i) FForm->ZoomMinusButtonClick();
  EXPECT_EQ(Panel().Magnification(), 60);
  Key(Qt::Key_End);
  Key(Qt::Key_Left);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(Panel().Magnification(), 60);
  EXPECT_EQ(Editor().GetCaretPosition(), 2);
  EXPECT_EQ(Paragraphs(Cell(3)), "abc");
}

TEST_F(LabelEditing, AnEmptyLabelTakesTheDefaultEditorFont) {
  struct TCase {
    const char* What;
    quint32 Color;
    std::uint8_t Colors;
  };
  const TCase cases[] = {
      {"red", 0x0000FF, kRed},
      {"a colour outside the table", 0x123456, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    NewPage("Four");
    Access().SetDefaultFont(QStringLiteral("Times New Roman"), 16, true, c.Color);
    ClickLabel(2);
    const TAttr attr = Editor().GetWritingAttributes();
    EXPECT_EQ(attr.Size, 16);
    EXPECT_EQ(attr.Colors & 0x0F, c.Colors);
    EXPECT_EQ(attr.Style & kStyleBold, kStyleBold);
    EXPECT_EQ(Editor().RtfText()->Header.FontNames[attr.FontIndex], "Times New Roman");
    EXPECT_FALSE(Access().Modified());
  }
  // A label with text keeps the formatting of its text.
  labelpagetest::PutText(Cell(3), "text");
  const TAttr own = FirstAttr(Cell(3));
  ClickLabel(3);
  EXPECT_EQ(Editor().GetWritingAttributes().Size, own.Size);
  EXPECT_EQ(Editor().GetWritingAttributes().Style, own.Style);
}

TEST_F(LabelEditing, CtrlAClearAndClearAll) {
  ClickLabel(1);
  Type("abc");
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Paragraphs(Cell(1)), "abc");
  EXPECT_EQ(Editor().SelLength(), 3);
  ClickLabel(2);
  Type("def");

  FDialogs->QueueMessageResult(idNo);
  Trigger("mnuClearAllCellContents");
  EXPECT_EQ(FDialogs->Requests().back().Text, "Clear all contents?");
  EXPECT_EQ(FDialogs->Requests().back().Caption, "CANCEL");
  EXPECT_EQ(Cells(), (std::vector<std::string>{"abc", "def", "", ""}));
  EXPECT_TRUE(Editor().isVisible());

  Trigger("Clear1");
  EXPECT_EQ(Cells(), (std::vector<std::string>{"abc", "", "", ""}));
  EXPECT_TRUE(Editor().isVisible());

  EXPECT_TRUE(Access().ToolBar().isEnabled());
  FDialogs->QueueMessageResult(idYes);
  Trigger("mnuClearAllCellContents");
  EXPECT_EQ(Cells(), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_FALSE(Editor().isVisible());
  EXPECT_FALSE(Access().ToolBar().isEnabled());
  EXPECT_TRUE(Access().Modified());
}

TEST_F(LabelEditing, ASymbolIsPastedAtTheCaretOnlyWhenThePickerSaysOk) {
  FDialogs->QueueFileName(FProgram + "symbol.KLX");
  Trigger("mnuSaveAs");
  ClickLabel(2);
  PutRtfOnClipboard("{\\rtf1\\ansi{\\fonttbl{\\f0\\ftech Standard Symbols PS;}}\\f0\\fs24 S}");
  FDialogs->QueueExecResult(TGetSymbol::ResultCancel);
  Access().GetSymbol();
  EXPECT_EQ(Paragraphs(Cell(2)), "");
  EXPECT_FALSE(Access().Modified());

  FDialogs->QueueExecResult(TGetSymbol::ResultOk);
  Access().GetSymbol();
  EXPECT_EQ(Paragraphs(Cell(2)), "S");
  EXPECT_EQ(Cell(2).Header.FontNames[FirstAttr(Cell(2)).FontIndex], "Standard Symbols PS");
  EXPECT_EQ(FirstAttr(Cell(2)).Size, 12);
  EXPECT_TRUE(Access().Modified());
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Paragraphs(Cell(2)), "");
  EXPECT_FALSE(Access().Modified());
}

TEST_F(LabelEditing, TheClosedEditorReachesNoLabelOfAPageThatWentAway) {
  ClickLabel(2);
  Type("abc");
  // A file that cannot be read leaves no page; the editor is closed.
  const QString broken = FProgram + "broken.KLX";
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a label page");
  file.close();
  FDialogs->QueueMessageResult(idOK);
  Access().OpenFile(broken);
  ASSERT_FALSE(Editor().isVisible());
  // The default font still reaches the editor, but no label and no flag.
  FDialogs->QueueFontCancel();
  Trigger("DefaultEditorFont1");
  EXPECT_FALSE(Access().Modified());
}

TEST_F(LabelEditing, SaveReopensTheEditorWithCaretAndAttributes) {
  const QString path = FProgram + "saved.KLX";
  FDialogs->QueueFileName(path);
  Trigger("mnuSaveAs");
  ClickLabel(2);
  Type("abcdef");
  Key(Qt::Key_Left);
  Key(Qt::Key_Left);
  Format([](TAttr& a) {
    a.Style |= kStyleItalic;
    a.Size = 18;
  });
  Trigger("mnuSave");
  EXPECT_FALSE(Access().Modified());
  EXPECT_TRUE(Editor().isVisible());
  EXPECT_TRUE(Editor().hasFocus());
  EXPECT_EQ(Access().CurrentCell(), 2);
  EXPECT_EQ(Editor().GetCaretPosition(), 4);
  EXPECT_EQ(Editor().GetWritingAttributes().Size, 18);
  EXPECT_EQ(Editor().GetWritingAttributes().Style & kStyleItalic, kStyleItalic);
}

TEST_F(LabelEditing, UndoAndRedoEveryKindOfChange) {
  const QString path = FProgram + "undo.KLX";
  FDialogs->QueueFileName(path);
  Trigger("mnuSaveAs");
  QMenu& popup = *Access().Popup();
  auto greyed = [&] {
    emit popup.aboutToShow();
    return std::make_pair(!FForm->findChild<QAction*>("Undo1")->isEnabled(),
                          !FForm->findChild<QAction*>("Redo1")->isEnabled());
  };
  EXPECT_EQ(greyed(), std::make_pair(true, true));

  ClickLabel(2);
  Type("word");
  Key(Qt::Key_A, Qt::ControlModifier);
  ClickToolButton(wpgStatus, 2);  // bold
  Trigger("CopyContentstoAllLabels1");
  FDialogs->QueueMessageResult(idYes);
  Trigger("mnuClearAllCellContents");
  EXPECT_EQ(greyed(), std::make_pair(false, true));

  auto bold = [&](int n) { return (FirstAttr(Cell(n)).Style & kStyleBold) != 0; };
  const std::vector<std::string> empty(4, ""), copied(4, "word");
  const std::vector<std::string> typed{"", "word", "", ""};
  struct TStep {
    const char* What;
    bool Undo;
    std::vector<std::string> Cells;
    bool SecondBold;
    bool Modified;
  };
  const TStep steps[] = {
      {"undo clear all", true, copied, true, true}, {"undo copy to all", true, typed, true, true},
      {"undo bold", true, typed, false, true},      {"undo typing", true, empty, false, false},
      {"redo typing", false, typed, false, true},   {"redo bold", false, typed, true, true},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.What);
    Key(step.Undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Cells(), step.Cells);
    EXPECT_EQ(bold(2), step.SecondBold);
    EXPECT_EQ(Access().Modified(), step.Modified);
    EXPECT_TRUE(Editor().isVisible());
    EXPECT_EQ(Access().CurrentCell(), 2);
  }
  if (bold(1)) ADD_FAILURE() << "label 1 was not copied to";
  // Ctrl+Shift+Z redoes too: the copy to all.
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Cells(), copied);
  EXPECT_EQ(greyed(), std::make_pair(false, false));

  // Undo after a save leaves the page modified; New forgets everything.
  Trigger("mnuSave");
  EXPECT_FALSE(Access().Modified());
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(Access().Modified());
  EXPECT_EQ(Cells(), typed);
  NewPage("Four");
  EXPECT_FALSE(Access().History().CanUndo());
  EXPECT_FALSE(Access().History().CanRedo());

  // New writing attributes between keystrokes end a run of typing.
  ClickLabel(3);
  Type("ab");
  Format([](TAttr& a) { a.Style |= kStyleItalic; });
  Type("cd");
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Paragraphs(Cell(3)), "ab");
}

}  // namespace
