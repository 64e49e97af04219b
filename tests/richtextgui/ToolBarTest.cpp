#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <tuple>
#include <vector>

#include "common/TestSupport.h"
#include "platform/ScriptedDialogService.h"
#include "richtext/gui/ToolBar.h"
#include "richtext/gui/ToolGlyphs.h"
#include "richtextgui/EditorTestSupport.h"

namespace {

using edittest::TFocusedEditor;

// A focused editor linked to a toolbar of its own window.
class ToolBarTest : public TFocusedEditor {
 protected:
  void SetUp() override {
    Bar.resize(600, 31);
    Bar.show();
    TFocusedEditor::SetUp();
    Editor.SetWPToolBar(&Bar);
  }
  void Click(int group, int number) {
    QToolButton* button = Bar.Button(group, number);
    ASSERT_NE(button, nullptr) << group << "/" << number;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // Gives paragraph index the style bits on all its characters.
  void StyleParagraph(int index, std::uint8_t style) {
    TParagraph* par = Doc().FirstParagraph;
    for (int i = 0; i < index; ++i) par = par->Next;
    for (TLine* line = par->FirstLine; line; line = line->Next)
      for (int c = 0; c < line->Length; ++c) line->Attrs[c].Style |= style;
  }
  TParagraph* Paragraph(int index) {
    TParagraph* par = Doc().FirstParagraph;
    for (int i = 0; i < index; ++i) par = par->Next;
    return par;
  }
  std::vector<int> DownButtons(int group) const {
    std::vector<int> down;
    for (int number = 1; number <= 19; ++number)
      if (Bar.IsDown(group, number)) down.push_back(number);
    return down;
  }
  void AllSets() {
    Bar.BeginUpdate();
    Bar.Setsel_StatusIcons({SelNormal, SelBold, SelItalic, SelUnder, SelHyperLink, SelStrikeOut, SelSuper,
                            SelSub, SelLeft, SelHidden, SelRTFCode, SelRight, SelBlock, SelCenter});
    Bar.Setsel_ActionIcons({SelExit, SelNew, SelOpen, SelSave, SelClose, SelPrint, SelPrintSetup});
    Bar.Setsel_DatabaseIcons(
        {SelToStart, SelNext, SelPrev, SelToEnd, SelEdit, SelAdd, SelDel, SelCancel, SelPost});
    Bar.Setsel_EditIcons(
        {SelCopy, SelCut, SelPaste, SelSelAll, SelHideSel, SelFind, SelReplace, SelSpellCheck});
    Bar.Setsel_ListBoxes({SelFontName, SelFontSize, SelFontColor, SelBackgroundColor, SelStyle, SelParColor});
    Bar.EndUpdate();
  }

  TWPToolBar Bar;
};

TEST_F(ToolBarTest, SuperscriptReleasesSubscript) {
  Bar.Setsel_StatusIcons({SelSuper, SelSub});
  Editor.SetWPToolBar(&Bar);
  Click(wpgStatus, 8);
  EXPECT_TRUE(Bar.IsDown(wpgStatus, 8));
  EXPECT_TRUE(Doc().CurrentAttr.Style & kStyleSubscript);
  Click(wpgStatus, 7);
  EXPECT_TRUE(Bar.IsDown(wpgStatus, 7));
  EXPECT_FALSE(Bar.IsDown(wpgStatus, 8));
  EXPECT_EQ(Doc().CurrentAttr.Style & (kStyleSuperscript | kStyleSubscript), kStyleSuperscript);
  EXPECT_TRUE(Editor.hasFocus());
}

TEST_F(ToolBarTest, ButtonsAndListsFollowTheCaret) {
  Load("plain|bold|centred");
  StyleParagraph(1, kStyleBold);
  Paragraph(2)->Alignment = paCenter;
  Paragraph(2)->FirstLine->Attrs[0].Size = 14;
  Paragraph(2)->FirstLine->Attrs[1].Size = 14;
  Doc().ReformatAll();
  Editor.SetCaretPosition(1);
  EXPECT_FALSE(Bar.IsDown(wpgStatus, 2));
  EXPECT_EQ(DownButtons(wpgAlignment), std::vector<int>{1});

  Press("{Down}{End}");
  EXPECT_TRUE(Bar.IsDown(wpgStatus, 2));
  EXPECT_EQ(DownButtons(wpgAlignment), std::vector<int>{1});

  Press("{Down}{Home}{Right}");
  EXPECT_FALSE(Bar.IsDown(wpgStatus, 2));
  EXPECT_EQ(DownButtons(wpgAlignment), std::vector<int>{4});
  EXPECT_EQ(Bar.ListBox(2)->currentText(), " 14");
  EXPECT_EQ(Bar.ListBox(1)->currentText(), "Arial");
}

TEST_F(ToolBarTest, ListValuesShownAsTheCaretAsks) {
  AllSets();
  TWPTBCombo* size = Bar.ListBox(2);
  size->setCurrentIndex(size->findText(" 12"));
  // list, text, number, box tag, expected text of the box afterwards
  // list, text, number, box tag, the box's text afterwards
  const std::vector<std::tuple<int, std::string, int, int, QString>> cases = {
      {2, "", 6, 2, " 12"},  // below 7: the box stays
      {2, "", 20, 2, " 20"},
      {2, "", 7, 2, " 7"},                                // a size without an item is written into the box
      {1, "liberation serif", 0, 1, "Liberation Serif"},  // case-insensitive
      {3, "", 4, 3, "4"},
      {3, "", 15, 3, "4"},  // 15 and more are not shown
      {4, "", 2, 5, "2"},
      {10, "", 5, 6, "5"},
  };
  for (const auto& [list, text, number, tag, expected] : cases) {
    Bar.SetListValue(list, text, number);
    EXPECT_EQ(Bar.ListBox(tag)->currentText(), expected) << list << " " << number;
  }
}

TEST_F(ToolBarTest, ListChoicesGoToTheSelection) {
  AllSets();
  Editor.SetWPToolBar(&Bar);
  Load("one two");
  Editor.SelectAll();
  int changes = 0;
  Editor.OnChange = [&](TWPCustomRtfEdit*) { ++changes; };
  std::vector<std::tuple<int, std::string, int>> selections;
  Bar.OnSelection = [&](TWPToolBar*, TWpSelNr typ, const std::string& str, int num) {
    selections.emplace_back(typ, str, num);
  };
  auto choose = [&](int tag, const QString& item) {
    TWPTBCombo* box = Bar.ListBox(tag);
    const int index = box->findText(item, Qt::MatchFixedString);
    ASSERT_GE(index, 0) << item.toStdString();
    emit box->activated(index);
  };
  choose(2, " 18");
  choose(3, "1");
  choose(5, "4");
  choose(1, "Liberation Mono");
  const TAttr a = Paragraph(0)->FirstLine->Attrs[3];
  EXPECT_EQ(a.Size, 18);
  EXPECT_EQ(a.TextColor(), 1);
  EXPECT_EQ(a.BackgroundColor(), 4);
  EXPECT_EQ(Doc().Header.FontNames[a.FontIndex], "Liberation Mono");
  choose(6, "3");
  EXPECT_EQ(Paragraph(0)->ShadingColors >> 4, 3);
  choose(4, "Heading");
  EXPECT_TRUE(Paragraph(0)->FirstLine->Attrs[0].Style & kStyleBold);
  EXPECT_EQ(changes, 6);
  ASSERT_EQ(selections.size(), 6u);
  EXPECT_EQ(selections[0], std::make_tuple(int{wptSize}, std::string(" 18"), 18));
  EXPECT_EQ(selections[3], std::make_tuple(int{wptName}, std::string("Liberation Mono"), 0));
  EXPECT_EQ(std::get<0>(selections[4]), wptParColor);
  EXPECT_EQ(std::get<0>(selections[5]), wptStyle);
  EXPECT_TRUE(Editor.hasFocus());

  // A size or font typed into a box counts on Enter; a size that is no number is 0 and changes nothing.
  for (const char* typed : {"13", "big"}) {
    Bar.ListBox(2)->setEditText(typed);
    QTest::keyClick(Bar.ListBox(2), Qt::Key_Return);
  }
  EXPECT_EQ(Paragraph(0)->FirstLine->Attrs[3].Size, 13);
  EXPECT_EQ(std::get<2>(selections.back()), 0);
  Bar.ListBox(1)->setEditText("Wingdings");
  QTest::keyClick(Bar.ListBox(1), Qt::Key_Return);
  EXPECT_EQ(Doc().Header.FontNames[Paragraph(0)->FirstLine->Attrs[3].FontIndex], "Wingdings");
  EXPECT_EQ(changes, 8);

  // A read-only editor takes nothing and says so in its result code.
  Editor.SetReadOnly(true);
  choose(2, " 30");
  EXPECT_EQ(Paragraph(0)->FirstLine->Attrs[3].Size, 13);
  EXPECT_EQ(Doc().ResultCode, fcrNotEditable);
  EXPECT_EQ(changes, 8);
}

TEST_F(ToolBarTest, ButtonCommandsOnTheSelection) {
  AllSets();
  Editor.SetWPToolBar(&Bar);
  Load("one two|three");
  TScopedScriptedDialogs dialogs;
  int spellChecks = 0;
  Editor.StartSpellCheck = [&](TWPCustomRtfEdit*) { ++spellChecks; };
  Press("{S-End}");  // "one two"

  for (const auto& [number, bit] : std::vector<std::pair<int, std::uint32_t>>{{2, kStyleBold},
                                                                              {3, kStyleItalic},
                                                                              {4, kStyleUnderline},
                                                                              {5, kStyleHyperlink},
                                                                              {6, kStyleStrikeOut},
                                                                              {19, kSpecialRtfCode << 8}}) {
    Click(wpgStatus, number);
    EXPECT_TRUE(Paragraph(0)->FirstLine->Attrs[1].AttrWord() & bit) << number;
    Click(wpgStatus, number);  // up again: the bit goes
    EXPECT_FALSE(Paragraph(0)->FirstLine->Attrs[1].AttrWord() & bit) << number;
  }
  Click(wpgStatus, 9);
  EXPECT_TRUE(Paragraph(0)->FirstLine->Attrs[1].Special & kSpecialHidden);
  Click(wpgStatus, 9);
  EXPECT_FALSE(Paragraph(0)->FirstLine->Attrs[1].Special & kSpecialHidden);
  Click(wpgStatus, 2);
  Click(wpgStatus, 1);  // Normal clears every style bit
  EXPECT_EQ(Paragraph(0)->FirstLine->Attrs[1].AttrWord() & wpam::kReplaceStyleBits, 0u);

  for (const auto& [number, alignment] :
       std::vector<std::pair<int, int>>{{2, paRight}, {3, paJustify}, {4, paCenter}, {1, paLeft}}) {
    Click(wpgAlignment, number);
    EXPECT_EQ(Paragraph(0)->Alignment, alignment);
    EXPECT_EQ(Paragraph(1)->Alignment, paLeft);
    EXPECT_EQ(DownButtons(wpgAlignment), std::vector<int>{number});
  }

  Click(wpgEdit, 1);  // copy
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "one two");
  Click(wpgEdit, 2);  // cut
  EXPECT_EQ(Text(), "|three");
  Click(wpgEdit, 3);  // paste
  EXPECT_EQ(Text(), "one two|three");
  Click(wpgEdit, 4);  // select all: stays down while selected
  EXPECT_EQ(Editor.SelLength(), 13);
  EXPECT_TRUE(Bar.IsDown(wpgEdit, 4));
  Click(wpgEdit, 4);
  EXPECT_EQ(Editor.SelLength(), 0);
  Click(wpgEdit, 6);
  Click(wpgEdit, 7);
  Click(wpgEdit, 8);
  // Find and replace show the program's two dialogs.
  ASSERT_EQ(dialogs->Requests().size(), 2u);
  EXPECT_EQ(dialogs->Requests()[0].DialogClass, "TWPFindDialog");
  EXPECT_EQ(dialogs->Requests()[1].DialogClass, "TWPFindDialog");
  EXPECT_EQ(spellChecks, 1);
  // Commands spring back after acting.
  for (int number : {1, 2, 3, 6, 7, 8}) EXPECT_FALSE(Bar.IsDown(wpgEdit, number)) << number;
}

TEST_F(ToolBarTest, ReadOnlyEditorOnlyCopies) {
  Load("one two");
  Editor.SetReadOnly(true);
  Press("{S-End}");
  Click(wpgStatus, 2);
  EXPECT_FALSE(Paragraph(0)->FirstLine->Attrs[0].Style & kStyleBold);
  EXPECT_FALSE(Bar.IsDown(wpgStatus, 2));  // the button shows the text again
  Click(wpgAlignment, 4);
  EXPECT_EQ(Paragraph(0)->Alignment, paLeft);
  EXPECT_EQ(DownButtons(wpgAlignment), std::vector<int>{1});
  QGuiApplication::clipboard()->clear();
  Click(wpgEdit, 2);
  EXPECT_EQ(Text(), "one two");
  EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
  Click(wpgEdit, 1);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "one two");
}

