#pragma once
// The widget of frame and child windows: it hands painting, closing and posted
// messages to its window through the link, under the message-exception guard.

#include <QWidget>

#include "platform/ui/detail/window_link.h"

namespace platform::ui::detail {

class WindowWidget : public QWidget, public FrameworkWidget {
 public:
  explicit WindowWidget(QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};

// Delivers a posted message to the window linked to receiver; false when the
// event is not a posted message. Shared by every framework widget.
bool DeliverPostedMessage(FrameworkWidget& receiver, QEvent* event);

}  // namespace platform::ui::detail
