#include "system/program_items.h"

#include "system/target_table.h"

// The shell links and the Program Manager conversation are not written yet: an
// install makes no program items, and its log still lists the targets, so a
// later install of the same product can make them.
void CreateProgramItems(const CTargetTable&, const ProgramItemPlace&) {}
