#include "wizard/page_chain.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/setup_app.h"
#include "platform/core/exceptions.h"
#include "platform/ui/application.h"
#include "wizard/page_ids.h"
#include "wizard/wizard_page.h"

namespace {

struct Chain {
  WizardPage* current = nullptr;
  WizardPage* previous = nullptr;
  // Pages whose windows have been created and whose objects still live.
  std::vector<WizardPage*> shown;
  PageObserver observer;
};

Chain& TheChain() {
  static Chain chain;
  return chain;
}

void EndRun() {
  // Destroying the background window takes the pages it owns with it and ends
  // the message loop.
  if (SetupApp::Current().MainWnd() != nullptr) {
    SetupApp::Current().MainWnd()->Destroy();
  } else if (auto* app = platform::ui::Application::Current()) {
    app->Quit(0);
  }
}

}  // namespace

void GoToPage(int id) {
  Chain& chain = TheChain();
  WizardPage* const onScreen = chain.current;
  const int onScreenId = onScreen != nullptr ? onScreen->PageId() : 0;
  chain.previous = onScreen;

  for (;;) {
    if (id == page_id::kEndOfRun) {
      chain.current = nullptr;
      EndRun();
      return;
    }
    std::unique_ptr<WizardPage> page = CreatePage(id);
    if (!page) throw platform::ResourceException("no page " + std::to_string(id) + " in the page table");
    page->SetPreviousPageId(onScreenId);
    chain.current = page.get();

    if (!page->ShouldShowPage()) {
      // Skipped: the page on screen stays, both to be destroyed and as the
      // Back target of the page finally shown.
      id = page->NextPageId();
      chain.current = onScreen;
      continue;
    }
    if (!page->Create()) {
      chain.current = onScreen;
      throw platform::ResourceException("the window of page " + std::to_string(id) + " cannot be created");
    }
    page->UpdateNow();
    chain.shown.push_back(page.get());
    // From here the page belongs to the framework, which deletes it once its
    // window has been destroyed.
    platform::ui::Window::KeepUntilDestroyed(std::move(page));
    return;
  }
}

WizardPage* CurrentPage() { return TheChain().current; }
WizardPage* PreviousPage() { return TheChain().previous; }

void ResetPageChain() {
  TheChain().current = nullptr;
  TheChain().previous = nullptr;
}

void DestroyPagesBefore(WizardPage* page) {
  // A copy: destroying a window may delete its page, which edits the list.
  const std::vector<WizardPage*> open = TheChain().shown;
  for (WizardPage* other : open) {
    const auto& shown = TheChain().shown;
    if (other != page && std::find(shown.begin(), shown.end(), other) != shown.end()) other->Destroy();
  }
}

void ForgetPage(WizardPage* page) {
  Chain& chain = TheChain();
  if (chain.current == page) chain.current = nullptr;
  if (chain.previous == page) chain.previous = nullptr;
  std::erase(chain.shown, page);
}

PageObserver SetPageObserver(PageObserver observer) { return std::exchange(TheChain().observer, std::move(observer)); }

void NotifyPageObserver(WizardPage& page, PagePhase phase) {
  if (!TheChain().observer) return;
  // A copy: the observer may replace itself.
  PageObserver observer = TheChain().observer;
  observer(page, phase);
}
