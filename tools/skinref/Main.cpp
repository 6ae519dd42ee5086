// skinref: writes the skin reference (--write FILE) or checks that FILE is
// what it would write (--check FILE), for the build's reference target and
// its test. Exit code 0 on success, 1 when the file differs or cannot be
// written, 2 on a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tools/skinref/SkinReferenceWriter.h"

namespace {

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

// The whole file, or false when it cannot be read.
bool ReadFile(const wchar_t* path, std::string& bytes)
{
    FILE* file = _wfopen(path, L"rb");
    if (file == nullptr)
        return false;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool WriteFile(const wchar_t* path, const std::string& bytes)
{
    FILE* file = _wfopen(path, L"wb");
    if (file == nullptr)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// The first line where the texts part, from 1.
int FirstDifferentLine(const std::string& a, const std::string& b)
{
    int line = 1;
    for (size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i)
        line += a[i] == '\n' ? 1 : 0;
    return line;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 || (std::wcscmp(argv[1], L"--write") != 0 && std::wcscmp(argv[1], L"--check") != 0))
    {
        std::fwprintf(stderr, L"usage: skinref --write FILE | --check FILE\n");
        return 2;
    }
    const std::string reference = ToUtf8(DuiLib::WriteSkinReference());
    if (std::wcscmp(argv[1], L"--write") == 0)
    {
        if (WriteFile(argv[2], reference))
            return 0;
        std::fwprintf(stderr, L"skinref: cannot write %ls\n", argv[2]);
        return 1;
    }
    std::string current;
    if (!ReadFile(argv[2], current))
    {
        std::fwprintf(stderr, L"skinref: cannot read %ls\n", argv[2]);
        return 1;
    }
    if (current == reference)
        return 0;
    std::fwprintf(stderr,
                  L"skinref: %ls is out of date from line %d; build the skin_reference target and commit the "
                  L"result\n",
                  argv[2], FirstDifferentLine(current, reference));
    return 1;
}
