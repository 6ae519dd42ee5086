// CFrameCache: GDI+ draws straight into the DIB's memory through a bitmap
// over it in premultiplied ARGB, the layout AlphaBlend expects.
#include "ui/controls/FrameCache.h"

#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace gp = Gdiplus::DllExports;

bool CFrameCache::Draw(HDC dc, const RECT& place, const RECT& paint, unsigned key, const Renderer& render)
{
    return Prepare(key, place.right - place.left, place.bottom - place.top, render) != nullptr &&
           DrawKept(dc, place, paint, key);
}

bool CFrameCache::DrawKept(HDC dc, const RECT& place, const RECT& paint, unsigned key) const
{
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const auto found = m_pictures.find(key);
    if (found == m_pictures.end() || width != m_size.cx || height != m_size.cy)
        return false;
    CRenderKit::BlitNineGrid(dc, found->second, place, paint, RECT{0, 0, width, height}, RECT{}, 255, UININE_ALPHA);
    return true;
}

HBITMAP CFrameCache::Prepare(unsigned key, int width, int height, const Renderer& render)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    if (width != m_size.cx || height != m_size.cy)
    {
        Clear();
        m_size = {width, height};
    }
    const auto found = m_pictures.find(key);
    if (found != m_pictures.end())
        return found->second;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (m_bytes + bytes > kMaxBytes)
        Clear();
    HBITMAP picture = Render(width, height, render);
    if (picture == nullptr)
        return nullptr;
    m_pictures.emplace(key, picture);
    m_bytes += bytes;
    return picture;
}

void CFrameCache::Clear()
{
    for (const auto& picture : m_pictures)
        DeleteObject(picture.second);
    m_pictures.clear();
    m_bytes = 0;
}

void CFrameCache::Forget(unsigned key)
{
    const auto found = m_pictures.find(key);
    if (found == m_pictures.end())
        return;
    DeleteObject(found->second);
    m_pictures.erase(found);
    m_bytes -= static_cast<size_t>(m_size.cx) * static_cast<size_t>(m_size.cy) * 4;
}

HBITMAP CFrameCache::Render(int width, int height, const Renderer& render)
{
    BYTE* pixels = nullptr;
    HBITMAP picture = CRenderKit::CreateDib32(width, height, pixels);
    if (picture == nullptr)
        return nullptr;
    // A new DIB section is all zeros: fully transparent, as render expects.
    Gdiplus::GpBitmap* target = nullptr;
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB, pixels, &target) ==
            Gdiplus::Ok &&
        target != nullptr)
        gp::GdipGetImageGraphicsContext(target, &graphics);
    if (graphics == nullptr)
    {
        if (target != nullptr)
            gp::GdipDisposeImage(target);
        DeleteObject(picture);
        return nullptr;
    }
    render(graphics);
    gp::GdipDeleteGraphics(graphics);
    gp::GdipDisposeImage(target);
    GdiFlush();
    return picture;
}

}  // namespace DuiLib
