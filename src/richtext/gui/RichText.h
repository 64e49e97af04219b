#pragma once
// The editor control as the application uses it: links to a formatting
// toolbar, a ruler, a status bar and external scroll bars, and every
// property published with its default.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "richtext/gui/CustomRtfEdit.h"
#include "richtext/gui/SetModeControl.h"

// The companion that shows the caret's formatting on the linked toolbar and
// ruler: after every caret movement and attribute change it is pushed.
class TWPRichTextSetMode : public TWPSetModeControl {
 public:
  using TWPSetModeControl::TWPSetModeControl;
  std::function<void(const TWPSetModeControl& mode)> OnPush;
};

class TWPCustomRichText : public TWPCustomRtfEdit {
  Q_OBJECT

 public:
  explicit TWPCustomRichText(QWidget* parent = nullptr);
  ~TWPCustomRichText() override;

  // Linked controls; a link clears itself when the control is destroyed.
  QWidget* WPToolBar() const { return FToolBar; }
  void SetWPToolBar(QWidget* toolBar) { FToolBar = toolBar; }
  QWidget* WPRuler() const { return FRuler; }
  void SetWPRuler(QWidget* ruler) { FRuler = ruler; }
  QWidget* StatusBar() const { return FStatusBar; }
  void SetStatusBar(QWidget* statusBar) { FStatusBar = statusBar; }
  QWidget* StatusLabel() const { return FStatusLabel; }
  void SetStatusLabel(QWidget* label) { FStatusLabel = label; }
  QWidget* ExternVerScrollBar() const { return FExternVerScrollBar; }
  void SetExternVerScrollBar(QWidget* bar) { FExternVerScrollBar = bar; }
  QWidget* ExternHorScrollBar() const { return FExternHorScrollBar; }
  void SetExternHorScrollBar(QWidget* bar) { FExternHorScrollBar = bar; }
  TWPRichTextSetMode& SetMode() { return FSetMode; }

 protected:
  void ShowCaretFormatting() override;

 private:
  TWPRichTextSetMode FSetMode;
  QPointer<QWidget> FToolBar;
  QPointer<QWidget> FRuler;
  QPointer<QWidget> FStatusBar;
  QPointer<QWidget> FStatusLabel;
  QPointer<QWidget> FExternVerScrollBar;
  QPointer<QWidget> FExternHorScrollBar;
};

class TWPRichText : public TWPCustomRichText {
  Q_OBJECT

 public:
  explicit TWPRichText(QWidget* parent = nullptr);
  ~TWPRichText() override;
};
