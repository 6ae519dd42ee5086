// Removal of everything the uninstall manifest lists. The manifest is a JSON
// array of objects whose "name" is a path relative to the install directory;
// entries are deleted in manifest order (runs of plain files two at a time)
// by a walk that never follows a link and never deletes what resolves
// outside the install directory.
#pragma once

#include <atomic>
#include <string>

namespace kalvex {

struct ManifestRemoval {
    bool parsed = false;        // the text was a JSON array
    bool notProductFolder = false;  // the directory is a root or a system folder: nothing was deleted
    bool stopped = false;       // the stop flag ended the removal
    int attempted = 0;          // entries the removal was tried on
    int failed = 0;             // of those, entries that stay in whole or in part
    int deferred = 0;           // of those, entries in use, deleted at the next restart
    int skipped = 0;            // entries refused because they would leave the directory
};

// Deletes, in order, each entry that `manifestText` lists under
// `installDirectory` (which must be absolute and end in a backslash, or
// nothing is deleted). The list ends at the first element that is not an
// object or whose "name" is missing or empty. Entries that are unsafe, that do
// not decode as UTF-8, or whose joined path would not fit the path buffer are
// skipped and the loop goes on. A UTF-8 byte-order mark is ignored. When
// `stop` is given and becomes true, the removal ends at the next item, also
// inside a directory tree. An install directory that is a drive or share
// root, a shell folder such as Windows or Program Files, or an ancestor of
// one deletes nothing (and says so in the log).
ManifestRemoval RemoveManifestEntries(const std::wstring& installDirectory, const std::string& manifestText,
                                      const std::atomic<bool>* stop = nullptr);

// The uninstall worker's first step: reads the install directory from the
// product's uninstall key and the manifest copy "%TEMP%\kalvex.dat", and
// removes its entries. The manifest copy itself stays. Always true; `stop`
// as for RemoveManifestEntries.
bool RemoveManifestFiles(const std::atomic<bool>* stop = nullptr);

}  // namespace kalvex
