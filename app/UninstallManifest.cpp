#include "app/UninstallManifest.h"

#include "app/FileHelpers.h"
#include "app/InstallLocation.h"
#include "app/PathRules.h"
#include "app/ProductNames.h"
#include "app/StringHelpers.h"

#include <json/json.h>
#include <windows.h>
#include <shlobj.h>

#include <memory>
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

std::wstring FullPath(const std::wstring& path)
{
    std::vector<wchar_t> buffer(kPathChars, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), kPathChars, buffer.data(), nullptr);
    if (length == 0 || length >= kPathChars)
        return std::wstring();
    return std::wstring(buffer.data(), length);
}

// The last word on containment: what Windows itself makes of the joined path
// must still lie strictly below the install directory.
bool ResolvesInside(const std::wstring& directory, const std::wstring& joined)
{
    const std::wstring base = FullPath(directory);
    const std::wstring target = FullPath(joined);
    if (base.empty() || target.size() <= base.size())
        return false;
    return CompareStringOrdinal(base.c_str(), static_cast<int>(base.size()), target.c_str(),
                                static_cast<int>(base.size()), TRUE) == CSTR_EQUAL;
}

// Deletes one entry. A plain directory goes by a plain walk and one change
// notification for the shell: the shell's own deletion announces every file it
// removes, which makes a tree of many small files several times slower than
// the walk. Files, links, and trees the walk could not finish go through the
// shell deletion, as before. True when the entry is gone.
bool RemoveEntry(const std::wstring& path)
{
    const std::wstring full = FullPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    const bool plainDirectory = attributes != INVALID_FILE_ATTRIBUTES &&
                                (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                                (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (plainDirectory && RemoveDirectoryTree(full)) {
        SHChangeNotify(SHCNE_RMDIR, SHCNF_PATHW, full.c_str(), nullptr);
        return true;
    }
    return ShellDelete(path) == 0;
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

    for (Json::ArrayIndex i = 0; i < root.size(); ++i) {
        if (stop != nullptr && stop->load())
            break;
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
        if (!IsContainedRelativePath(wideName) || joined.size() >= kPathChars ||
            !ResolvesInside(installDirectory, joined)) {
            ++result.skipped;
            Trace(L"manifest: unsafe entry skipped at index ", std::to_wstring(i));
            continue;
        }
        ++result.attempted;
        if (!RemoveEntry(joined))
            ++result.failed;
    }
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
