// CGdiplusPicture: the bytes come from the image loader's fetch order; the
// memory block belongs to the stream (freed when the stream is released).
#include "ui/controls/GdiplusPicture.h"

#include <cstring>

#include "ui/markup/SkinLocation.h"
#include "ui/render/ImageSource.h"

namespace DuiLib {

namespace gp = Gdiplus::DllExports;

namespace {

// A stream over a new movable copy of bytes; null when memory or the stream
// cannot be had (the block is freed then).
IStream* StreamOverCopy(const BYTE* bytes, unsigned size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        return nullptr;
    void* target = GlobalLock(block);
    if (target == nullptr)
    {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || stream == nullptr)
    {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

}  // namespace

bool CGdiplusPicture::Load(const wchar_t* name)
{
    Release();
    if (name == nullptr || name[0] == L'\0')
        return false;
    BYTE* bytes = nullptr;
    unsigned size = 0;
    if (!FetchImageBytes(SkinLocation::Current(), name, nullptr, bytes, size))
        return false;
    m_stream = StreamOverCopy(bytes, size);
    delete[] bytes;
    if (m_stream == nullptr)
        return false;
    if (gp::GdipLoadImageFromStream(m_stream, &m_image) != Gdiplus::Ok || m_image == nullptr)
    {
        m_image = nullptr;
        Release();
        return false;
    }
    return true;
}

void CGdiplusPicture::Release()
{
    if (m_image != nullptr)
        gp::GdipDisposeImage(m_image);
    m_image = nullptr;
    if (m_stream != nullptr)
        m_stream->Release();
    m_stream = nullptr;
}

int CGdiplusPicture::Width() const
{
    UINT width = 0;
    if (m_image != nullptr)
        gp::GdipGetImageWidth(m_image, &width);
    return static_cast<int>(width);
}

int CGdiplusPicture::Height() const
{
    UINT height = 0;
    if (m_image != nullptr)
        gp::GdipGetImageHeight(m_image, &height);
    return static_cast<int>(height);
}

}  // namespace DuiLib
