#pragma once
// The install log's line formats (values are fields separated by "|", numbers
// in decimal). A removal run reads the log back as its install tables file, so
// these must stay the formats the table loaders read.

#include <string>
#include <string_view>

// "%d|%d|%d": destination id, installed, replaced.
std::string FormatInstalledFileLine(int destinationId, bool installed, bool replaced);
// "%s|%d|%s": relative name, parent id, resolved path.
std::string FormatDestinationLine(std::string_view relativeName, int parentId, std::string_view path);
// "%s|%s|%d|%d|%d": title, description, minimum, typical and custom flags.
std::string FormatGroupLine(std::string_view title, std::string_view description, int minimumFlag,
                            int typicalFlag, int customFlag);

// The name and extension of a Windows path: what follows its last "\", "/" or ":".
std::string_view FileNameOfPath(std::string_view path);
