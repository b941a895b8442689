#include "install/builtin_strings.h"

#include <algorithm>
#include <iterator>

namespace {

struct StringEntry {
  unsigned id;
  const char* text;
};

// The program's string table, sorted by id. These are the program's own texts,
// spelling slips and odd line breaks included: they are shown to the user and
// quoted in support calls exactly as they stand.
constexpr StringEntry kStrings[] = {
    {9, "Setup cannot continue"},
    {10, "Incomplete or missing profile."},
    {11, "Diskette %d"},
    {13,
     "The profile that holds application install information is missing or damaged. "
     "Possible causes:\r\n"
     "\r\n"
     "- damaged diskette 1\r\n"
     "- possible diskette alignment or hardware problem\r\n"
     "- insufficient disk space"},
    {14, "Continue Operation"},
    {15, "Cancel Operation"},
    {17, "Cannot install files from '%s':"},
    {24576, "An unkown error occured."},
    {24577,
     "The requested operation cannot be completed because an error occurred. There is no "
     "more information available about this error. Please record the error information "
     "shown at the bottom of this message (click on More>>)."},
    {24578, "Not enough memory available."},
    {24579,
     "There is insufficient memory available to complete this operation. Exit other running "
     "applications or close additional documents and try the operation again."},
    {24580, "File Error."},
    {24581, "An error occurred with one of the files used in this operation."},
    {24582, "Archive Error"},
    {24583, "An error occurred in saving or loading this application's data to or from disk."},
    {24584, "Resource Error."},
    {24585,
     "An error occurred while accessing the resources associated with this application. "
     "Possible causes:\r\n"
     "\r\n"
     "- A damaged .EXE or .DLL file\r\n"
     "- Not enough file handles\r\n"
     "- System resources are exhausted."},
    {24586, "Operation cancelled."},
    {24587, "You cancelled this operation."},
    {24588, "This operation is not supported."},
    {24589, "You have requested an operation that is not supported by this application."},
    {24590, "File not found."},
    {24591,
     "A file required for this operation was not found. This could because the wrong "
     "location for the file was specified, or because the file has been deleted."},
    {24592, "Invalid path."},
    {24593, "The path specfied for accessing a file is invalid. "},
    {24594, "Too many files open."},
    {24595,
     "There are too many files open. You can terminate other running applications or close "
     "other documents to close files, then try this operation again."},
    {24596, "Access denied."},
    {24597,
     "You do not have access rights to work with this file. Contact your system "
     "administrator if you need access to this file."},
    {24598, "Invalid file."},
    {24599, "Cannot remove current directory."},
    {24600, "Directory full."},
    {24601,
     "The directory used for this operation cannot hold any more files. Please select "
     "another directory, or remove one or more files from this directory."},
    {24602, "Bad seek."},
    {24603, "Hardware error."},
    {24604,
     "There was a hardware error accessing your file system. Possible causes\r:\n"
     "- incompatible driver versions\n"
     "- power surge\r\n"
     "- hardware failure\r\n"
     "\r\n"
     "You may want to shut down your computer and try again."},
    {24605, "Sharing violation."},
    {24606,
     "A sharing violation occured accessing a file. Possible causes:\r\n"
     "\r\n"
     "-- another application has loaded this file\r\n"
     "- another user on the network has loaded this file\r\n"
     "- SHARE.EXE is not loaded\r\n"
     "- A previous application didn't release this file"},
    {24607, "Locking violation."},
    {24608,
     "A locking violation occured accessing a file. Possible causes:\r\n"
     "\r\n"
     "-- another application has loaded this file\n"
     "- another user on the network has loaded this file\r\n"
     "- SHARE.EXE is not loaded\r\n"
     "- A previous application didn't release this file"},
    {24609, "Disk full"},
    {24610,
     "There is not enough space on the specified drive for this operation. Either select a "
     "different drive or remove one or more files."},
    {24611, "End of file."},
    {27648, "Unknown compression method."},
    {27649,
     "The file this application is trying to extract was compressed with an unknown method. "
     "Possible causes:\r\n"
     "- the file was compressed with a different version of the software\r\n"
     "- the file is damaged\r\n"
     "- there is a diskette alignment or hardware problem"},
    {27650, "File is not an archive file."},
    {27651,
     "The file this application is extracting does not appear to be an archive file (there "
     "is no archive header). Possible causes:\r\n"
     "- wrong file on install diskettes\r\n"
     "- file is damaged\r\n"
     "- possible diskette drive alignment or hardware error"},
    {27652, "Archive file damaged (missing entry header)."},
    {27653,
     "The archive file this application is extracting appears damaged (no entry header "
     "found). Possible causes:\r\n"
     "\r\n"
     "- file is damaged on install diskettes\r\n"
     "- diskette drive alignment or hardware error"},
    {27654, "Archive file damaged (corrupt table)."},
    {27655,
     "The archive file this application is extracting appears damaged (corrupt table). "
     "Possible causes:\r\n"
     "\r\n"
     "- file is damaged on install diskettes\r\n"
     "- diskette drive alignment or hardware error"},
    {27656, "Archive file damaged (CRC Mismatch)"},
    {27657,
     "The archive file this application is extracting appears damaged (CRC Mismacth). "
     "Possible causes:\r\n"
     "\r\n"
     "- file is damaged on install diskettes\r\n"
     "- diskette drive alignment or hardware error"},
};

constexpr bool IsSortedById() {
  for (std::size_t i = 1; i < std::size(kStrings); ++i) {
    if (kStrings[i - 1].id >= kStrings[i].id) return false;
  }
  return true;
}
static_assert(IsSortedById(), "the string table must stay sorted by id for the binary search");

}  // namespace

const char* BuiltinStringText(unsigned id) {
  const auto* it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                    [](const StringEntry& e, unsigned key) { return e.id < key; });
  if (it == std::end(kStrings) || it->id != id) return nullptr;
  return it->text;
}
