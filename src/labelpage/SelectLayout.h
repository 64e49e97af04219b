#pragma once
// The "Select Layout" dialog: the known layouts by name, with a short
// description of the selected one. New and Change Layout run it.
//
// Usage (a command):
//   const std::string name = TSelectLayout::ChooseLayout(*PageOfLabelsPanel);
//   if (name.empty()) return;  // cancelled, or no layouts known
// A test answers it through the scripted dialog service:
//   dialogs->QueueExec([](QDialog& d) {
//     auto& dialog = static_cast<TSelectLayout&>(d);
//     dialog.LayoutList->setCurrentRow(2);
//     dialog.okbutton->click();
//     return dialog.result();
//   });
#include <QDialog>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class TKLXPagePanel;

class TSelectLayout : public QDialog {
  Q_OBJECT

 public:
  // Result codes of the dialog.
  enum : int { ResultOk = 1, ResultCancel = 2 };
  static constexpr int HelpTopic = 1001;

  explicit TSelectLayout(QWidget* parent = nullptr);

  // Creates the dialog, centres it, fills it from the panel, selects the
  // first layout and shows it modally. Returns the chosen name, or an empty
  // string after Cancel or when no layout is known.
  static std::string ChooseLayout(TKLXPagePanel& panel, QWidget* parent = nullptr);

  // The caller gives the panel (which describes the layouts) and fills the
  // list with its layout names; the first entry is selected and described.
  void SetPagePanel(TKLXPagePanel* panel) { FPagePanel = panel; }
  void FillLayouts();
  // The selected layout's name (8-bit text), empty when nothing is selected.
  std::string SelectedLayoutName() const;

  QLabel* Label1;
  QListWidget* LayoutList;
  QLabel* Label2;
  QListWidget* ListBox1;
  QFrame* BottomBar;
  QPushButton* okbutton;
  QPushButton* CancelButton;
  QPushButton* Helpbutton;

  void FormCreate();
  void FormActivate();
  void LayoutListClick();
  void okbuttonClick();
  void CancelButtonClick();
  void HelpbuttonClick();

  // Escape answers Cancel (2), not the toolkit's rejection code.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TKLXPagePanel* FPagePanel = nullptr;
  std::vector<std::string> FLayoutNames;  // the list's entries as stored
};
