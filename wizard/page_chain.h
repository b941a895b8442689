#pragma once
// The chain of pages: the page table and the navigation between pages.

#include <functional>
#include <memory>

class WizardPage;

// A new page object for id, or null for an id the page table does not hold.
std::unique_ptr<WizardPage> CreatePage(int id);

// Makes the page with id current: -1 destroys the main window, which ends the
// run; a page whose ShouldShowPage answers false is skipped for its next page,
// the page on screen staying the one to be destroyed and the Back target.
// Raises a resource error when a page's window cannot be created, or for an
// id the page table does not hold; the page on screen then stays current.
void GoToPage(int id);

// The page on screen now (null before the first and after the last), and the
// page being replaced while its successor is shown.
WizardPage* CurrentPage();
WizardPage* PreviousPage();

// Forgets both references (the start of a run).
void ResetPageChain();

// For WizardPage's page-shown step: destroys the windows of every page shown
// before page that is still open (normally just the previous page; more when
// Next was pressed again before its page had been shown).
void DestroyPagesBefore(WizardPage* page);
// For WizardPage's destructor: the chain lets go of every reference to page.
void ForgetPage(WizardPage* page);

// What a page observer is told about a page (tests and screenshots use it).
enum class PagePhase {
  Shown,    // the page is on screen and its predecessor's window has gone
  Waiting,  // its action returned 0: it waits for Next, Back or Cancel
};
using PageObserver = std::function<void(WizardPage& page, PagePhase phase)>;

// Installs observer and returns the previous one; an empty observer removes it.
// In batch mode Waiting is still reported, just before the automatic Next.
PageObserver SetPageObserver(PageObserver observer);
// Tells the installed observer, if any (the page-shown step calls it).
void NotifyPageObserver(WizardPage& page, PagePhase phase);
