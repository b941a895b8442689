#include "platform/core/crt_random.h"

namespace platform {
namespace {
unsigned long g_state = 1;
}

void Srand(unsigned seed) { g_state = seed; }

int Rand() {
  g_state = (g_state * 214013UL + 2531011UL) & 0xFFFFFFFFUL;
  return static_cast<int>((g_state >> 16) & 0x7FFF);
}

}  // namespace platform
