#pragma once
// The billboards shown while files are copied: the pictures 145, 146, 147 and
// 153 take turns by the share of bytes copied, each in a borderless window
// (template 120) the size of its picture, centred at half the screen's width and
// a third of its height. A batch run gives them zero size.

#include <cstdint>
#include <memory>

namespace platform::ui {
class Window;
}

class BillboardWindow;

class BillboardSequence {
 public:
  // owner: the window the billboards float above (the background window).
  BillboardSequence(platform::ui::Window* owner, bool batchMode);
  ~BillboardSequence();

  BillboardSequence(const BillboardSequence&) = delete;
  BillboardSequence& operator=(const BillboardSequence&) = delete;

  // Keeps total, the bytes the copy will write, and shows the first billboard.
  void Start(std::uint64_t total);
  // Shows the billboard for position bytes copied when it is not the one shown:
  // the new one appears before the old one goes, so the screen never flashes.
  void Advance(std::uint64_t position);
  // Takes the billboard shown away.
  void Close();

  // The index of the billboard on screen; -1 when none is.
  int ShownIndex() const;
  // Its window; null when none is shown.
  const platform::ui::Window* ShownWindow() const;

 private:
  void Show(int index);

  platform::ui::Window* owner_;
  bool batchMode_;
  std::uint64_t total_ = 0;
  int shownIndex_ = -1;
  std::unique_ptr<BillboardWindow> shown_;
};
