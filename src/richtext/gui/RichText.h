#pragma once
// The editor control as the application uses it: the link to its
// formatting toolbar, and every property published with its default.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "richtext/gui/CustomRtfEdit.h"
#include "richtext/gui/SetModeControl.h"

// The companion that shows the caret's formatting on the linked toolbar:
// after every caret movement and attribute change it is pushed.
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

  // The formatting toolbar this editor works with; the link clears itself
  // when the toolbar is destroyed. The toolbar, which is still to come, is
  // told which editor is current through it.
  QWidget* WPToolBar() const { return FToolBar; }
  void SetWPToolBar(QWidget* toolBar) { FToolBar = toolBar; }
  TWPRichTextSetMode& SetMode() { return FSetMode; }

 protected:
  void ShowCaretFormatting() override;

 private:
  TWPRichTextSetMode FSetMode;
  QPointer<QWidget> FToolBar;
};

class TWPRichText : public TWPCustomRichText {
  Q_OBJECT

 public:
  explicit TWPRichText(QWidget* parent = nullptr);
  ~TWPRichText() override;
};
