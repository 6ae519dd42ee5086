// Rules that keep the uninstaller's deletions inside the product's directory.
// Pure text checks; the names they judge come from the registry and from the
// uninstall manifest, which are input and may be damaged.
#pragma once

#include <string>
#include <vector>

namespace kalvex {

// True for "X:\..." and "\\server\share\..." directories ending in a
// backslash whose components are all real names: no ".", "..", or names of
// dots and spaces only (which Windows trims to "" or ".."), no control
// characters. Device paths ("\\?\", "\\.\") and relative forms are refused.
bool IsAbsoluteDirectory(const std::wstring& directory);

// True when `name`, appended to a directory, names something strictly inside
// it: not empty, not absolute or drive-relative, no ":" (drive or alternate
// data stream), no control character, and no component of dots and spaces
// only. Both "\" and "/" count as separators, as they do for Windows.
bool IsContainedRelativePath(const std::wstring& name);

// True when deleting `path` as a tree could take more than one item of the
// product's with it: not an absolute file path in the sense above, a wildcard
// ("*", "?"), a drive or share root, or a folder that equals or contains one of
// `protectedFolders` (compared without letter case and trailing backslashes).
bool IsUnsafeDeletionTarget(const std::wstring& path, const std::vector<std::wstring>& protectedFolders);

}  // namespace kalvex
