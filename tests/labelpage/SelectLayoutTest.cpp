#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/TestSupport.h"
#include "labelpage/KLXPagePanel.h"
#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/SelectLayout.h"
#include "platform/AppRoutines.h"
#include "platform/HelpWindow.h"
#include "platform/ScriptedDialogService.h"

namespace {

using labelpagetest::GridLayout;

QStringList Items(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

class SelectLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    TLabelLayoutRecord first = GridLayout(2, 5, "Letter 2 x 5");
    first.PaperSize = 0;
    TLabelLayoutRecord second = GridLayout(3, 10, "A4 3 x 10");
    second.PaperSize = 1;
    second.LabelWidth = 2750;
    TLabelLayoutRecord odd = GridLayout(1, 1, "Odd Paper");
    odd.PaperSize = 7;
    FPanel.AddLayout(first);
    FPanel.AddLayout(second);
    FPanel.AddLayout(odd);
  }

  QStringList DescriptionOf(const std::string& name) const {
    QStringList lines;
    FPanel.DescribeLayout(name, lines);
    return lines;
  }

  TKLXPagePanel FPanel;
};

TEST_F(SelectLayout, LooksAsDesigned) {
  TSelectLayout dialog;
  EXPECT_EQ(dialog.windowTitle(), "Select Layout");
  EXPECT_EQ(dialog.size(), QSize(542, 349));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(dialog.font().family(), "Arial");
  EXPECT_EQ(dialog.Label1->text(), "Available Layouts");
  EXPECT_EQ(dialog.Label2->text(), "Description");
  EXPECT_EQ(dialog.LayoutList->size(), QSize(510, 145));
  EXPECT_EQ(dialog.ListBox1->size(), QSize(509, 96));
  EXPECT_EQ(dialog.LayoutList->toolTip(), "Select a layout from this list");
  EXPECT_EQ(dialog.ListBox1->toolTip(), "This is a description of the selected layout");
  EXPECT_EQ(dialog.okbutton->text(), "Ok");
  EXPECT_TRUE(dialog.okbutton->isDefault());
  EXPECT_EQ(dialog.CancelButton->text(), "Cancel");
  EXPECT_EQ(dialog.Helpbutton->text(), "Help");
  // The widgets lie inside the dialog and do not overlap.
  const QRect client(QPoint(0, 0), dialog.size());
  for (QWidget* w : {static_cast<QWidget*>(dialog.LayoutList), static_cast<QWidget*>(dialog.ListBox1),
                     static_cast<QWidget*>(dialog.BottomBar)})
    EXPECT_TRUE(client.contains(w->geometry())) << w->metaObject()->className();
  EXPECT_LE(dialog.LayoutList->geometry().bottom(), dialog.Label2->geometry().top());
  EXPECT_LE(dialog.ListBox1->geometry().bottom(), dialog.BottomBar->geometry().top());
}

TEST_F(SelectLayout, ListsTheLayoutsAndDescribesTheFirstAtOnce) {
  TSelectLayout dialog;
  dialog.SetPagePanel(&FPanel);
  dialog.FillLayouts();
  EXPECT_EQ(Items(*dialog.LayoutList), QStringList({"Letter 2 x 5", "A4 3 x 10", "Odd Paper"}));
  EXPECT_EQ(dialog.LayoutList->currentRow(), 0);
  EXPECT_EQ(Items(*dialog.ListBox1), DescriptionOf("Letter 2 x 5"));
  EXPECT_EQ(Items(*dialog.ListBox1).size(), 7);

  dialog.LayoutList->setCurrentRow(1);
  EXPECT_EQ(Items(*dialog.ListBox1), DescriptionOf("A4 3 x 10"));
  EXPECT_EQ(Items(*dialog.ListBox1).first(), "Number Across  :  3");

  // A paper size without a name gives six lines.
  dialog.LayoutList->setCurrentRow(2);
  EXPECT_EQ(Items(*dialog.ListBox1), DescriptionOf("Odd Paper"));
  EXPECT_EQ(Items(*dialog.ListBox1).size(), 6);
}

