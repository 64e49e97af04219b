#pragma once
// A TDialogService for tests: answers come from a queue given in advance and
// every request is recorded, so a test can check what the user was asked and
// nothing ever waits for a person. A request with no answer queued (or with an
// answer of another kind) is recorded as unexpected and gets the "cancel"
// answer.
//
// Usage:
//   TScopedScriptedDialogs dialogs;                  // installed until scope end
//   dialogs->QueueMessageResult(idYes);
//   dialogs->QueueFileName("/tmp/a.KLX");
//   dialogs->QueueExec([](QDialog& d) { ...fill d...; return 1; });
//   ...run the command...
//   EXPECT_EQ(dialogs->Requests()[0].Text, "Save changes?");
//   EXPECT_TRUE(dialogs->Unexpected().empty());
#include <deque>
#include <functional>
#include <vector>

#include "platform/DialogService.h"

enum class TDialogKind { MessageBox, OpenFile, SaveFile, Font, Print, PrinterSetup, Exec };

struct TDialogRequest {
  TDialogKind Kind = TDialogKind::MessageBox;
  QString Text = {};     // message text
  QString Caption = {};  // message caption, or the dialog's window title
  unsigned Flags = 0;    // message box flags
  TFileDialogOptions File = {};
  QString DialogClass = {};  // class name of a dialog run with Exec
  bool BusyCursor = false;   // the hourglass was up when it was asked
};

class TScriptedDialogService : public TDialogService {
 public:
  void QueueMessageResult(int buttonCode);
  void QueueFileName(const QString& path);  // empty string = cancelled
  void QueueFont(const QFont& font, const QColor& color);
  void QueueFontCancel();
  void QueuePrint(bool accept, std::function<void(QPrinter&)> adjust = {});
  void QueuePrinterSetup(bool accept);
  void QueueExec(std::function<int(QDialog&)> run);
  void QueueExecResult(int code);

  const std::vector<TDialogRequest>& Requests() const { return FRequests; }
  const std::vector<TDialogRequest>& Unexpected() const { return FUnexpected; }
  std::size_t Pending() const { return FAnswers.size(); }
  // Texts of all message boxes shown so far, in order.
  QStringList MessageTexts() const;

  int MessageBox(const QString& text, const QString& caption, unsigned flags) override;
  QString OpenFileName(const TFileDialogOptions& options) override;
  QString SaveFileName(const TFileDialogOptions& options) override;
  bool ChooseFont(QFont& font, QColor& color) override;
  bool PrintDialog(QPrinter& printer) override;
  bool PrinterSetupDialog(QPrinter& printer) override;
  int Exec(QDialog& dialog) override;

 private:
  struct TAnswer {
    TDialogKind Kind = TDialogKind::MessageBox;
    int Code = 0;
    bool Accept = false;
    QString Path = {};
    QFont Font = {};
    QColor Color = {};
    std::function<void(QPrinter&)> AdjustPrinter = {};
    std::function<int(QDialog&)> RunDialog = {};
  };
  // Records the request and takes the next answer when it is of the right kind.
  bool Take(const TDialogRequest& request, TAnswer& answer);

  std::deque<TAnswer> FAnswers;
  std::vector<TDialogRequest> FRequests;
  std::vector<TDialogRequest> FUnexpected;
};

// Installs a scripted service for the lifetime of the object and puts the
// previous service back afterwards.
class TScopedScriptedDialogs {
 public:
  TScopedScriptedDialogs();
  ~TScopedScriptedDialogs();
  TScopedScriptedDialogs(const TScopedScriptedDialogs&) = delete;
  TScopedScriptedDialogs& operator=(const TScopedScriptedDialogs&) = delete;
  TScriptedDialogService* operator->() const { return FService; }
  TScriptedDialogService& operator*() const { return *FService; }

 private:
  TScriptedDialogService* FService;
  std::unique_ptr<TDialogService> FPrevious;
};
