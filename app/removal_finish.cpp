#include "app/removal_finish.h"

void FinishRemoval(const std::string& /*sourceDirectory*/) {}