TEST_F(ToolBarTest, FileCommandsLeaveTheirResultCodes) {
  AllSets();
  Editor.SetWPToolBar(&Bar);
  QTemporaryDir dir;
  const QString saved = dir.filePath("saved.rtf");
  TScopedScriptedDialogs dialogs;
  Load("kept text");

  dialogs->QueueFileName(saved);
  Click(wpgFile, 4);  // save
  EXPECT_EQ(Doc().ResultCode, fcrDone);
  EXPECT_TRUE(QFile::exists(saved));
  EXPECT_EQ(Editor.FileName(), saved);
  EXPECT_EQ(dialogs->Requests().back().File.Filter.toStdString(), kRichTextFileFilter);

  dialogs->QueueFileName(QString());
  Click(wpgFile, 3);  // open, cancelled
  EXPECT_EQ(Doc().ResultCode, fcrCancelled);
  EXPECT_EQ(Text(), "kept text");

  Click(wpgFile, 5);  // close: saved to the remembered name, then cleared
  EXPECT_EQ(Doc().ResultCode, fcrDone);
  EXPECT_EQ(Text(), "");

  dialogs->QueueFileName(saved);
  Click(wpgFile, 3);  // open
  EXPECT_EQ(Doc().ResultCode, fcrDone);
  EXPECT_EQ(Text(), "kept text");

  dialogs->QueueFileName(dir.filePath("no/such/folder/x.rtf"));
  Click(wpgFile, 4);  // save where nothing can be created
  EXPECT_EQ(Doc().ResultCode, fcrFailed);
  EXPECT_EQ(Editor.FileName(), saved);

  dialogs->QueueFileName(dir.filePath("missing.rtf"));
  Click(wpgFile, 3);  // a file that cannot be read leaves the text as it was
  EXPECT_EQ(Doc().ResultCode, fcrFailed);
  EXPECT_EQ(Text(), "kept text");
  EXPECT_EQ(Editor.FileName(), saved);

  Editor.SetReadOnly(true);
  Click(wpgFile, 3);
  EXPECT_EQ(Doc().ResultCode, fcrNotEditable);
  for (int number : {3, 4, 5}) EXPECT_FALSE(Bar.IsDown(wpgFile, number));
  EXPECT_TRUE(dialogs->Unexpected().empty());
}

