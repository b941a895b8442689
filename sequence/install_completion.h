#pragma once
// The install's work after the copy: the install tables written into the log,
// and the product's own completion. With the program group installed that is
// the profile's registry entries, its follow-up programs, the settings file
// "qmw2.ini" and the log lines of the files the product makes later; without
// it, only the removal registration.

class SetupApp;

// The destination, group and target tables into the install log.
void WriteInstallTables(SetupApp& app);

// The program items of the targets in the chosen program folder.
void CreateInstallProgramItems(SetupApp& app);

// The product's registry entries, commands, settings file and log lines, or
// the removal registration (see above).
void CompleteProduct(SetupApp& app);
