#pragma once
// The full-screen background of a setup run: a colour ramp from blue to black
// with the setup's title in its top-left corner. It is the application's main
// window: the wizard pages float above it, and destroying it ends the run.

#include <memory>
#include <string>

#include "app/ramp_palette.h"
#include "platform/ui/window.h"
#include "system/command_list.h"

class CMainWnd : public platform::ui::FrameWindow, public FocusReturn {
 public:
  CMainWnd();
  ~CMainWnd() override;

  // After the follow-up programs: the setup is in front again, with the focus.
  void TakeFocusBack() override {
    SetFocus();
    BringToForeground();
  }

  // Creates the window with the setup's title as caption, covering the screen,
  // shown maximised, or minimised in batch mode. Becomes the application's main
  // window. False when the window cannot be created.
  bool Create(bool batchMode);

  // The ramp's palette, for pages that realize it when the application is
  // activated; null before creation and after destruction. Empty (no entries)
  // on a display without a hardware palette.
  const RampPalette* Palette() const { return palette_.get(); }
  // The last activation state reported to the window; 0 until the first report.
  int Active() const { return active_; }

  // The title: string 4 of the string table.
  static std::string TitleText();

 protected:
  void OnPaint(QPainter& painter) override;
  void OnActivateApp(bool active) override;
  // Closing the background (its system menu, the window manager) ends the run;
  // the application hears of it first (SetupApp::BackgroundClosed).
  void OnClose() override;
  void OnDestroy() override;

 private:
  void PaintRamp(QPainter& painter) const;
  void PaintTitle(QPainter& painter) const;

  std::unique_ptr<RampPalette> palette_;
  int active_ = 0;
};
