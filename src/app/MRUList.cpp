#include "app/MRUList.h"

#include <QMenu>
#include <QMenuBar>
#include <exception>

#include "platform/AppRoutines.h"
#include "platform/IniFile.h"

TMRUMenuItem::TMRUMenuItem(const QString& caption, quint8 number, QObject* parent)
    : QAction(caption, parent), FNumber(number) {}

TMRUMenuItem::~TMRUMenuItem() = default;

QMenu* TMRUMenuItem::Submenu() {
  if (!FSubmenu) {
    FSubmenu = std::make_unique<QMenu>(text());
    setMenu(FSubmenu.get());
  }
  return FSubmenu.get();
}

TMRUFileList::TMRUFileList(QObject* parent) : QObject(parent) {}

TMRUFileList::~TMRUFileList() {
  if (!AutoSave) return;
  try {
    SaveList();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

void TMRUFileList::SetMaximum(quint8 maximum) {
  const bool smaller = maximum < FMaximum;
  FMaximum = maximum;
  if (!smaller) return;
  while (FItems.size() > FMaximum) FItems.removeLast();
  RebuildMenu();
}

void TMRUFileList::SetUseSubmenu(bool useSubmenu) {
  if (useSubmenu == FUseSubmenu) return;
  // The items come out of the place the old setting put them.
  RemoveMenuItems();
  FUseSubmenu = useSubmenu;
  RebuildMenu();
}

void TMRUFileList::SetSubmenuName(const QString& name) {
  if (name == FSubmenuName) return;
  FSubmenuName = name;
  if (FUseSubmenu) RebuildMenu();
}

void TMRUFileList::SetFileMenu(QMenu* menu) {
  RemoveMenuItems();
  FFileMenu = menu;
  RebuildMenu();
}

void TMRUFileList::AddFile(const QString& fileName) {
  int found = -1;
  for (int i = 0; i < FItems.size() && found < 0; ++i)
    if (QString::compare(FItems[i], fileName, Qt::CaseInsensitive) == 0) found = i;
  if (found < 0) {
    FItems.prepend(fileName);
    while (FItems.size() > FMaximum) FItems.removeLast();
  } else {
    FItems.move(found, 0);
  }
  RebuildMenu();
}

bool TMRUFileList::LoadList() {
  if (AutoSaveName.isEmpty() || AutoSaveKey.isEmpty()) return false;
  FItems.clear();
  for (const QString& line : TIniFile(AutoSaveName).ReadSectionValues(AutoSaveKey))
    FItems << line.mid(line.indexOf(QLatin1Char('=')) + 1);
  RebuildMenu();
  return true;
}

bool TMRUFileList::SaveList() {
  if (AutoSaveName.isEmpty() || AutoSaveKey.isEmpty()) return false;
  TIniFile ini(AutoSaveName);
  ini.EraseSection(AutoSaveKey);
  for (int i = 0; i < FItems.size(); ++i)
    ini.WriteString(AutoSaveKey, QLatin1Char('F') + QString::number(i), FItems[i]);
  return true;
}

QWidget* TMRUFileList::Container() const {
  if (!FFileMenu) return nullptr;
  if (!FFileMenu->actions().isEmpty()) return FFileMenu;
  // An empty menu: the items stand beside it in the menu (or menu bar) that holds it.
  for (QObject* holder : FFileMenu->menuAction()->associatedObjects())
    if (qobject_cast<QMenu*>(holder) || qobject_cast<QMenuBar*>(holder)) return static_cast<QWidget*>(holder);
  return nullptr;
}

QAction* TMRUFileList::InsertBefore() const {
  return Container() == FFileMenu ? nullptr : FFileMenu->menuAction();
}

void TMRUFileList::RemoveMenuItems() {
  QWidget* container = Container();
  if (!container) return;
  const QList<QAction*> actions = container->actions();
  for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
    auto* item = qobject_cast<TMRUMenuItem*>(*it);
    if (!item) continue;
    container->removeAction(item);
    // The item may be the one whose click is being handled.
    item->deleteLater();
  }
}

void TMRUFileList::RebuildMenu() {
  if (!FFileMenu) return;
  RemoveMenuItems();
  if (FItems.isEmpty()) return;
  QWidget* container = Container();
  if (!container) return;
  QAction* before = InsertBefore();
  // A separator is drawn as a line only without a caption of its own.
  auto* separator = new TMRUMenuItem(QString(), 0, this);
  separator->setSeparator(true);
  container->insertAction(before, separator);
  if (FUseSubmenu) {
    auto* submenuItem = new TMRUMenuItem(FSubmenuName, 0, this);
    container->insertAction(before, submenuItem);
    container = submenuItem->Submenu();
    before = nullptr;
  }
  for (int i = 0; i < FItems.size(); ++i) {
    auto* item =
        new TMRUMenuItem(QLatin1Char('&') + QString::number(i + 1) + QLatin1Char(' ') + FItems[i],
                         static_cast<quint8>(i + 1), FUseSubmenu ? static_cast<QObject*>(container) : this);
    connect(item, &QAction::triggered, this, [this, item] { ItemClicked(item); });
    container->insertAction(before, item);
  }
}

void TMRUFileList::ItemClicked(TMRUMenuItem* item) {
  const int index = item->Number() - 1;
  if (index < 0 || index >= FItems.size()) return;
  QString fileName;
  if (OnMRUItemClick) fileName = FItems[index];
  if (RemoveOnClick) {
    FItems.removeAt(index);
    RebuildMenu();
  }
  if (OnMRUItemClick) OnMRUItemClick(item, fileName);
}
