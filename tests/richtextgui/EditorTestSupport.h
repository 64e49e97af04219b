#pragma once
// An editor as a user meets it: shown, focused, typed into with synthesized
// key events. Keys are written as a script: plain characters are typed,
// "{Name}" presses a named key, with "S-", "C-" or "C-S-" in front for
// Shift, Ctrl or both ("{C-S-Left}").
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <map>
#include <string>

#include "richtext/DocumentTestSupport.h"
#include "richtext/gui/RichText.h"

namespace edittest {

inline void Press(QWidget& widget, const std::string& script) {
  static const std::map<std::string, Qt::Key> keys = {
      {"BS", Qt::Key_Backspace}, {"Del", Qt::Key_Delete},    {"Enter", Qt::Key_Return},
      {"Tab", Qt::Key_Tab},      {"Esc", Qt::Key_Escape},    {"Ins", Qt::Key_Insert},
      {"Left", Qt::Key_Left},    {"Right", Qt::Key_Right},   {"Up", Qt::Key_Up},
      {"Down", Qt::Key_Down},    {"Home", Qt::Key_Home},     {"End", Qt::Key_End},
      {"PgUp", Qt::Key_PageUp},  {"PgDn", Qt::Key_PageDown}, {"A", Qt::Key_A},
      {"C", Qt::Key_C},          {"V", Qt::Key_V},           {"X", Qt::Key_X}};
  for (std::size_t i = 0; i < script.size(); ++i) {
    if (script[i] != '{') {
      QTest::keyClicks(&widget, QString(QChar(static_cast<unsigned char>(script[i]))));
      continue;
    }
    const std::size_t close = script.find('}', i);
    std::string name = script.substr(i + 1, close - i - 1);
    i = close;
    Qt::KeyboardModifiers modifiers;
    for (bool more = true; more;) {
      more = false;
      if (name.rfind("S-", 0) == 0) modifiers |= Qt::ShiftModifier, name.erase(0, 2), more = true;
      if (name.rfind("C-", 0) == 0) modifiers |= Qt::ControlModifier, name.erase(0, 2), more = true;
    }
    const auto key = keys.find(name);
    ASSERT_NE(key, keys.end()) << name;
    QTest::keyClick(&widget, key->second, modifiers);
  }
}

// The paragraphs of a document, joined with '|'.
inline std::string Text(const TWPRTFText& doc) {
  std::string text;
  for (const TParagraph* par = doc.FirstParagraph; par; par = par->Next) {
    if (par != doc.FirstParagraph) text += '|';
    text += par->Text();
  }
  return text;
}

// A label-sized editor without a frame that has the keyboard focus.
class TFocusedEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    Editor.SetBorderStyle(bsNone);
    Editor.resize(320, 120);
    Editor.show();
    QApplication::setActiveWindow(&Editor);
    Editor.setFocus();
    ASSERT_TRUE(Editor.hasFocus());
  }
  // Replaces the document with paragraphs separated by '|', in Arial 10.
  void Load(const std::string& text) {
    TWPRTFTextInput& doc = *Editor.RtfText();
    doc.Clear();
    TAttr a{};
    a.Size = 10;
    testdoc::SetParagraphs(doc, text, a);
    doc.ReformatAll();
    doc.CurrentAttr = a;
    Editor.SetCaretPosition(0);
  }
  void Press(const std::string& script) { edittest::Press(Editor, script); }
  std::string Text() const { return edittest::Text(*Editor.RtfText()); }
  TWPRTFTextInput& Doc() { return *Editor.RtfText(); }

  TWPRichText Editor;
};

}  // namespace edittest
