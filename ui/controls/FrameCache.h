// CFrameCache: the pictures an animated control shows again and again (the
// frames of a GIF, the angles of a turning image, the spokes of a spinner),
// each drawn once by GDI+ into a premultiplied 32-bit DIB of the control's
// size and from then on put on screen with one AlphaBlend. GDI+ drawing of
// a decoded or turned image costs many times a blend, and an animation
// repaints the same few pictures for as long as it runs.
// Invariant: every kept picture has the size of the last place drawn; the
// kept pictures together stay within kMaxBytes.
#pragma once

#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the COM types that GDI+ needs.
#include <objidl.h>
#include <gdiplus.h>

#include <functional>
#include <map>

namespace DuiLib {

class CFrameCache
{
public:
    // Draws into a transparent picture whose origin is the place's top-left.
    using Renderer = std::function<void(Gdiplus::GpGraphics*)>;

    // Kept pictures of one control, together; past it they are all dropped
    // and the pictures drawn again as they are needed.
    static constexpr size_t kMaxBytes = 8u << 20;

    CFrameCache() = default;
    CFrameCache(const CFrameCache&) = delete;
    CFrameCache& operator=(const CFrameCache&) = delete;
    ~CFrameCache() { Clear(); }

    // Blends the picture kept for key over place, limited to paint; a picture
    // not kept yet (or kept at another size) is first drawn by render. False,
    // drawing nothing, for an empty place or when no picture can be made.
    bool Draw(HDC dc, const RECT& place, const RECT& paint, unsigned key, const Renderer& render);
    // Blends the picture kept for key over place, limited to paint; false,
    // drawing nothing, when none is kept at the place's size.
    bool DrawKept(HDC dc, const RECT& place, const RECT& paint, unsigned key) const;
    // The picture kept for key at width x height, drawn by render first when
    // it is not kept; null for an empty size or when it cannot be made.
    HBITMAP Prepare(unsigned key, int width, int height, const Renderer& render);
    // Forgets every picture: the next Draw of each key renders again.
    void Clear();
    // Forgets one picture (its content changed); nothing when it is not kept.
    void Forget(unsigned key);
    size_t Count() const { return m_pictures.size(); }

private:
    HBITMAP Render(int width, int height, const Renderer& render);

    std::map<unsigned, HBITMAP> m_pictures;
    SIZE m_size = {};
    size_t m_bytes = 0;
};

}  // namespace DuiLib