TEST_F(ToolBarTest, EverySetBuildsAndRoutes) {
  AllSets();
  ASSERT_EQ(Bar.ButtonCount(), 38);
  const std::vector<std::pair<int, int>> firstOfEachGroup = {{wpgStatus, 1}, {wpgAlignment, 1}, {wpgFile, 2},
                                                             {wpgPrint, 1},  {wpgDatabase, 7},  {wpgEdit, 4}};
  std::vector<std::pair<int, int>> seen;
  int previousX = -1;
  int previousY = -1;
  for (int index = 0; index < Bar.ButtonCount(); ++index) {
    QToolButton* button = Bar.ButtonAt(index);
    EXPECT_FALSE(button->icon().isNull()) << index;
    EXPECT_FALSE(button->toolTip().isEmpty()) << index;
    EXPECT_EQ(button->property("Tag").toInt(), index + 10);
    EXPECT_TRUE(button->y() > previousY || button->x() > previousX) << index;
    previousX = button->x();
    previousY = button->y();
  }
  for (const auto& [group, number] : firstOfEachGroup) EXPECT_NE(Bar.Button(group, number), nullptr);
  EXPECT_EQ(Bar.Button(wpgStatus, 2)->toolTip(), "Bold");
  EXPECT_EQ(Bar.Button(wpgAlignment, 3)->toolTip(), "Justified");
  EXPECT_EQ(Bar.Button(wpgEdit, 8)->toolTip(), "Spell");
  EXPECT_EQ(DownButtons(wpgAlignment), std::vector<int>{1});
  // The lists in creation order: name, size, colour, background, style, paragraph colour.
  std::vector<int> tags;
  for (QObject* child : Bar.children())
    if (auto* box = qobject_cast<TWPTBCombo*>(child)) tags.push_back(box->property("Tag").toInt());
  EXPECT_EQ(tags, (std::vector<int>{1, 2, 3, 5, 4, 6}));

  // Buttons the editor leaves to the application reach it only through the event.
  std::vector<std::tuple<int, std::string, int, int>> icons;
  Bar.OnIconSelection = [&](TWPToolBar*, TWpSelNr typ, const std::string& str, int group, int num) {
    icons.emplace_back(typ, str, group, num);
  };
  Click(wpgDatabase, 1);
  Click(wpgFile, 2);
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0], std::make_tuple(int{wptIconDown}, std::string("WPI_NEXT"), int{wpgDatabase}, 1));
  EXPECT_EQ(icons[1], std::make_tuple(int{wptIconDown}, std::string("WPI_New"), int{wpgFile}, 2));

  TScopedScriptedDialogs dialogs;
  dialogs->QueuePrinterSetup(false);
  Click(wpgPrint, 2);
  ASSERT_EQ(dialogs->Requests().size(), 1u);
  EXPECT_EQ(dialogs->Requests()[0].Kind, TDialogKind::PrinterSetup);
  EXPECT_FALSE(Bar.IsDown(wpgPrint, 2));
}

