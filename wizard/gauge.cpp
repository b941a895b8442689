#include "wizard/gauge.h"

#include <algorithm>

#include <QPainter>
#include <QWidget>

#include "platform/ui/dialog.h"
#include "platform/ui/resources_access.h"
#include "wizard/gauge_drawing.h"

namespace {
constexpr const char* kGaugeText = "Gauge";
}

bool CGauge::CreateOver(platform::ui::Dialog& dialog, int controlId, std::uint32_t style) {
  const QRect rect = dialog.ItemRect(controlId);
  dialog.DestroyItem(controlId);
  if (!Create(dialog, controlId, rect, style)) return false;
  SetText(kGaugeText);
  if (dialog.Widget() != nullptr && Widget() != nullptr) Widget()->setFont(dialog.Widget()->font());
  return true;
}

void CGauge::SetRange(std::uint32_t minimum, std::uint32_t maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
}

void CGauge::SetPos(std::uint32_t value, bool updateNow) { MoveTo(value, updateNow); }

void CGauge::OffsetPos(std::int64_t delta, bool updateNow) {
  MoveTo(static_cast<std::int64_t>(position_) + delta, updateNow);
}

void CGauge::MoveTo(std::int64_t value, bool updateNow) {
  // At most the maximum first, then at least the minimum: with a reversed range
  // the minimum wins.
  value = std::min<std::int64_t>(value, maximum_);
  value = std::max<std::int64_t>(value, minimum_);
  position_ = static_cast<std::uint32_t>(value);
  Invalidate();
  if (updateNow) UpdateNow();
}

void CGauge::OnPaint(QPainter& painter) {
  if (minimum_ == maximum_) return;
  const int percent = GaugePercent(minimum_, maximum_, position_);
  using platform::ui::SysColor;
  const GaugeColors colors{platform::ui::SystemColor(SysColor::Highlight),
                           platform::ui::SystemColor(SysColor::Window)};
  if (Widget() != nullptr) painter.setFont(Widget()->font());
  DrawGauge(painter, ClientRect(), percent, colors, GaugeOrientation::Horizontal);
}
