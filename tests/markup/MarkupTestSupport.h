// Helpers of the markup tests: the sample skins beside the test program and a
// one-line summary of a load, so that each case is a single table row.
#pragma once

#include "ui/markup/XmlDocument.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace DuiLib {
namespace test {

// The data folder beside the test program, ending with a backslash.
inline std::wstring DataFolder()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    return path.erase(path.find_last_of(L"\\/") + 1) + L"data\\";
}

// The bytes of data/<name> beside the test program; empty when unreadable.
inline std::vector<unsigned char> ReadSample(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path);
    std::ifstream file(full.erase(full.find_last_of("\\/") + 1) + "data\\" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Writes bytes to path, replacing the file; false when it cannot.
inline bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                nullptr) &&
                                      written == bytes.size());
    CloseHandle(file);
    return ok;
}

// Node and its following siblings as Name(attr="value",...){children}.
inline std::wstring Dump(const CXmlNode& first)
{
    std::wstring out;
    for (CXmlNode node = first; node.IsValid(); node = node.GetSibling()) {
        out += (out.empty() ? L"" : L";") + std::wstring(node.GetName()) + L'(';
        for (int i = 0; i < node.GetAttributeCount(); ++i)
            out += (i > 0 ? L"," : L"") + std::wstring(node.GetAttributeName(i)) + L"=\"" +
                   node.GetAttributeValue(i) + L'"';
        out += node.HasChildren() ? L"){" + Dump(node.GetChild()) + L'}' : L")";
    }
    return out;
}

// The tree ("<empty>" without a root) after a successful load, else
// "message @location"; flags a message after success or a document left
// behind by a failure.
inline std::wstring Summary(const CXmlDocument& document, bool loaded)
{
    const std::wstring message = document.GetLastErrorMessage();
    if (!loaded)
        return message + L" @" + document.GetLastErrorLocation() + (document.IsValid() ? L" (kept)" : L"");
    const std::wstring tree = document.GetRoot().IsValid() ? Dump(document.GetRoot()) : L"<empty>";
    return message.empty() && document.IsValid() ? tree : L"loaded with " + message;
}

inline std::wstring LoadSummary(const wchar_t* text)
{
    CXmlDocument document;
    const bool loaded = document.Load(text);
    return Summary(document, loaded);
}

inline std::wstring LoadSummary(const std::vector<unsigned char>& bytes, XmlEncoding encoding)
{
    CXmlDocument document;
    const bool loaded = document.LoadFromBytes(bytes.data(), static_cast<unsigned>(bytes.size()), encoding);
    return Summary(document, loaded);
}

}  // namespace test
}  // namespace DuiLib