TEST_F(SelectLayout, KeyboardMovesTheDescriptionAlong) {
  TSelectLayout dialog;
  dialog.SetPagePanel(&FPanel);
  dialog.FillLayouts();
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.LayoutList->setFocus();
  QTest::keyClick(dialog.LayoutList, Qt::Key_Down);
  EXPECT_EQ(dialog.LayoutList->currentRow(), 1);
  EXPECT_EQ(Items(*dialog.ListBox1), DescriptionOf("A4 3 x 10"));
}

TEST_F(SelectLayout, OkReturnsTheSelectedName) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueExec([](QDialog& d) {
    auto& dialog = dynamic_cast<TSelectLayout&>(d);
    EXPECT_EQ(dialog.LayoutList->currentRow(), 0);
    dialog.LayoutList->setCurrentRow(1);
    dialog.okbutton->click();
    return dialog.result();
  });
  EXPECT_EQ(TSelectLayout::ChooseLayout(FPanel), "A4 3 x 10");
  ASSERT_EQ(dialogs->Requests().size(), 1u);
  EXPECT_EQ(dialogs->Requests()[0].Kind, TDialogKind::Exec);
  EXPECT_TRUE(dialogs->Unexpected().empty());
}

TEST_F(SelectLayout, CancelAndEscapeReturnNoName) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueExec([](QDialog& d) {
    auto& dialog = dynamic_cast<TSelectLayout&>(d);
    dialog.CancelButton->click();
    EXPECT_EQ(dialog.result(), TSelectLayout::ResultCancel);
    return dialog.result();
  });
  EXPECT_EQ(TSelectLayout::ChooseLayout(FPanel), "");

  TSelectLayout dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), TSelectLayout::ResultCancel);
}

TEST_F(SelectLayout, EmptyTableSelectsNothingAndReturnsNoName) {
  TKLXPagePanel empty;
  TScopedScriptedDialogs dialogs;
  dialogs->QueueExec([](QDialog& d) {
    auto& dialog = dynamic_cast<TSelectLayout&>(d);
    EXPECT_EQ(dialog.LayoutList->count(), 0);
    EXPECT_EQ(dialog.LayoutList->currentRow(), -1);
    dialog.LayoutListClick();  // asks for no description
    EXPECT_EQ(dialog.ListBox1->count(), 0);
    dialog.okbutton->click();
    return dialog.result();
  });
  EXPECT_EQ(TSelectLayout::ChooseLayout(empty), "");
  EXPECT_TRUE(dialogs->Unexpected().empty());
}

TEST_F(SelectLayout, HelpOpensTopic1001) {
  QTemporaryDir folder;
  const QString help = folder.filePath("KLX.HLP");
  testsupport::WriteAll(help,
                        "<html><body><a name=\"contents\"></a>Contents<a name=\"1001\"></a>"
                        "<h2>Choosing a layout</h2></body></html>");
  SetApplicationHelpFile(help);
  TSelectLayout dialog;
  dialog.Helpbutton->click();
  THelpWindow* window = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* h = qobject_cast<THelpWindow*>(w)) window = h;
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->CurrentAnchor(), "1001");
  CloseHelpWindow();
  SetApplicationHelpFile(QString());
}

// With TABWRIGHT_SCREENSHOTS naming a folder, the dialog is saved there as
// SelectLayout.png for a person to look at.
TEST_F(SelectLayout, PaintsTheListsAndTheDescription) {
  TSelectLayout dialog;
  dialog.SetPagePanel(&FPanel);
  dialog.FillLayouts();
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  // All seven description lines stand in the first column, one below the other.
  ASSERT_EQ(dialog.ListBox1->count(), 7);
  for (int i = 1; i < 7; ++i) {
    const QRect above = dialog.ListBox1->visualItemRect(dialog.ListBox1->item(i - 1));
    const QRect line = dialog.ListBox1->visualItemRect(dialog.ListBox1->item(i));
    EXPECT_EQ(line.left(), above.left()) << i;
    EXPECT_GT(line.top(), above.top()) << i;
  }
  const QImage image = dialog.grab().toImage();
  EXPECT_EQ(image.size(), QSize(542, 349) * image.devicePixelRatio());
  const QString folder = qEnvironmentVariable("TABWRIGHT_SCREENSHOTS");
  if (!folder.isEmpty()) image.save(folder + "/SelectLayout.png");
}

}  // namespace