TEST_F(ToolBarTest, AHandlerMayChangeTheSetsOfTheButtonItIsCalledFor) {
  Bar.OnIconSelection = [&](TWPToolBar*, TWpSelNr, const std::string&, int, int) {
    Bar.Setsel_StatusIcons({SelItalic});
  };
  Click(wpgStatus, 2);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Bar.Button(wpgStatus, 2), nullptr);
  EXPECT_NE(Bar.Button(wpgStatus, 3), nullptr);
}

TEST_F(ToolBarTest, RowsWrapAndGroupsKeepTheirDistance) {
  Bar.BeginUpdate();
  Bar.Setsel_ListBoxes({SelFontSize});
  Bar.Setsel_StatusIcons({SelBold, SelItalic, SelLeft});
  Bar.Setsel_EditIcons({});
  Bar.Setsel_ActionIcons({});
  Bar.SetWidthBetweenGroups(8);
  Bar.SetBevelOuter(bvNone);
  Bar.SetAlign(alTop);
  Bar.EndUpdate();
  const int size = Bar.ButtonSize();
  TWPTBCombo* box = Bar.ListBox(2);
  QToolButton* bold = Bar.Button(wpgStatus, 2);
  QToolButton* italic = Bar.Button(wpgStatus, 3);
  QToolButton* left = Bar.Button(wpgAlignment, 1);
  EXPECT_EQ(box->pos(), QPoint(2 + 2, 4));
  EXPECT_EQ(bold->pos(), QPoint(box->x() + box->width() + 8, 3));  // a new group after the list
  EXPECT_EQ(italic->x(), bold->x() + size);                        // same group
  EXPECT_EQ(left->x(), italic->x() + size + 8);
  EXPECT_EQ(Bar.height(), 4 + size + 2);

  // Too narrow for the alignment button: it starts a row below the tallest control.
  Bar.resize(italic->x() + size + 5, Bar.height());
  EXPECT_EQ(left->pos(), QPoint(2, size + 4 + 3));
  EXPECT_EQ(Bar.height(), size + 4 + 3 + size + 2);
}

