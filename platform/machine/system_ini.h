#pragma once
// The text of <root>/system.ini and the machine configuration it describes.

#include <string>

#include "platform/machine/machine.h"

namespace platform {

// Reads the text of system.ini. Missing keys take the platform's defaults, a
// missing [drives] section the default drives. Throws MachineError naming the
// offending line.
MachineConfig ParseSystemIni(const std::string& text);

// The text of system.ini for a normalized configuration.
std::string FormatSystemIni(const MachineConfig& config);

// Checks a configuration and brings it into one spelling: drive letters upper
// case and sorted, Z: on "/" added when missing, directories as "X:\DIR".
// Throws MachineError when a value is unusable.
MachineConfig NormalizeConfig(MachineConfig config);

}  // namespace platform
