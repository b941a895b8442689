#include "sequence/billboard_sequence.h"

#include <QPainter>
#include <QPixmap>
#include <array>

#include "platform/ui/application.h"
#include "platform/ui/dialog.h"
#include "platform/ui/placement.h"
#include "platform/ui/resources_access.h"
#include "sequence/billboard_index.h"

namespace {

constexpr int kTemplateId = 120;
constexpr std::array<int, kBillboardCount> kPictures = {145, 146, 147, 153};

}  // namespace

// One billboard: its picture painted from the top-left corner, nothing else.
class BillboardWindow : public platform::ui::Dialog {
 public:
  BillboardWindow(platform::ui::Window* owner, int pictureId, bool batchMode)
      : Dialog(kTemplateId, owner), picture_(platform::ui::LoadBitmapResource(pictureId)), batchMode_(batchMode) {}

  // Creates, places and shows the window; false when it cannot be created.
  bool Open() {
    if (picture_.isNull() || !Create()) return false;
    const QSize size = batchMode_ ? QSize(0, 0) : picture_.size();
    Move(QRect(Rect().topLeft(), size));
    if (platform::ui::Application* app = platform::ui::Application::Current()) {
      platform::ui::PlaceWindow(*this, app->ScreenRect(), 1, 2, 1, 3);
    }
    Show(platform::ui::ShowCommand::NoActivate);
    UpdateNow();
    return true;
  }

 protected:
  void OnPaint(QPainter& painter) override { painter.drawPixmap(0, 0, picture_); }

 private:
  QPixmap picture_;
  bool batchMode_;
};

BillboardSequence::BillboardSequence(platform::ui::Window* owner, bool batchMode)
    : owner_(owner), batchMode_(batchMode) {}

BillboardSequence::~BillboardSequence() { Close(); }

void BillboardSequence::Start(std::uint64_t total) {
  total_ = total;
  Show(0);
}

void BillboardSequence::Advance(std::uint64_t position) {
  if (shownIndex_ < 0) return;  // not started, or closed
  const int index = BillboardIndex(position, total_);
  if (index != shownIndex_) Show(index);
}

void BillboardSequence::Close() {
  if (shown_ && shown_->IsCreated()) shown_->Destroy();
  shown_.reset();
  shownIndex_ = -1;
}

int BillboardSequence::ShownIndex() const { return shownIndex_; }

const platform::ui::Window* BillboardSequence::ShownWindow() const { return shown_.get(); }

void BillboardSequence::Show(int index) {
  auto next = std::make_unique<BillboardWindow>(owner_, kPictures[static_cast<std::size_t>(index)], batchMode_);
  // A billboard that cannot be made is skipped: the one shown stays.
  if (!next->Open()) return;
  if (shown_ && shown_->IsCreated()) shown_->Destroy();
  shown_ = std::move(next);
  shownIndex_ = index;
  if (owner_ != nullptr) owner_->UpdateNow();
}
