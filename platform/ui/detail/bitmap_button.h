#pragma once
// The owner-drawn button of the templates (BS_OWNERDRAW): shows a face bitmap per
// state once bound, and a plain raised face with its caption until then.

#include <QAbstractButton>
#include <QPixmap>

namespace platform::ui::detail {

struct ButtonFaces {
  QPixmap up;        // "U": the normal face; the others fall back to it
  QPixmap down;      // "D": pressed
  QPixmap focused;   // "F"
  QPixmap disabled;  // "X"
};

class BitmapButton : public QAbstractButton {
 public:
  explicit BitmapButton(QWidget* parent);

  void Bind(ButtonFaces faces);
  bool IsBound() const { return bound_; }
  // The face the button shows in its present state (null until bound).
  QPixmap CurrentFace() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ButtonFaces faces_;
  bool bound_ = false;
};

}  // namespace platform::ui::detail
