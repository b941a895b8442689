#pragma once
// The string table compiled into the program until the resource script takes it
// over. Only string_table.cpp should call this; everyone else goes through
// LoadStringText so that the source can be replaced.

// The text of a string id, or null when the table has no such id.
const char* BuiltinStringText(unsigned id);
