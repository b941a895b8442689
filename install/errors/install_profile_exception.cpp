#include "install/errors/install_profile_exception.h"

namespace {

constexpr MessageItem kInstallProfileTable[] = {ForAnyCode(10, 13)};

}  // namespace

MessageTable CInstallProfileException::GetMessageTable() const { return kInstallProfileTable; }
