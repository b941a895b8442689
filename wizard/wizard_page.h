#pragma once
// WizardPage: one screen of the setup run, a modeless dialog built from the
// template whose id is the page id and owned by the background window. A page
// names the page that follows it; GoToPage (page_chain.h) builds that page,
// shows it, and the new page destroys the old one once it is on screen.
//
// A page object owns itself once GoToPage has shown it: the framework deletes
// it after its window has been destroyed (Window::KeepUntilDestroyed).

#include <cstdint>

#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

// Private message a page posts to itself at the end of its activation.
inline constexpr unsigned WM_PAGE_SHOWN = 0x4C9;

// Control ids every page shares.
namespace page_control {
inline constexpr int kNext = 1;
inline constexpr int kCancel = 2;
inline constexpr int kBack = 1027;
inline constexpr int kPicturePanel = 1035;  // caption "WIZBIT"
}  // namespace page_control

class WizardPage : public platform::ui::Dialog {
 public:
  // The page of template pageId with its default next page id from the page
  // table; the owner is the application's main window.
  WizardPage(int pageId, int nextPageId);
  ~WizardPage() override;

  int PageId() const { return pageId_; }
  int NextPageId() const { return nextPageId_; }
  void SetNextPageId(int id) { nextPageId_ = id; }
  int PreviousPageId() const { return previousPageId_; }
  void SetPreviousPageId(int id) { previousPageId_ = id; }

  // Next (control 1, Enter). Default: GoToPage(next page id).
  virtual void NextPage();
  // Cancel (control 2, Escape). Default: when ConfirmCancel answers yes, the
  // application's cancelled flag is set and the run goes to page 116.
  virtual void CancelPage();
  // Automatic work once the page is on screen; the id of the page to go to, or
  // 0 to wait for the user. Default: 0.
  virtual int RunPageAction();
  // True when the user confirms abandoning setup. Default: the question box with
  // string 5, Yes and No.
  virtual bool ConfirmCancel();
  // False when the page is to be skipped. Default: true.
  virtual bool ShouldShowPage();
  // True while RunPageAction runs (it may handle messages meanwhile).
  bool ActionRunning() const { return actionRunning_; }

 protected:
  // The activation sequence: the dialog's initialisation, OnPageInit, zero size
  // in batch mode, shown without activation, WM_PAGE_SHOWN posted. Pages that
  // override it bind their picture panel and fill their controls, then call it.
  virtual bool ActivatePage();
  // Extra set-up during activation. Default: centre the page over the main window.
  virtual void OnPageInit();
  // Binds control id (default: the picture panel 1035) to the bitmaps named
  // after its caption ("WIZBIT" -> "WIZBITU").
  void BindPicturePanel(int controlId = page_control::kPicturePanel);
  // Back (control 1027) when the page does not handle it itself: the previous
  // page id becomes the next page id, then NextPage.
  void GoBack();

  // platform::ui::Dialog
  bool OnInitDialog() final;
  void OnOK() final;
  void OnCancel() final;
  bool OnCommand(int id, int notifyCode) override;
  std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void OnActivateApp(bool active) override;

 private:
  void PageShown();

  int pageId_;
  int nextPageId_;
  int previousPageId_ = 0;
  bool actionRunning_ = false;
};
