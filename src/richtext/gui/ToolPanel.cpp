#include "richtext/gui/ToolPanel.h"

#include <algorithm>

#include "platform/AppRoutines.h"
#include "richtext/gui/RichText.h"

const char* const kNextToolBarLoop = "Error: NextToolBar Loop";

TWPCustomToolPanel::TWPCustomToolPanel(QWidget* parent) : QFrame(parent) {
  std::copy(std::begin(TTextHeader::kDefaultColors), std::end(TTextHeader::kDefaultColors), FColors.begin());
}

TWPCustomToolPanel::~TWPCustomToolPanel() = default;

TWPCustomRichText* TWPCustomToolPanel::Editor() const { return FEditor.data(); }

bool TWPCustomToolPanel::Enter() {
  if (!FPassing) return true;
  FNextToolBar = nullptr;
  ShowMessage(QString::fromLatin1(kNextToolBarLoop));
  return false;
}

template <typename Operation>
void TWPCustomToolPanel::PassOn(Operation operation) {
  TWPCustomToolPanel* next = FNextToolBar.data();
  if (!next || next == this) return;
  FPassing = true;
  operation(*next);
  FPassing = false;
}

void TWPCustomToolPanel::SetEditor(TWPCustomRichText* editor) {
  if (!Enter()) return;
  DoSetEditor(editor);
  PassOn([editor](TWPCustomToolPanel& next) { next.SetEditor(editor); });
}

void TWPCustomToolPanel::SetColorTable(const TWPColorTable& colors) {
  if (!Enter()) return;
  DoSetColorTable(colors);
  PassOn([&colors](TWPCustomToolPanel& next) { next.SetColorTable(colors); });
}

bool TWPCustomToolPanel::IconDown(int group, int number) {
  if (!Enter()) return false;
  const bool wasDown = DoIconDown(group, number);
  PassOn([=](TWPCustomToolPanel& next) { next.IconDown(group, number); });
  return wasDown;
}

bool TWPCustomToolPanel::IconUp(int group, int number) {
  if (!Enter()) return false;
  const bool wasDown = DoIconUp(group, number);
  PassOn([=](TWPCustomToolPanel& next) { next.IconUp(group, number); });
  return wasDown;
}

bool TWPCustomToolPanel::EnableIcon(int index, bool on) {
  if (!Enter()) return false;
  const bool was = DoEnableIcon(index, on);
  PassOn([=](TWPCustomToolPanel& next) { next.EnableIcon(index, on); });
  return was;
}

bool TWPCustomToolPanel::EnableIcon(int group, int number, bool on) {
  if (!Enter()) return false;
  const bool was = DoEnableIconOf(group, number, on);
  PassOn([=](TWPCustomToolPanel& next) { next.EnableIcon(group, number, on); });
  return was;
}

void TWPCustomToolPanel::SetListValue(int list, const std::string& text, int number) {
  if (!Enter()) return;
  DoSetListValue(list, text, number);
  PassOn([&](TWPCustomToolPanel& next) { next.SetListValue(list, text, number); });
}

void TWPCustomToolPanel::DoSetEditor(TWPCustomRichText* editor) {
  if (!editor) {
    // The focused editor of this window, when there is one.
    const QWidget* top = window();
    for (TWPCustomRichText* candidate : top->findChildren<TWPCustomRichText*>())
      if (candidate->hasFocus()) {
        editor = candidate;
        break;
      }
  }
  FEditor = editor;
}

void TWPCustomToolPanel::DoSetColorTable(const TWPColorTable& colors) { FColors = colors; }
bool TWPCustomToolPanel::DoIconDown(int, int) { return false; }
bool TWPCustomToolPanel::DoIconUp(int, int) { return false; }
bool TWPCustomToolPanel::DoEnableIcon(int, bool) { return false; }
bool TWPCustomToolPanel::DoEnableIconOf(int, int, bool) { return false; }
void TWPCustomToolPanel::DoSetListValue(int, const std::string&, int) {}