TEST_F(ToolBarTest, DisablingRemembersButtonsAndGreysTheText) {
  AllSets();
  EXPECT_TRUE(Bar.EnableIcon(wpgStatus, 3, false));
  EXPECT_FALSE(Bar.EnableIcon(wpgStatus, 3, false));
  const QColor normalText = Bar.ListBox(1)->palette().color(QPalette::Text);
  Bar.setEnabled(false);
  for (int index = 0; index < Bar.ButtonCount(); ++index) EXPECT_FALSE(Bar.ButtonAt(index)->isEnabled());
  for (int tag : {1, 2, 4}) EXPECT_NE(Bar.ListBox(tag)->palette().color(QPalette::Text), normalText) << tag;
  Bar.setEnabled(true);
  EXPECT_TRUE(Bar.Button(wpgStatus, 2)->isEnabled());
  EXPECT_FALSE(Bar.Button(wpgStatus, 3)->isEnabled());
  EXPECT_EQ(Bar.ListBox(1)->palette().color(QPalette::Text), normalText);
  EXPECT_TRUE(Bar.EnableIcon(0, true));
}

TEST_F(ToolBarTest, ColourListsDrawSwatchesOfTheTable) {
  AllSets();
  TWPTBCombo* colors = Bar.ListBox(3);
  colors->setCurrentIndex(1);
  // Whether the middle row of a box shows the colour.
  auto shows = [](QWidget* box, const QColor& color) {
    const QImage image = box->grab().toImage();
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, image.height() / 2) == color) return true;
    return false;
  };
  EXPECT_TRUE(shows(colors, QColor(255, 0, 0)));
  TWPColorTable table = Bar.ColorTable();
  table[1] = 0x00FF00;  // green, as 0x00BBGGRR
  Bar.SetColorTable(table);
  EXPECT_TRUE(shows(colors, QColor(0, 255, 0)));
  EXPECT_FALSE(shows(colors, QColor(255, 0, 0)));
  // Item 0 of the background list is the window's colour, not the table's black.
  TWPTBCombo* background = Bar.ListBox(5);
  EXPECT_EQ(background->SwatchColor(0), background->palette().color(QPalette::Base));
  EXPECT_EQ(colors->SwatchColor(0), QColor(0, 0, 0));
}

