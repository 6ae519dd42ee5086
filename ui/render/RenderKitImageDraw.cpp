// CRenderKit image drawing: a spec's one-time load and its destination
// rectangle, the nine-grid blit (blended or copied, stretched or tiled) and
// the software blend used when msimg32 lacks AlphaBlend.
// Invariant: the memory device context selects the bitmap only for the blit.
#include "ui/render/RenderKit.h"

#include <algorithm>

#include "ui/render/RenderHost.h"

namespace DuiLib {

namespace {

AlphaBlendProc s_alphaBlend = nullptr;
GradientFillProc s_gradientFill = nullptr;
bool s_entriesResolved = false;

// GetProcAddress answers a generic function pointer; the detour through the
// type that matches every function keeps the cast warning-free.
template <typename Proc>
Proc CastProc(FARPROC proc)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc));
}

void ResolveEntries()
{
    if (s_entriesResolved)
        return;
    s_entriesResolved = true;
    // Loaded, never freed: the entry points are kept for the process.
    HMODULE library = LoadLibraryW(L"msimg32.dll");
    if (library == nullptr)
        return;
    s_alphaBlend = CastProc<AlphaBlendProc>(GetProcAddress(library, "AlphaBlend"));
    s_gradientFill = CastProc<GradientFillProc>(GetProcAddress(library, "GradientFill"));
}

// The memory device context the nine-grid blit selects its bitmap into: one
// per painting thread, kept for the thread's life, since making one costs
// more than blending a small picture and a paint blits many.
class CBlitSourceDc
{
public:
    CBlitSourceDc() = default;
    CBlitSourceDc(const CBlitSourceDc&) = delete;
    CBlitSourceDc& operator=(const CBlitSourceDc&) = delete;
    ~CBlitSourceDc()
    {
        if (m_dc != nullptr)
            DeleteDC(m_dc);
    }
    // Null when the platform refuses one (tried again on the next call).
    HDC Get()
    {
        if (m_dc == nullptr)
            m_dc = CreateCompatibleDC(nullptr);
        return m_dc;
    }

private:
    HDC m_dc = nullptr;
};

thread_local CBlitSourceDc t_blitSource;

bool Touches(const RECT& piece, const RECT& paint)
{
    RECT overlap;
    return IntersectRect(&overlap, &piece, &paint) != FALSE;
}

// The tiles of one axis that can show: index range [first, last] of the
// count tiles of size step from origin, cut to what the clip box [clipLow,
// clipHigh) lets through. GDI discards everything outside the clip box, so
// skipping those tiles changes no pixel and bounds the loop by the surface.
void VisibleTiles(long long origin, long long step, long long count, long long clipLow, long long clipHigh,
                  long long& first, long long& last)
{
    first = std::max(0LL, (clipLow - origin) / step);
    last = std::min(count - 1, (clipHigh - 1 - origin) / step);
}

// Draws the pieces of one BlitNineGrid call: blended through AlphaBlend (or
// its stand-in) with one constant alpha, or copied with raster operations.
class CNineGridPainter
{
public:
    CNineGridPainter(HDC dc, HDC memory, AlphaBlendProc blend, bool blended, BYTE fade)
        : m_dc(dc), m_memory(memory), m_blend(blend), m_blended(blended)
    {
        m_function.BlendOp = AC_SRC_OVER;
        m_function.BlendFlags = 0;
        m_function.SourceConstantAlpha = fade;
        m_function.AlphaFormat = AC_SRC_ALPHA;
    }

    // Stretches the source piece onto the destination piece.
    void Stretch(int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                 int sourceHeight) const
    {
        if (m_blended)
            m_blend(m_dc, x, y, width, height, m_memory, sourceX, sourceY, sourceWidth, sourceHeight, m_function);
        else
            StretchBlt(m_dc, x, y, width, height, m_memory, sourceX, sourceY, sourceWidth, sourceHeight, SRCCOPY);
    }

    // Copies an unscaled piece of the source.
    void Copy(int x, int y, int width, int height, int sourceX, int sourceY) const
    {
        if (m_blended)
            m_blend(m_dc, x, y, width, height, m_memory, sourceX, sourceY, width, height, m_function);
        else
            BitBlt(m_dc, x, y, width, height, m_memory, sourceX, sourceY, SRCCOPY);
    }

