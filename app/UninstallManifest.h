// Removal of everything the uninstall manifest lists. The manifest is a JSON
// array of objects whose "name" is a path relative to the install directory;
// entries are deleted in manifest order (files by the shell, directories by a
// plain walk that falls back to the shell), and never outside the install
// directory.
#pragma once

#include <atomic>
#include <string>

namespace kalvex {

struct ManifestRemoval {
    bool parsed = false;  // the text was a JSON array
    int attempted = 0;    // entries handed to the shell for deletion
    int failed = 0;       // of those, deletions the shell reported as failed
    int skipped = 0;      // entries refused because they would leave the directory
};

// Deletes, in order, each entry that `manifestText` lists under
// `installDirectory` (which must be absolute and end in a backslash, or
// nothing is deleted). The list ends at the first element that is not an
// object or whose "name" is missing or empty. Entries that are unsafe, that do
// not decode as UTF-8, or whose joined path would not fit the path buffer are
// skipped and the loop goes on. A UTF-8 byte-order mark is ignored. When
// `stop` is given and becomes true, the loop ends before the next entry.
ManifestRemoval RemoveManifestEntries(const std::wstring& installDirectory, const std::string& manifestText,
                                      const std::atomic<bool>* stop = nullptr);

// The uninstall worker's first step: reads the install directory from the
// product's uninstall key and the manifest copy "%TEMP%\kalvex.dat", and
// removes its entries. The manifest copy itself stays. Always true; `stop`
// as for RemoveManifestEntries.
bool RemoveManifestFiles(const std::atomic<bool>* stop = nullptr);

}  // namespace kalvex
