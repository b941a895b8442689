#pragma once
// What an append cut short by a kill leaves, and how a reader tells it from a
// last line that was simply written without its line end.
//
// The writer's appends are one write() of whole lines, each with its line end
// (profile_file_writer.h), and every file it writes ends with a line end. A
// kill cuts such a write only where the kernel's copy crosses from one page of
// the file to the next, so what it leaves is a last line without a line end at
// a file size that is a multiple of the page size. Such a line is no entry: a
// cut "C:\QM2\BIN\QM.EXE" reads as "C:\QM2\BIN\QM", a name the removal must
// never act on, and a cut value is a complete "key=value" as often as not, so
// the line's look cannot tell. A hand-written file may end without a line end
// too (Windows reads its last line); its last line still counts unless its
// size happens to be a whole number of pages, the one case the reader cannot
// tell from a cut and where losing a line is the smaller harm.

#include <cstddef>
#include <string_view>

namespace platform {

// The smallest page size of the systems we run on; larger pages are multiples
// of it, so a cut on any of them ends at a multiple of this.
inline constexpr std::size_t kCutAppendPageSize = 4096;

// The length of text without the partial last line a cut append may have left:
// text.size() when there is none.
std::size_t LengthWithoutCutLine(std::string_view text);

}  // namespace platform
