#pragma once
// DIALOG and DIALOGEX statements with their controls.

#include "tools/qmrc/script_model.h"
#include "tools/qmrc/token_cursor.h"

namespace qmrc {

// Parses what follows "id DIALOG" or "id DIALOGEX" (any memory flags already
// taken): the rectangle, the options and the BEGIN ... END body.
DialogDefinition ParseDialog(TokenCursor& cursor, int id, bool extended, const SourceLocation& where);

// Numbers of a statement, checked against the range the binary format holds.
int ReadCoordinate(TokenCursor& cursor, const char* what);
// A control id; 0xFFFF and -1 both give -1, "no id".
int ReadControlId(TokenCursor& cursor);

}  // namespace qmrc
