#pragma once
// The C runtime's pseudo-random generator as the Windows runtime defines it:
// values 0..32767, seed 1 until Srand is called. Product code that prints its
// values (temporary file names) depends on that range, which the host's rand()
// does not have.

namespace platform {

void Srand(unsigned seed);
int Rand();  // 0..32767

}  // namespace platform