    void TiledMiddle(const RECT& middle, int sourceX, int sourceY, int tileWidth, int tileHeight, bool xTiled,
                     bool yTiled) const;

private:
    HDC m_dc;
    HDC m_memory;
    AlphaBlendProc m_blend;
    bool m_blended;
    BLENDFUNCTION m_function;
};

void CNineGridPainter::TiledMiddle(const RECT& middle, int sourceX, int sourceY, int tileWidth, int tileHeight,
                                   bool xTiled, bool yTiled) const
{
    // A source middle of no width or height has nothing to repeat; it would
    // also make the tile count a division by zero.
    if ((xTiled && tileWidth <= 0) || (yTiled && tileHeight <= 0))
        return;
    RECT clip = middle;
    if (GetClipBox(m_dc, &clip) == ERROR)
        clip = middle;

    const long long width = middle.right - middle.left;
    const long long height = middle.bottom - middle.top;
    long long firstColumn = 0;
    long long lastColumn = 0;
    long long firstRow = 0;
    long long lastRow = 0;
    if (xTiled)
        VisibleTiles(middle.left, tileWidth, (width + tileWidth - 1) / tileWidth, clip.left, clip.right, firstColumn,
                     lastColumn);
    if (yTiled)
        VisibleTiles(middle.top, tileHeight, (height + tileHeight - 1) / tileHeight, clip.top, clip.bottom, firstRow,
                     lastRow);

    for (long long row = firstRow; row <= lastRow; ++row)
    {
        // Without y tiling there is one row spanning the middle's height.
        const int top = yTiled ? static_cast<int>(middle.top + tileHeight * row) : middle.top;
        const int rowHeight = yTiled ? std::min<int>(tileHeight, middle.bottom - top) : static_cast<int>(height);
        for (long long column = firstColumn; column <= lastColumn; ++column)
        {
            const int left = xTiled ? static_cast<int>(middle.left + tileWidth * column) : middle.left;
            const int columnWidth = xTiled ? std::min<int>(tileWidth, middle.right - left) : static_cast<int>(width);
            // A cut tile shrinks its source by the same overhang: partial
            // tiles are never stretched along a tiled axis.
            if (xTiled && yTiled)
                Copy(left, top, columnWidth, rowHeight, sourceX, sourceY);
            else if (xTiled)
                Stretch(left, top, columnWidth, rowHeight, sourceX, sourceY, columnWidth, tileHeight);
            else
                Stretch(left, top, columnWidth, rowHeight, sourceX, sourceY, tileWidth, rowHeight);
        }
    }
}

}  // namespace

AlphaBlendProc CRenderKit::AlphaBlendEntry()
{
    ResolveEntries();
    return s_alphaBlend != nullptr ? s_alphaBlend : &CRenderKit::BlendFallback;
}

GradientFillProc CRenderKit::GradientFillEntry()
{
    ResolveEntries();
    return s_gradientFill;
}

// ---- Specs -------------------------------------------------------------------

