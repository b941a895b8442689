#include "wizard/wizard_page.h"

#include <QRect>

#include "app/main_window.h"
#include "app/setup_app.h"
#include "install/errors/string_table.h"
#include "platform/ui/message_box.h"
#include "platform/ui/placement.h"
#include "wizard/page_chain.h"
#include "wizard/page_ids.h"

namespace {

// "Quillmark 2.0  installation not complete. Do you really want to exit Setup?"
constexpr unsigned kConfirmCancelString = 5;
constexpr int kNotInstalledPage = page_id::kNotInstalled;

}  // namespace

WizardPage::WizardPage(int pageId, int nextPageId)
    : Dialog(pageId, SetupApp::Current().MainWnd()), pageId_(pageId), nextPageId_(nextPageId) {}

WizardPage::~WizardPage() { ForgetPage(this); }

void WizardPage::NextPage() { GoToPage(nextPageId_); }

void WizardPage::CancelPage() {
  if (!ConfirmCancel()) return;
  SetupApp::Current().SetCancelled();
  GoToPage(kNotInstalledPage);
}

int WizardPage::RunPageAction() { return 0; }

bool WizardPage::ConfirmCancel() {
  const int answer =
      platform::ui::MessageBox(this, LoadStringText(kConfirmCancelString), SetupApp::Current().SetupTitle(),
                               platform::ui::MessageButtons::YesNo, platform::ui::SystemIcon::Question);
  return answer == platform::ui::kIdYes;
}

bool WizardPage::ShouldShowPage() { return true; }

bool WizardPage::ActivatePage() {
  Dialog::OnInitDialog();
  OnPageInit();
  // A batch run has nobody to look at the page: it is there, but takes no room.
  if (SetupApp::Current().BatchMode()) Move(QRect(0, 0, 0, 0));
  Show(platform::ui::ShowCommand::NoActivate);
  // Shown without activation; on Windows the dialog manager then gives the page
  // the focus all the same. A display without a window manager activates
  // nothing by itself, so the page takes the keyboard here, on the control its
  // initialisation focused (the first tab stop).
  if (!SetupApp::Current().BatchMode()) BringToForeground();
  // Posted, so that this page is painted and the page before it goes only once
  // this one is on screen, and a long action starts after the first paint.
  PostMessage(WM_PAGE_SHOWN);
  return true;
}

void WizardPage::OnPageInit() { platform::ui::CenterWindow(*this, Owner()); }

void WizardPage::BindPicturePanel(int controlId) { BindBitmapButton(controlId, ItemText(controlId)); }

void WizardPage::GoBack() {
  nextPageId_ = previousPageId_;
  NextPage();
}

bool WizardPage::OnInitDialog() { return ActivatePage(); }

void WizardPage::OnOK() { NextPage(); }

void WizardPage::OnCancel() { CancelPage(); }

bool WizardPage::OnCommand(int id, int notifyCode) {
  if (id == page_control::kBack && notifyCode == platform::ui::notify::kButtonClicked) {
    GoBack();
    return true;
  }
  return false;
}

std::intptr_t WizardPage::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (message == WM_PAGE_SHOWN) {
    PageShown();
    return 0;
  }
  return Dialog::OnMessage(message, wParam, lParam);
}

void WizardPage::OnActivateApp(bool active) {
  // Another program may have changed the colours meanwhile: the background is
  // painted again with this program's own.
  if (CMainWnd* main = SetupApp::Current().MainWnd()) main->Invalidate();
  Dialog::OnActivateApp(active);
}

void WizardPage::PageShown() {
  // A page that was left before it was shown (Next pressed twice) takes no
  // step: the page that replaced it clears the screen when its own turn comes.
  if (CurrentPage() != this) return;
  DestroyPagesBefore(this);
  NotifyPageObserver(*this, PagePhase::Shown);

  actionRunning_ = true;
  int target = 0;
  try {
    target = RunPageAction();
  } catch (...) {
    actionRunning_ = false;
    throw;
  }
  actionRunning_ = false;
  // The user may have left the page while its action handled messages (a
  // confirmed Cancel goes to page 116); the action's result is then stale.
  if (CurrentPage() != this) return;
  if (target != 0) {
    GoToPage(target);
    return;
  }
  NotifyPageObserver(*this, PagePhase::Waiting);
  if (SetupApp::Current().BatchMode()) NextPage();
}
