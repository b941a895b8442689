#pragma once
// What the copy needs besides the user's choices: the groups the chosen ones
// imply and the record of the setup program itself, which copies itself into
// the install directory so that a removal can run it from there.

class SetupApp;

// With "program" installed: "NTDlls" on Windows NT, and the label templates of
// the user's country ("Inttpls" or "ustpls"). Then the setup program's own
// record, under a new group "Install Programs".
void PrepareInstallLists(SetupApp& app);

// The setup program's own record: a new group "Install Programs" with the
// program's file, for the install directory. With addProgramItem the program
// folder also gets the item "Remove Quillmark 2.0", which starts the installed
// copy with /U.
void AddRemovalProgram(SetupApp& app, bool addProgramItem);
