#pragma once
// The chain of pages: the page table and the navigation between pages.

#include <memory>

class WizardPage;

// A new page object for id, or null for an id the page table does not hold.
std::unique_ptr<WizardPage> CreatePage(int id);

// Makes the page with id current: -1 destroys the main window, which ends the
// run; a page whose ShouldShowPage answers false is skipped for its next page,
// the page on screen staying the one to be destroyed and the Back target.
// Raises a resource error when a page's window cannot be created.
void GoToPage(int id);

// The page on screen now (null before the first and after the last), and the
// page being replaced while its successor is shown.
WizardPage* CurrentPage();
WizardPage* PreviousPage();

// Forgets both references (the start of a run).
void ResetPageChain();
