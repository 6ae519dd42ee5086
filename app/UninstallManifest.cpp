#include "app/UninstallManifest.h"

#include "app/ContainedRemover.h"
#include "app/FileHelpers.h"
#include "app/InstallLocation.h"
#include "app/PathRules.h"
#include "app/ProductCleanup.h"
#include "app/ProductNames.h"
#include "app/StringHelpers.h"
#include "app/WriteLogFile.h"

#include <json/json.h>
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <vector>

namespace kalvex {
namespace {

bool ParseManifest(const std::string& text, Json::Value& root)
{
    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    std::string errors;
    try {
        const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        return reader->parse(text.data(), text.data() + text.size(), &root, &errors);
    } catch (const std::exception&) {
        // The reader throws when nesting passes its stack limit.
        return false;
    }
}

// The last word on the text: what Windows itself makes of the joined path
// must still lie strictly below the install directory's full path `base`.
// The part below it, or "" when it does not.
std::wstring RelativeInside(const std::wstring& base, const std::wstring& joined)
{
    const std::wstring target = FullPathOf(joined);
    if (base.empty() || target.size() <= base.size() ||
        !SamePathText(base, target.substr(0, base.size())))
        return std::wstring();
    return target.substr(base.size());
}

void Trace(const wchar_t* what, const std::wstring& name)
{
    OutputDebugStringW((std::wstring(what) + name + L"\n").c_str());
}

}  // namespace

ManifestRemoval RemoveManifestEntries(const std::wstring& installDirectory, const std::string& manifestText,
                                      const std::atomic<bool>* stop)
{
    ManifestRemoval result;
    if (!IsAbsoluteDirectory(installDirectory) || installDirectory.size() >= kPathChars) {
        Trace(L"manifest: no usable install directory: ", installDirectory);
        return result;
    }

    std::string text = manifestText;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    Json::Value root;
    if (!ParseManifest(text, root) || !root.isArray()) {
        Trace(L"manifest: not a JSON array", std::wstring());
        return result;
    }
    result.parsed = true;

    // The classic way an uninstaller wipes a disk: a damaged registry value
    // that makes a root or a system folder the "install directory".
    CContainedRemover remover(installDirectory, stop);
    const std::vector<std::wstring> protectedFolders = ProtectedShellFolders();
    const std::wstring resolved = remover.ResolvedRoot();
    if (IsUnsafeDeletionTarget(installDirectory, protectedFolders) ||
        (!resolved.empty() && IsUnsafeDeletionTarget(resolved, protectedFolders))) {
        result.notProductFolder = true;
        ProcessLog().Write(0, L"removal: %ls is a drive or share root or a system folder; nothing is deleted",
                           installDirectory.c_str());
        return result;
    }

    // The entries are read to the end of the list first, so that the
    // remover can give runs of plain files to two threads.
    const std::wstring base = FullPathOf(installDirectory);
    std::vector<std::wstring> relatives;
    for (Json::ArrayIndex i = 0; i < root.size(); ++i) {
        const Json::Value& element = root[i];
        if (!element.isObject())
            break;
        const Json::Value& nameValue = element["name"];
        if (nameValue.isArray() || nameValue.isObject())
            break;
        const std::string name = nameValue.asString();
        if (name.empty())
            break;

        const std::wstring wideName = Utf8ToWide(name);
        const std::wstring joined = installDirectory + wideName;
        std::wstring relative =
            IsContainedRelativePath(wideName) && joined.size() < kPathChars ? RelativeInside(base, joined) : L"";
        if (relative.empty()) {
            ++result.skipped;
            Trace(L"manifest: unsafe entry skipped at index ", std::to_wstring(i));
            continue;
        }
        relatives.push_back(std::move(relative));
    }

    bool removedAny = false;
    for (const std::optional<RemovalOutcome>& outcome : remover.RemoveEach(relatives)) {
        if (!outcome) {
            result.stopped = true;
            continue;
        }
        ++result.attempted;
        result.stopped = result.stopped || *outcome == RemovalOutcome::Stopped;
        if (*outcome == RemovalOutcome::Deferred)
            ++result.deferred;
        if (*outcome == RemovalOutcome::Unfinished || *outcome == RemovalOutcome::Stopped)
            ++result.failed;
        removedAny = removedAny || *outcome == RemovalOutcome::Removed;
    }
    // One notice for the folder instead of one per item: the shell's views
    // re-read it once.
    if (removedAny)
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, installDirectory.c_str(), nullptr);
    return result;
}

bool RemoveManifestFiles(const std::atomic<bool>* stop)
{
    const std::wstring installDirectory = ReadInstallDirectory();
    const std::wstring manifestPath = ReadTempDirectory() + kManifestTempName;
    RemoveManifestEntries(installDirectory, ReadWholeFile(manifestPath.c_str()), stop);
    return true;
}

}  // namespace kalvex