bool CRenderKit::PaintImageSpec(HDC dc, IRenderHost* manager, const RECT& control, const RECT& paint,
                                ImageDrawSpec& spec)
{
    if (manager == nullptr)
        return true;
    if (spec.image == nullptr)
    {
        // One attempt per string: a failed load is not retried on every paint.
        if (spec.loaded)
            return false;
        spec.loaded = true;
        if (spec.drawString.IsEmpty())
            return false;
        ImageRequest request;
        ParseImageDescription(spec.drawString.GetData(), request, spec);
        spec.imageName = request.name;
        // The cache is keyed by name alone: an image already cached under it
        // is shared whatever type, mask or hsl flag this spec asks for.
        ImageEntry* image = manager->GetOrAddImage(
            request.name.GetData(), request.useResType ? request.resType.GetData() : nullptr, request.mask, request.hsl);
        if (image == nullptr)
            return false;
        spec.image = image;
        const RECT& part = spec.sourcePart;
        if (part.left == 0 && part.top == 0 && part.right == 0 && part.bottom == 0)
            spec.sourcePart = CUIRect(0, 0, image->width, image->height);
    }

    // Only the far edges are held to the image; left and top stay as written.
    if (spec.sourcePart.right > spec.image->width)
        spec.sourcePart.right = spec.image->width;
    if (spec.sourcePart.bottom > spec.image->height)
        spec.sourcePart.bottom = spec.image->height;
    if (dc == nullptr)
        return true;

    // Right and bottom of the offset are positions from the control's left
    // and top, not widths or distances from its far edges.
    RECT dest = control;
    const RECT& offset = spec.destOffset;
    if (offset.left != 0 || offset.top != 0 || offset.right != 0 || offset.bottom != 0)
    {
        dest.left = control.left + offset.left;
        dest.top = control.top + offset.top;
        dest.right = std::min(control.left + offset.right, control.right);
        dest.bottom = std::min(control.top + offset.bottom, control.bottom);
    }
    if (!Touches(dest, control) || !Touches(dest, paint))
        return true;

    UINT flags = spec.image->hasAlpha ? UININE_ALPHA : UININE_PLAIN;
    if (spec.hole)
        flags |= UININE_HOLE;
    if (spec.xTiled)
        flags |= UININE_XTILED;
    if (spec.yTiled)
        flags |= UININE_YTILED;
    BlitNineGrid(dc, spec.image->bitmap, dest, paint, spec.sourcePart, spec.corners, spec.fade, flags);
    return true;
}

// ---- Nine-grid -----------------------------------------------------------------

void CRenderKit::BlitNineGrid(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                              const RECT& corners, BYTE fade, UINT flags)
{
    if (dc == nullptr || bitmap == nullptr)
        return;
    const AlphaBlendProc blend = AlphaBlendEntry();
    HDC memory = t_blitSource.Get();
    if (memory == nullptr)
        return;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);

    const bool blended = (flags & UININE_ALPHA) != 0 || fade != 255;
    const CNineGridPainter painter(dc, memory, blend, blended, fade);
    const RECT& s = source;
    const RECT& k = corners;
    const int destWidth = dest.right - dest.left;
    const int destHeight = dest.bottom - dest.top;
    const int sourceWidth = s.right - s.left;
    const int sourceHeight = s.bottom - s.top;

    if (!blended && destWidth == sourceWidth && destHeight == sourceHeight && k.left == 0 && k.top == 0 &&
        k.right == 0 && k.bottom == 0)
    {
        // Same size, no borders: copy just the part that needs painting.
        RECT shown;
        if (IntersectRect(&shown, &dest, &paint))
            painter.Copy(shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
                         s.left + shown.left - dest.left, s.top + shown.top - dest.top);
    }
    else
    {
        const int middleSourceWidth = sourceWidth - k.left - k.right;
        const int middleSourceHeight = sourceHeight - k.top - k.bottom;
        const RECT middle = {dest.left + k.left, dest.top + k.top, dest.right - k.right, dest.bottom - k.bottom};
        const int middleWidth = middle.right - middle.left;
        const int middleHeight = middle.bottom - middle.top;
        const bool xTiled = (flags & UININE_XTILED) != 0;
        const bool yTiled = (flags & UININE_YTILED) != 0;

        if ((flags & UININE_HOLE) == 0 && Touches(middle, paint))
        {
            if (xTiled || yTiled)
                painter.TiledMiddle(middle, s.left + k.left, s.top + k.top, middleSourceWidth, middleSourceHeight,
                                    xTiled, yTiled);
            else
                painter.Stretch(middle.left, middle.top, middleWidth, middleHeight, s.left + k.left, s.top + k.top,
                                middleSourceWidth, middleSourceHeight);
        }

        // The eight borders, corners unscaled, edges stretched along their
        // length only; each is skipped when it has no width or misses paint.
        struct Piece
        {
            bool present;
            RECT to;
            int sourceX;
            int sourceY;
            int sourceWidth;
            int sourceHeight;
        };
        const Piece pieces[] = {
            {k.left > 0 && k.top > 0, {dest.left, dest.top, dest.left + k.left, dest.top + k.top},
             s.left, s.top, k.left, k.top},
            {k.top > 0, {middle.left, dest.top, middle.right, dest.top + k.top},
             s.left + k.left, s.top, middleSourceWidth, k.top},
            {k.right > 0 && k.top > 0, {middle.right, dest.top, dest.right, dest.top + k.top},
             s.right - k.right, s.top, k.right, k.top},
            {k.left > 0, {dest.left, middle.top, dest.left + k.left, middle.bottom},
             s.left, s.top + k.top, k.left, middleSourceHeight},
            {k.right > 0, {middle.right, middle.top, dest.right, middle.bottom},
             s.right - k.right, s.top + k.top, k.right, middleSourceHeight},
            {k.left > 0 && k.bottom > 0, {dest.left, middle.bottom, dest.left + k.left, dest.bottom},
             s.left, s.bottom - k.bottom, k.left, k.bottom},
            {k.bottom > 0, {middle.left, middle.bottom, middle.right, dest.bottom},
             s.left + k.left, s.bottom - k.bottom, middleSourceWidth, k.bottom},
            {k.right > 0 && k.bottom > 0, {middle.right, middle.bottom, dest.right, dest.bottom},
             s.right - k.right, s.bottom - k.bottom, k.right, k.bottom},
        };
        for (const Piece& piece : pieces)
        {
            if (piece.present && Touches(piece.to, paint))
                painter.Stretch(piece.to.left, piece.to.top, piece.to.right - piece.to.left,
                                piece.to.bottom - piece.to.top, piece.sourceX, piece.sourceY, piece.sourceWidth,
                                piece.sourceHeight);
        }
    }

    SelectObject(memory, previous);
}

