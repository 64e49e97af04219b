#include "platform/ScriptedDialogService.h"

#include <QApplication>
#include <QDialog>
#include <QStringList>

void TScriptedDialogService::QueueMessageResult(int buttonCode) {
  FAnswers.push_back({.Kind = TDialogKind::MessageBox, .Code = buttonCode});
}

void TScriptedDialogService::QueueFileName(const QString& path) {
  // Open and save answers are interchangeable: the kind is checked loosely.
  FAnswers.push_back({.Kind = TDialogKind::OpenFile, .Path = path});
}

void TScriptedDialogService::QueueFont(const QFont& font, const QColor& color) {
  FAnswers.push_back({.Kind = TDialogKind::Font, .Accept = true, .Font = font, .Color = color});
}

void TScriptedDialogService::QueueFontCancel() {
  FAnswers.push_back({.Kind = TDialogKind::Font, .Accept = false});
}

void TScriptedDialogService::QueuePrint(bool accept, std::function<void(QPrinter&)> adjust) {
  FAnswers.push_back({.Kind = TDialogKind::Print, .Accept = accept, .AdjustPrinter = std::move(adjust)});
}

void TScriptedDialogService::QueuePrinterSetup(bool accept) {
  FAnswers.push_back({.Kind = TDialogKind::PrinterSetup, .Accept = accept});
}

void TScriptedDialogService::QueueExec(std::function<int(QDialog&)> run) {
  FAnswers.push_back({.Kind = TDialogKind::Exec, .RunDialog = std::move(run)});
}

void TScriptedDialogService::QueueExecResult(int code) {
  FAnswers.push_back({.Kind = TDialogKind::Exec, .Code = code});
}

QStringList TScriptedDialogService::MessageTexts() const {
  QStringList texts;
  for (const auto& r : FRequests)
    if (r.Kind == TDialogKind::MessageBox) texts << r.Text;
  return texts;
}

bool TScriptedDialogService::Take(const TDialogRequest& request, TAnswer& answer) {
  FRequests.push_back(request);
  FRequests.back().BusyCursor = QApplication::overrideCursor() != nullptr;
  auto sameKind = [](TDialogKind queued, TDialogKind asked) {
    const auto isFile = [](TDialogKind k) {
      return k == TDialogKind::OpenFile || k == TDialogKind::SaveFile;
    };
    return queued == asked || (isFile(queued) && isFile(asked));
  };
  if (FAnswers.empty() || !sameKind(FAnswers.front().Kind, request.Kind)) {
    FUnexpected.push_back(FRequests.back());
    return false;
  }
  answer = std::move(FAnswers.front());
  FAnswers.pop_front();
  return true;
}

int TScriptedDialogService::MessageBox(const QString& text, const QString& caption, unsigned flags) {
  TAnswer answer;
  if (!Take({.Kind = TDialogKind::MessageBox, .Text = text, .Caption = caption, .Flags = flags}, answer)) {
    // Unscripted: the cancelling button of the box that was asked for.
    const unsigned buttons = flags & 0x0F;
    return buttons == mbYesNo ? idNo : buttons == mbOK ? idOK : idCancel;
  }
  return answer.Code;
}

QString TScriptedDialogService::OpenFileName(const TFileDialogOptions& options) {
  TAnswer answer;
  if (!Take({.Kind = TDialogKind::OpenFile, .Caption = options.Title, .File = options}, answer)) return {};
  return answer.Path;
}

QString TScriptedDialogService::SaveFileName(const TFileDialogOptions& options) {
  TAnswer answer;
  if (!Take({.Kind = TDialogKind::SaveFile, .Caption = options.Title, .File = options}, answer)) return {};
  return answer.Path;
}

bool TScriptedDialogService::ChooseFont(QFont& font, QColor& color) {
  TAnswer answer;
  if (!Take({.Kind = TDialogKind::Font}, answer) || !answer.Accept) return false;
  font = answer.Font;
  color = answer.Color;
  return true;
}

bool TScriptedDialogService::PrintDialog(QPrinter& printer) {
  TAnswer answer;
  if (!Take({.Kind = TDialogKind::Print}, answer)) return false;
  if (answer.Accept && answer.AdjustPrinter) answer.AdjustPrinter(printer);
  return answer.Accept;
}

bool TScriptedDialogService::PrinterSetupDialog(QPrinter&) {
  TAnswer answer;
  if (!Take({.Kind = TDialogKind::PrinterSetup}, answer)) return false;
  return answer.Accept;
}

int TScriptedDialogService::Exec(QDialog& dialog) {
  TAnswer answer;
  const TDialogRequest request{.Kind = TDialogKind::Exec,
                               .Caption = dialog.windowTitle(),
                               .DialogClass = QString::fromLatin1(dialog.metaObject()->className())};
  if (!Take(request, answer)) return idCancel;  // the Cancel result of our dialogs
  return answer.RunDialog ? answer.RunDialog(dialog) : answer.Code;
}

TScopedScriptedDialogs::TScopedScriptedDialogs() {
  auto service = std::make_unique<TScriptedDialogService>();
  FService = service.get();
  FPrevious = SetDialogService(std::move(service));
}

TScopedScriptedDialogs::~TScopedScriptedDialogs() { SetDialogService(std::move(FPrevious)); }
