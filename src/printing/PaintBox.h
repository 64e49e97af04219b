#pragma once
// A plain surface whose owner paints it and hears its mouse presses.
#include <QWidget>
#include <functional>

class QPainter;

class TPaintBox : public QWidget {
  Q_OBJECT

 public:
  using TPaintEvent = std::function<void(QPainter& canvas)>;
  using TMouseEvent = std::function<void(Qt::MouseButton button, QPoint position)>;

  explicit TPaintBox(QWidget* parent = nullptr) : QWidget(parent) {}

  TPaintEvent OnPaint;
  TMouseEvent OnMouseDown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};