TEST_F(ToolBarTest, FontNamesMarkTrueTypeFonts) {
  TWPTBCombo* names = Bar.ListBox(1);
  const int trueType = names->findText("Liberation Sans");
  int compact = -1;  // outlines in CFF or Type 1, whichever foundry is listed
  for (int i = 0; i < names->count() && compact < 0; ++i)
    if (names->itemText(i).startsWith("Nimbus Sans") && !names->itemText(i).contains("Narrow")) compact = i;
  ASSERT_GE(trueType, 0);
  ASSERT_GE(compact, 0);
  EXPECT_TRUE(names->IsTrueType(trueType));
  EXPECT_FALSE(names->IsTrueType(compact));
  // The mark takes the first pixels of a TrueType font's row only.
  auto row = [&](int index) {
    QImage image(200, 14, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    static_cast<TWPTBComboItemDelegate*>(names->itemDelegate())
        ->PaintItem(painter, image.rect(), index, Qt::black);
    return image;
  };
  auto inkIn = [](const QImage& image, int from, int to) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = from; x < to; ++x) ink += image.pixelColor(x, y) != QColor(Qt::white);
    return ink;
  };
  EXPECT_GT(inkIn(row(trueType), 0, 16), 0);
  EXPECT_EQ(inkIn(row(compact), 0, 16), 0);
  EXPECT_GT(inkIn(row(compact), 16, 200), 0);
}

