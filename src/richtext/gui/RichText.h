#pragma once
// The editor control as the application uses it: the link to its
// formatting toolbar, and every property published with its default.
#include <QPointer>
#include <QWidget>

#include "richtext/gui/CustomRtfEdit.h"

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

 private:
  QPointer<QWidget> FToolBar;
};

class TWPRichText : public TWPCustomRichText {
  Q_OBJECT

 public:
  explicit TWPRichText(QWidget* parent = nullptr);
  ~TWPRichText() override;
};
