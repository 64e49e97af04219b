#pragma once
// A short list of recently used files: shown as numbered items in a menu
// ("&1 /path/sheet.KLX", ...), reported when one is clicked, and kept in a
// section of an INI file as keys F0, F1, ... (F0 the most recent).
//
// Usage:
//   TMRUFileList mru;
//   mru.SetFileMenu(fileMenu);            // items go after the menu's last item
//   mru.OnMRUItemClick = [](QObject*, const QString& name) { open(name); };
//   mru.AutoSaveName = PreferencesFileName(); mru.AutoSaveKey = "MRU";
//   mru.LoadList();
//   mru.AddFile(path); mru.SaveList();    // after opening or saving path
// The list saves itself when it is destroyed (AutoSave).
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

// Every menu item the list creates; Number is the entry's number from 1, or 0
// for the separator and the submenu item.
class TMRUMenuItem : public QAction {
  Q_OBJECT
 public:
  TMRUMenuItem(const QString& caption, quint8 number, QObject* parent);
  ~TMRUMenuItem() override;
  quint8 Number() const { return FNumber; }
  // The submenu this item opens, created on first use and owned by the item.
  QMenu* Submenu();

 private:
  quint8 FNumber;
  std::unique_ptr<QMenu> FSubmenu;
};

class TMRUFileList : public QObject {
  Q_OBJECT
 public:
  using TMRUClick = std::function<void(QObject* sender, const QString& fileName)>;

  explicit TMRUFileList(QObject* parent = nullptr);
  ~TMRUFileList() override;

  quint8 Maximum() const { return FMaximum; }
  // A smaller maximum drops the entries beyond it at once.
  void SetMaximum(quint8 maximum);
  bool UseSubmenu() const { return FUseSubmenu; }
  void SetUseSubmenu(bool useSubmenu);
  QString SubmenuName() const { return FSubmenuName; }
  void SetSubmenuName(const QString& name);
  QMenu* FileMenu() const { return FFileMenu; }
  // Takes the items out of the old menu and puts them into the new one.
  void SetFileMenu(QMenu* menu);

  // A clicked entry leaves the list before OnMRUItemClick hears of it.
  bool RemoveOnClick = true;
  TMRUClick OnMRUItemClick;
  // Save the list when it is destroyed.
  bool AutoSave = true;
  QString AutoSaveName = QStringLiteral("\\Software\\My Application");
  QString AutoSaveKey = QStringLiteral("MRU Items");

  // Puts the name at the top; a name already listed (in any letter case)
  // moves there and keeps its spelling. Beyond Maximum the oldest goes.
  void AddFile(const QString& fileName);
  // False when AutoSaveName or AutoSaveKey is empty. SaveList raises
  // EIniFileError when the file takes no writes.
  bool LoadList();
  bool SaveList();
  void RebuildMenu();
  void RemoveMenuItems();

  int Count() const { return static_cast<int>(FItems.size()); }
  QString Item(int index) const { return FItems.at(index); }

 private:
  // The menu that holds the items, and the item they go before (none: at the end).
  QWidget* Container() const;
  QAction* InsertBefore() const;
  void ItemClicked(TMRUMenuItem* item);

  quint8 FMaximum = 5;
  bool FUseSubmenu = false;
  QString FSubmenuName = QStringLiteral("Reopen");
  QPointer<QMenu> FFileMenu;
  QStringList FItems;
};
