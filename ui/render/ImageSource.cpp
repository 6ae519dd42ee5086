// ImageSource: the image fetch order over SkinLocation's reads. Images have
// no size limit of their own and report nothing: every failure is simply no
// bytes, and the next place is tried.
#include "ui/render/ImageSource.h"

#include <climits>
#include <cwchar>

namespace DuiLib {

namespace {

// The decoder measures its input with an int.
constexpr unsigned kMaxImageBytes = INT_MAX;

}  // namespace

const wchar_t* ImageSourceName(const wchar_t* name, const wchar_t* type)
{
    const bool resourceType = type != nullptr && type[0] != L'\0' && std::wcscmp(type, kColorImageType) != 0;
    if (resourceType && name != nullptr && name[0] >= L'0' && name[0] <= L'9')
        return MAKEINTRESOURCEW(static_cast<WORD>(std::wcstol(name, nullptr, 10)));
    return name;
}

bool FetchImageBytes(const SkinLocation& location, const wchar_t* name, const wchar_t* type, BYTE*& bytes,
                     unsigned& size)
{
    bytes = nullptr;
    size = 0;
    if (name == nullptr)
        return false;
    const bool hasType = type != nullptr && type[0] != L'\0';
    if (hasType && std::wcscmp(type, kColorImageType) == 0)
        return false;

    // An integer resource id is a small number dressed as a pointer: it names
    // nothing outside the module's resources and must never be read as text.
    const bool textName = !IS_INTRESOURCE(name);
    SkinReadStatus status = SkinReadStatus::OpenFailed;
    if (hasType)
        status = location.ReadResource(name, type, bytes, size);
    else if (textName)
        status = location.ReadSkinFile(name, kMaxImageBytes, bytes, size);

    if (status != SkinReadStatus::Ok && textName)
        status = ReadFileBytes(name, kMaxImageBytes, bytes, size);
    return status == SkinReadStatus::Ok;
}

}  // namespace DuiLib
