#pragma once
// Reading the install tables into the application's tables, for the splash
// page (install run) and the reading page (removal run, where the tables file
// is the install log).

class SetupApp;

// The country whose users get the "ustpls" templates; users anywhere else get
// "Inttpls".
inline constexpr const char* kHomeCountry = "United States";

// Loads the destinations, groups, targets, sources and diskette labels from
// the application's install tables file, handling pending window messages
// after each table so that the page stays painted and Cancel can be pressed.
// The destination paths are left as the file gives them: an install resolves
// them once the install directory is chosen, and a removal's log holds them
// resolved. Raises what loading raises (a file without destinations).
void LoadSetupTables(SetupApp& app);

// The install run's loading step: the international flag from the country,
// the tables as above, then the space totals of the three setup types.
void LoadSetupInformation(SetupApp& app);