TEST_F(ToolBarTest, AChainOfToolBarsFollowsOneEditor) {
  TWPToolBar second;
  Bar.SetNextToolBar(&second);
  Load("text");
  Press("{End}");
  Editor.SetWritingAttributes([] {
    TAttr a{};
    a.Size = 10;
    a.Style = kStyleBold;
    return a;
  }());
  EXPECT_TRUE(second.IsDown(wpgStatus, 2));

  // A chain that leads back is cut with a message.
  TScopedScriptedDialogs dialogs;
  dialogs->QueueMessageResult(idOK);
  second.SetNextToolBar(&Bar);
  EXPECT_TRUE(Bar.IconUp(wpgStatus, 2));
  EXPECT_EQ(dialogs->MessageTexts(), QStringList{"Error: NextToolBar Loop"});
  EXPECT_EQ(Bar.NextToolBar(), nullptr);
  EXPECT_FALSE(second.IsDown(wpgStatus, 2));
  EXPECT_EQ(second.NextToolBar(), &Bar);
}

TEST_F(ToolBarTest, TheEditorLinkFollowsTheFocus) {
  EXPECT_EQ(Bar.Editor(), &Editor);
  QLineEdit other(&Editor);
  other.show();
  other.setFocus();
  EXPECT_EQ(Bar.Editor(), nullptr);
  Editor.setFocus();
  EXPECT_EQ(Bar.Editor(), &Editor);
  {
    TWPRichText gone;
    gone.SetWPToolBar(&Bar);
    EXPECT_EQ(Bar.Editor(), &gone);
  }
  EXPECT_EQ(Bar.Editor(), nullptr);
}

TEST_F(ToolBarTest, PrintsEveryPage) {
  Load("first|second");
  Paragraph(1)->ParFlags |= kParPageBreakBefore;
  Doc().ReformatAll();
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("doc.pdf"));
  Editor.Print(printer);
  const QByteArray pdf = testsupport::ReadAll(dir.filePath("doc.pdf"));
  EXPECT_EQ(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 2);
}

TEST(ToolGlyphsTest, EveryNameHasASixteenPixelPicture) {
  const QStringList names = ToolBarGlyphNames();
  EXPECT_EQ(names.size(), 46);
  for (const QString& name : names) {
    const QImage image = ToolBarGlyph(name.toLower()).toImage();
    ASSERT_EQ(image.size(), QSize(16, 16)) << name.toStdString();
    int inked = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) inked += image.pixelColor(x, y).alpha() > 0;
    EXPECT_GT(inked, 8) << name.toStdString();
  }
  EXPECT_TRUE(ToolBarGlyph("WPI_NOSUCH").isNull());
}

}  // namespace
