#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include "app/MRUList.h"
#include "common/TestSupport.h"
#include "platform/IniFile.h"

namespace {

using testsupport::ReadAll;
using testsupport::WriteAll;

// The menu's items as the user sees them; "-" for a separator.
QStringList Captions(const QWidget* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) captions << (action->isSeparator() ? "-" : action->text());
  return captions;
}

TMRUMenuItem* ItemNumbered(const QWidget* menu, int number) {
  for (QAction* action : menu->actions())
    if (auto* item = qobject_cast<TMRUMenuItem*>(action); item && item->Number() == number) return item;
  return nullptr;
}

class MRUListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    FMenu.addAction("E&xit");
    FList.AutoSave = false;
    FList.SetFileMenu(&FMenu);
  }
  void Add(std::initializer_list<const char*> names) {
    for (const char* name : names) FList.AddFile(name);
  }
  QStringList Items() const {
    QStringList items;
    for (int i = 0; i < FList.Count(); ++i) items << FList.Item(i);
    return items;
  }

  QTemporaryDir FDir;
  QMenu FMenu;
  TMRUFileList FList;
};

TEST_F(MRUListTest, NewestFirstAtMostMaximumAndAKnownNameMovesUpInItsOldSpelling) {
  EXPECT_EQ(Captions(&FMenu), QStringList{"E&xit"});  // an empty list adds no separator
  Add({"/s/a.KLX", "/s/b.KLX", "/s/c.KLX", "/s/d.KLX", "/s/e.KLX", "/s/f.KLX"});
  EXPECT_EQ(Items(), (QStringList{"/s/f.KLX", "/s/e.KLX", "/s/d.KLX", "/s/c.KLX", "/s/b.KLX"}));
  FList.AddFile("/S/C.klx");
  EXPECT_EQ(Items(), (QStringList{"/s/c.KLX", "/s/f.KLX", "/s/e.KLX", "/s/d.KLX", "/s/b.KLX"}));
  EXPECT_EQ(Captions(&FMenu), (QStringList{"E&xit", "-", "&1 /s/c.KLX", "&2 /s/f.KLX", "&3 /s/e.KLX",
                                           "&4 /s/d.KLX", "&5 /s/b.KLX"}));
  FList.SetMaximum(2);
  EXPECT_EQ(Items(), (QStringList{"/s/c.KLX", "/s/f.KLX"}));
  EXPECT_EQ(Captions(&FMenu).size(), 4);
}

TEST_F(MRUListTest, ClickedEntryLeavesBeforeTheHandlerAndReopeningPutsItFirst) {
  Add({"/s/5", "/s/4", "/s/3", "/s/2", "/s/1"});
  QStringList seenByHandler;
  QObject* sender = nullptr;
  FList.OnMRUItemClick = [&](QObject* from, const QString& name) {
    sender = from;
    seenByHandler = Items();
    FList.AddFile(name);  // the handler opened it
  };
  TMRUMenuItem* third = ItemNumbered(&FMenu, 3);
  ASSERT_NE(third, nullptr);
  third->trigger();
  EXPECT_EQ(sender, third);
  EXPECT_EQ(seenByHandler, (QStringList{"/s/1", "/s/2", "/s/4", "/s/5"}));
  EXPECT_EQ(Items(), (QStringList{"/s/3", "/s/1", "/s/2", "/s/4", "/s/5"}));

  // Without a handler to reopen it, the last entry's click empties the list
  // and its separator goes too.
  FList.OnMRUItemClick = nullptr;
  FList.SetMaximum(1);
  ItemNumbered(&FMenu, 1)->trigger();
  EXPECT_EQ(FList.Count(), 0);
  EXPECT_EQ(Captions(&FMenu), QStringList{"E&xit"});
}

TEST_F(MRUListTest, LoadsInFileOrderAndSavesTheSectionAfresh) {
  const QString ini = FDir.filePath("KLXFF.ini");
  WriteAll(ini, "[MRU]\nF2=/s/second.KLX\nF0=/s/first.KLX\n\n[Hints]\nOn=0\n");
  FList.AutoSaveName.clear();
  EXPECT_FALSE(FList.LoadList());
  FList.AutoSaveName = ini;
  FList.AutoSaveKey = "MRU";
  ASSERT_TRUE(FList.LoadList());
  EXPECT_EQ(Items(), (QStringList{"/s/second.KLX", "/s/first.KLX"}));
  EXPECT_EQ(Captions(&FMenu).mid(1), (QStringList{"-", "&1 /s/second.KLX", "&2 /s/first.KLX"}));

  FList.AddFile("/s/third.KLX");
  ASSERT_TRUE(FList.SaveList());
  EXPECT_EQ(ReadAll(ini), "[Hints]\nOn=0\n\n[MRU]\nF0=/s/third.KLX\nF1=/s/second.KLX\nF2=/s/first.KLX\n");
  FList.AutoSaveKey.clear();
  EXPECT_FALSE(FList.SaveList());
}

TEST_F(MRUListTest, SavesItselfWhenDestroyed) {
  const QString ini = FDir.filePath("KLXFF.ini");
  {
    TMRUFileList list;
    list.AutoSaveName = ini;
    list.AutoSaveKey = "MRU";
    list.AddFile("/s/a.KLX");
  }
  EXPECT_EQ(TIniFile(ini).ReadString("MRU", "F0", ""), "/s/a.KLX");
}

TEST_F(MRUListTest, SubmenuAndAMenuWithoutItems) {
  Add({"/s/b", "/s/a"});
  FList.SetUseSubmenu(true);
  ASSERT_EQ(Captions(&FMenu), (QStringList{"E&xit", "-", "Reopen"}));
  FList.SetSubmenuName("Recent Pages");
  ASSERT_EQ(Captions(&FMenu).last(), "Recent Pages");
  QMenu* submenu = FMenu.actions().last()->menu();
  ASSERT_NE(submenu, nullptr);
  EXPECT_EQ(Captions(submenu), (QStringList{"&1 /s/a", "&2 /s/b"}));
  FList.SetUseSubmenu(false);
  EXPECT_EQ(Captions(&FMenu), (QStringList{"E&xit", "-", "&1 /s/a", "&2 /s/b"}));

  // A menu with no items of its own: the entries stand before it in its menu bar.
  QMenuBar bar;
  QMenu* empty = bar.addMenu("&Recent");
  bar.addMenu("&Help");
  FList.SetFileMenu(empty);
  EXPECT_EQ(Captions(&FMenu), QStringList{"E&xit"});
  EXPECT_EQ(Captions(&bar), (QStringList{"-", "&1 /s/a", "&2 /s/b", "&Recent", "&Help"}));
}

}  // namespace