BOOL WINAPI CRenderKit::BlendFallback(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC source,
                                      int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                      BLENDFUNCTION blend)
{
    BYTE* sourcePixels = nullptr;
    BYTE* destPixels = nullptr;
    HBITMAP sourceCopy = CreateDib32(destWidth, destHeight, sourcePixels);
    HBITMAP destCopy = CreateDib32(destWidth, destHeight, destPixels);
    HDC sourceDc = CreateCompatibleDC(dest);
    HDC destDc = CreateCompatibleDC(dest);
    const bool ready = sourceCopy != nullptr && destCopy != nullptr && sourceDc != nullptr && destDc != nullptr;
    if (ready)
    {
        HGDIOBJ previousSource = SelectObject(sourceDc, sourceCopy);
        HGDIOBJ previousDest = SelectObject(destDc, destCopy);
        SetStretchBltMode(sourceDc, COLORONCOLOR);
        StretchBlt(sourceDc, 0, 0, destWidth, destHeight, source, sourceX, sourceY, sourceWidth, sourceHeight,
                   SRCCOPY);
        BitBlt(destDc, 0, 0, destWidth, destHeight, dest, destX, destY, SRCCOPY);
        // GDI may still be writing into the DIBs; their memory is read next.
        GdiFlush();

        const size_t pixelCount = static_cast<size_t>(destWidth) * static_cast<size_t>(destHeight);
        for (size_t i = 0; i < pixelCount; ++i)
        {
            const BYTE* in = sourcePixels + i * 4;
            BYTE* out = destPixels + i * 4;
            double weight = in[3] * blend.SourceConstantAlpha / 255.0 / 255.0;
            if (weight < 0)
                weight = 0;
            for (int channel = 0; channel < 3; ++channel)
                out[channel] = static_cast<BYTE>(in[channel] * weight + out[channel] * (1.0 - weight));
            out[3] = 0;
        }
        BitBlt(dest, destX, destY, destWidth, destHeight, destDc, 0, 0, SRCCOPY);
        SelectObject(sourceDc, previousSource);
        SelectObject(destDc, previousDest);
    }
    if (sourceDc != nullptr)
        DeleteDC(sourceDc);
    if (destDc != nullptr)
        DeleteDC(destDc);
    if (sourceCopy != nullptr)
        DeleteObject(sourceCopy);
    if (destCopy != nullptr)
        DeleteObject(destCopy);
    return ready ? TRUE : FALSE;
}

}  // namespace DuiLib
