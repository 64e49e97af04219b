#pragma once
// The find and the replace dialog. The program has one of each; the editor
// that runs the find or replace command wires their events to itself and
// shows the dialog through the dialog service. The dialog stays open while
// the user finds and replaces; each button raises its event.
//
// Usage (the editor's side):
//   TWPFindDialog& dialog = ApplicationFindDialog();
//   dialog.Wire(this, [this] { ...search... }, {});
//   dialog.SetOptions({});            // down, no whole word, no match case
//   Dialogs().Exec(dialog);
#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TWPFindDialog : public QDialog {
  Q_OBJECT

 public:
  enum TKind { fdFind, fdReplace };
  struct TOptions {
    bool Down = true;
    bool WholeWord = false;
    bool MatchCase = false;
  };

  explicit TWPFindDialog(TKind kind, QWidget* parent = nullptr);

  TKind Kind() const { return FKind; }
  QString FindText() const;
  void SetFindText(const QString& text);
  // Empty in the find dialog.
  QString ReplaceText() const;
  void SetReplaceText(const QString& text);
  // The replace dialog always searches down.
  TOptions Options() const;
  void SetOptions(const TOptions& options);

  // The events go to one editor at a time; wiring replaces the previous one.
  using TFindEvent = std::function<void()>;
  using TReplaceEvent = std::function<void(bool all)>;
  void Wire(const void* editor, TFindEvent onFind, TReplaceEvent onReplace);
  // Cuts the events when they go to this editor.
  void Unwire(const void* editor);
  const void* WiredTo() const { return FWiredTo; }

  QLineEdit* FindEdit;
  QLineEdit* ReplaceEdit = nullptr;  // replace dialog only
  QCheckBox* WholeWordBox;
  QCheckBox* MatchCaseBox;
  QRadioButton* UpButton = nullptr;  // find dialog only
  QRadioButton* DownButton = nullptr;
  QPushButton* FindNextButton;
  QPushButton* ReplaceButton = nullptr;  // replace dialog only
  QPushButton* ReplaceAllButton = nullptr;
  QPushButton* CancelButton;

 protected:
  // The text to find has the focus, selected, so that typing replaces it.
  void showEvent(QShowEvent* event) override;

 private:
  void EnableButtons();

  TKind FKind;
  const void* FWiredTo = nullptr;
  TFindEvent FOnFind;
  TReplaceEvent FOnReplace;
};

// The program's find and replace dialogs, made on first use and kept until
// the application ends.
TWPFindDialog& ApplicationFindDialog();
TWPFindDialog& ApplicationReplaceDialog();
// Cuts the events of both dialogs that go to this editor (when they exist).
void UnwireFindDialogs(const void* editor);
