#pragma once

#include <string>
#include <string_view>

// File names as report definitions write them, turned into paths of this system.
//
// Definitions written on Windows say "Log\Sales.log" or "..\Templates\Q1.pptx", so "\" and "/"
// are both folder separators; results use "/". A name with a drive letter ("C:\Reports\a.ppt")
// is kept exactly as written: no such path exists here, and the run reports it missing under
// the name the user wrote. "\\" or "//" at the start marks a network path.
//
// Pure text work except EnsureFolder; nothing here throws.
namespace slidesmith::files {

// True for "\\", "//", "\/" or "/\" at the start (a network share).
bool IsNetworkPath(std::string_view path);

// True when the second character is ":" (a Windows drive letter).
bool HasDriveLetter(std::string_view path);

// "\" turned into "/", except in names with a drive letter, which stay as written.
std::string ToSlashes(std::string_view path);

// The absolute, normalised path of a name relative to a base folder, as the run resolves
// template, report and log names: parameter-free names in, "/"-separated path out. "." and ".."
// are resolved lexically (a ".." above the root stays at the root). Absolute names are only
// normalised; names with a drive letter are returned as written.
std::string MakeAbsolute(std::string_view baseFolder, std::string_view name);

// The resolution used when the definition lies on a network share: a name with a drive letter,
// a network name or one starting with a separator is returned as written; otherwise the name's
// folder parts are walked from the base ("." skipped, ".." drops the base's last part) and the
// file name appended; "/"-separated like MakeAbsolute. Empty when ".." climbs above the share (the
// base gets shorter than two characters).
std::string ResolveRelativePath(std::string_view baseFolder, std::string_view name);

// Creates every missing level of an absolute folder path. Names with a drive letter and relative
// names are left alone (they would otherwise be created below the current folder). Always
// reports success: a folder that could not be made shows up when the file inside it cannot be
// created, with the system's reason.
bool EnsureFolder(std::string_view folder);

// The file name without its folder and without its last extension: "C:\a\Sales.v2.slm" gives
// "Sales.v2".
std::string BaseName(std::string_view path);

// The folder part of a path without the trailing separator ("" when there is none); "/" for a
// file in the root.
std::string ParentFolder(std::string_view path);

// The extension of the file name, from its last "." on ("" when none), for comparing the
// requested and the written name of a report.
std::string Extension(std::string_view path);

} // namespace slidesmith::files
