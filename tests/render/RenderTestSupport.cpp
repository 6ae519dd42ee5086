// Helpers of the render tests: data files beside the program and readable
// 32-bit drawing surfaces.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {
namespace test {

std::wstring DataFolder()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    return path.erase(path.find_last_of(L"\\/") + 1) + L"data\\";
}

std::wstring DataPath(const std::wstring& name)
{
    return DataFolder() + name;
}

std::vector<BYTE> ReadData(const std::wstring& name)
{
    BYTE* bytes = nullptr;
    unsigned size = 0;
    std::vector<BYTE> copy;
    if (ReadWholeFile(DataPath(name).c_str(), bytes, size))
        copy.assign(bytes, bytes + size);
    delete[] bytes;
    return copy;
}

bool WriteFileBytes(const std::wstring& path, const void* bytes, size_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = size == 0 || (WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size);
    CloseHandle(file);
    return ok;
}

void InstallManagerSkinZip()
{
    static const std::vector<BYTE> zip = ReadData(L"skin.zip");
    CUIManager::SetSkinZipFromMemory(zip.data(), static_cast<unsigned>(zip.size()), kSkinZipPassword);
}

EntryPtr LoadDataImage(const std::wstring& name, DWORD mask)
{
    return EntryPtr(CRenderKit::LoadImageEntry(DataPath(name).c_str(), nullptr, mask, SkinLocation()));
}

DWORD EntryPixel(const ImageEntry& entry, int x, int y)
{
    DWORD pixel;
    std::memcpy(&pixel, entry.pixels + (static_cast<size_t>(y) * entry.width + x) * 4, 4);
    return pixel;
}

bool Near(DWORD a, DWORD b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

CSurface::CSurface(int width, int height, DWORD fill) : m_width(width), m_dc(CreateCompatibleDC(nullptr))
{
    BYTE* pixels = nullptr;
    m_bitmap = CRenderKit::CreateDib32(width, height, pixels);
    m_pixels = reinterpret_cast<DWORD*>(pixels);
    m_previous = SelectObject(m_dc, m_bitmap);
    for (int i = 0; i < width * height; ++i)
        m_pixels[i] = fill;
}

CSurface::~CSurface()
{
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

DWORD CSurface::Pixel(int x, int y) const
{
    GdiFlush();
    return m_pixels[y * m_width + x];
}

void ExpectPixels(const CSurface& surface, std::initializer_list<PixelCheck> checks, int tolerance)
{
    for (const PixelCheck& check : checks)
    {
        const DWORD actual = surface.Pixel(check.x, check.y);
        EXPECT_TRUE(Near(Rgb(check.color), Rgb(actual), tolerance))
            << "at " << check.x << "," << check.y << ": expected " << std::hex << Rgb(check.color) << ", got "
            << Rgb(actual);
    }
}

}  // namespace test
}  // namespace DuiLib
