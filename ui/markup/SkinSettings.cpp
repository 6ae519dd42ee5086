// CSkinSettings: the process-wide skin settings and the installing of the
// in-memory skin archive. Reading bytes from them is SkinLocation's.
#include "ui/markup/SkinSettings.h"

#include <cstring>

#include "ui/markup/SkinArchive.h"

namespace DuiLib {

namespace {

constexpr int kMaxPasswordBytes = 64;
constexpr const wchar_t* kMemoryZipName = L"membuffer";

HINSTANCE s_instance = nullptr;
HINSTANCE s_resourceModule = nullptr;
CUIString s_skinFolder;
CUIString s_skinZipName;
bool s_keepSkinZipOpen = true;
CSkinArchive* s_skinZip = nullptr;
char s_skinZipPassword[kMaxPasswordBytes + 1] = {};

}  // namespace

void CSkinSettings::SetModuleInstance(HINSTANCE instance)
{
    s_instance = instance;
}

HINSTANCE CSkinSettings::GetModuleInstance()
{
    return s_instance;
}

HINSTANCE CSkinSettings::GetResourceModule()
{
    return s_resourceModule != nullptr ? s_resourceModule : s_instance;
}

const CUIString& CSkinSettings::GetSkinFolder()
{
    return s_skinFolder;
}

void CSkinSettings::SetSkinFolder(const wchar_t* folder)
{
    s_skinFolder = folder;
    const int length = s_skinFolder.GetLength();
    if (length > 0 && s_skinFolder[length - 1] != L'\\' && s_skinFolder[length - 1] != L'/')
        s_skinFolder += L"\\";
}

const CUIString& CSkinSettings::GetSkinZipName()
{
    return s_skinZipName;
}

bool CSkinSettings::IsSkinZipKeptOpen()
{
    return s_keepSkinZipOpen;
}

CSkinArchive* CSkinSettings::GetSkinZipHandle()
{
    return s_skinZip;
}

const char* CSkinSettings::GetSkinZipPassword()
{
    return s_skinZipPassword[0] != '\0' ? s_skinZipPassword : nullptr;
}

void CSkinSettings::SetSkinZipFromMemory(const void* buffer, unsigned length, const char* password)
{
    std::memset(s_skinZipPassword, 0, sizeof(s_skinZipPassword));
    if (password != nullptr)
    {
        size_t bytes = std::strlen(password);
        if (bytes > kMaxPasswordBytes)
            bytes = kMaxPasswordBytes;
        std::memcpy(s_skinZipPassword, password, bytes);
    }

    // The first archive stays for the life of the process: readers may hold
    // entries found through it.
    if (s_skinZipName == kMemoryZipName)
        return;
    if (s_keepSkinZipOpen && s_skinZip != nullptr)
    {
        delete s_skinZip;
        s_skinZip = nullptr;
    }
    s_skinZipName = kMemoryZipName;
    if (s_keepSkinZipOpen)
        s_skinZip = CSkinArchive::OpenFromMemory(buffer, length, GetSkinZipPassword());
}

}  // namespace DuiLib
