#pragma once
// The STATIC control: text (wrapping or not, with '&' mnemonics and tabs), icon,
// bitmap, frames, filled rectangles and etched lines, painted as Windows paints them.

#include <cstdint>
#include <functional>
#include <optional>

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace platform::ui::detail {

class StaticControl : public QWidget {
 public:
  StaticControl(std::uint32_t style, std::uint32_t exStyle, QWidget* parent);

  std::uint32_t Kind() const;  // SS_LEFT ... (the low style bits)
  bool IsTextKind() const;
  QString Text() const { return text_; }
  void SetText(const QString& text);
  // The picture of an icon or bitmap static, drawn at its natural size.
  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }
  void SetBackground(const QColor& color);
  // Called for a click when the static has SS_NOTIFY.
  void SetClickHandler(std::function<void()> handler) { onClick_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void PaintText(QPainter& painter, const QRect& area);

  std::uint32_t style_;
  std::uint32_t exStyle_;
  QString text_;
  QPixmap picture_;
  std::optional<QColor> background_;
  std::function<void()> onClick_;
};

}  // namespace platform::ui::detail
