#pragma once
// How modal dialogs meet a person, or the lack of one.
//
// Unattended: no modal dialog or message box is shown; each takes its default
// answer at once (its default push button; control 1 when it has none) and a
// line "<program>: <title>: <text of the dialog's first static or the message>
// -> <answer button's text>" goes to stderr, so that a run without a person
// never waits and still leaves a trace.
//
// The modal observer (for tests) is called once a modal dialog has been
// initialised and shown; it answers by pressing a control (Dialog::Click) or by
// EndDialog. A dialog it leaves open waits for a person as usual.

#include <functional>

namespace platform::ui {

class Dialog;

void SetUnattended(bool unattended);
bool IsUnattended();

using ModalObserver = std::function<void(Dialog& dialog)>;
// Installs observer and returns the previous one; an empty observer removes it.
ModalObserver SetModalObserver(ModalObserver observer);

}  // namespace platform::ui
