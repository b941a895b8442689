#pragma once
// What the install writes for the product itself once its files are in place:
// the settings file "qmw2.ini" in the working directory, the log lines of the
// files the product creates there later (so that a removal takes them too), and,
// when the program group is not installed, the removal registration that the
// profile's registry entries would otherwise write.
//
// Failed writes are ignored, as for every private-profile write of the setup.

#include <string>
#include <string_view>

namespace product_settings {
inline constexpr const char* kFileName = "qmw2.ini";
inline constexpr const char* kSection = "QMW95";
inline constexpr const char* kLogGroup = "program";
inline constexpr const char* kUninstallKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UNINSTALL\\Qmw2DKey";
inline constexpr const char* kDisplayName = "Quillmark v2";
inline constexpr const char* kRemovalProgram = "Unsetup.exe";
}  // namespace product_settings

// The settings file's path for the working directory's resolved path.
std::string ProductSettingsPath(std::string_view workingDirectory);

// Writes the "QMW95" keys for the working and clip-art directories (resolved
// paths, with or without a closing backslash), making the working directory
// when no installed file has. Throws platform::FileException when the
// directory or a key cannot be written.
void WriteProductSettings(std::string_view workingDirectory, std::string_view clipArtDirectory);

// The files the product creates in its working directory (destination 1),
// logged as installed there.
void LogProductFiles(std::string_view logFile);

// "Quillmark v2" under the system's uninstall key, removed through the install
// directory's "Unsetup.exe"; the key is logged when it is created.
void WriteRemovalRegistration(std::string_view installDirectory, std::string_view logFile);
