#pragma once
// Every file-system operation of the program on people's photographs goes
// through here: listing a folder, and moving a file to a new name in the same
// folder without ever replacing an existing file.
#include <string>
#include <string_view>
#include <vector>

namespace tagmora {

// folder + separator + name (name as given when folder is empty).
std::string JoinPath(std::string_view folder, std::string_view name);

// A name that stays inside its folder: not empty, not "." or "..", without a
// path separator or a NUL byte.
bool IsPlainFileName(std::string_view name);

// Hidden files are the dot-files.
bool IsHiddenName(std::string_view name);

bool EndsWithJpgNoCase(std::string_view name);

// Photographs are named in shooting order, so runs take them in name order,
// ignoring case; names equal but for case keep a fixed (byte) order.
bool LessByNameNoCase(std::string_view a, std::string_view b);

// A line break in a name would split its log line, and Manual Rename reads
// the log line by line: such files are passed over like hidden ones.
bool HoldsLineBreak(std::string_view name);

// Regular (non-hidden) files of folder whose name matches *.jpg ignoring case,
// sorted by name ignoring case. Returns false when the folder cannot be read.
// Names holding a line break are left out, and listed in passedOver if given.
bool ListJpegFiles(const std::string& folder, std::vector<std::string>& names,
                   std::vector<std::string>* passedOver = nullptr);

// Regular, non-hidden files whose name is base + "." + anything, compared
// ignoring case, sorted like ListJpegFiles.
// The base name the files of one photograph share: its name with every
// ".jpg" taken out, in any letter case.
std::string PhotoBaseName(std::string_view photo);

std::vector<std::string> ListFilesWithBase(const std::string& folder, std::string_view base);

// Every entry of the folder, hidden ones and folders included: the names a
// new name must not clash with. Empty when the folder cannot be read.
std::vector<std::string> ListAllNames(const std::string& folder);

// A name counts as taken when the folder holds it in any letter case: copied
// to a memory card, a Windows share or a Mac, names equal but for case would
// overwrite each other.
bool HoldsNameNoCase(const std::vector<std::string>& names, std::string_view name);

// Whether names holds base + "." + anything, in any letter case: a file of
// another photograph (its raw file, say) already bears that base name.
bool HoldsBaseNoCase(const std::vector<std::string>& names, std::string_view base);

// The first entry matching *.jpg, hidden ones included, is a regular file.
bool FolderOffersJpeg(const std::string& folder);

bool FileExists(const std::string& path);
bool IsRegularFile(const std::string& path);
bool IsDirectory(const std::string& path);

// Moves folder/from to folder/to. Fails, changing nothing, when either name
// is not a plain file name, the source is missing or the target is taken in
// any letter case by another entry (a change of case alone is allowed).
bool RenameNoReplace(const std::string& folder, std::string_view from, std::string_view to);

// The same move made of link + unlink, for file systems that cannot rename
// without replacing. When the old name cannot be removed the new link is taken
// back; only when neither name can be removed are both left (and true is
// returned, the file being reachable under its new name).
bool RenameByLinkNoReplace(const std::string& folder, std::string_view from, std::string_view to);

}  // namespace tagmora
