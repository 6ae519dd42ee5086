// Skin benchmark: how fast a large generated skin document parses with
// CXmlDocument and with pugixml (the same bytes, the same toolchain), and how
// many 600x400 nine-grid blits BlitNineGrid draws per second, opaque and
// blended. Prints its figures; asserts nothing. Run it under Wine with
//   cmake/wine-run.sh <build>/bench/skin_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "pugixml.hpp"
#include "ui/markup/XmlDocument.h"
#include "ui/render/RenderKit.h"

using namespace DuiLib;

namespace {

constexpr int kRows = 6000;
constexpr int kParseRuns = 40;
constexpr double kBlitSeconds = 1.0;

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Seconds(const std::function<void()>& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

// The fastest of kParseRuns calls of each piece of work: the figure least
// disturbed by the machine. The pieces take turns, so a busy spell slows
// them alike rather than whichever happened to run during it.
std::vector<double> BestSeconds(const std::vector<std::function<void()>>& works)
{
    std::vector<double> best(works.size(), 1e30);
    for (int run = 0; run < kParseRuns; ++run)
    {
        for (size_t i = 0; i < works.size(); ++i)
            best[i] = std::min(best[i], Seconds(works[i]));
    }
    return best;
}

// A skin as authors write them, made large: window resources, then kRows
// title-bar-like rows of labelled buttons with image descriptions, entities,
// comments and Chinese text, inside nested layouts.
std::string MakeSkin()
{
    std::string skin =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<!-- Generated for the skin benchmark. -->\n"
        "<Window size=\"560,380\" caption=\"0,0,0,40\" roundcorner=\"4,4\" mininfo=\"560,380\">\n"
        "  <Font id=\"0\" name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\" default=\"true\"/>\n"
        "  <Image name=\"bk/main_bk.png\" mask=\"#FFFF00FF\"/>\n"
        "  <Default name=\"Button\" value=\"textcolor=&quot;#FF333333&quot; font=&quot;0&quot;\"/>\n"
        "  <VerticalLayout bkimage=\"file='bk/main_bk.png' corner='10,40,10,10'\">\n"
        "    <TabLayout name=\"pages\">\n";
    char row[1024];
    for (int i = 0; i < kRows; ++i)
    {
        std::snprintf(row, sizeof(row),
                      "      <HorizontalLayout name=\"row_%d\" height=\"40\" padding=\"0,2,0,2\" "
                      "bkimage=\"file='bk/row.png' source='0,0,400,40' corner='5,5,5,5'\">\n"
                      "        <!-- row %d: title, action, note -->\n"
                      "        <Label name=\"title_%d\" text=\"\xE5\x8D\xB8\xE8\xBD\xBD velko &amp; "
                      "\xE6\xB8\x85\xE7\x90\x86 %d\" textcolor=\"#FF333333\" font=\"1\"/>\n"
                      "        <Button name=\"btn_%d\" width=\"80\" height=\"30\" "
                      "normalimage=\"file='btn/nor_btn.png' source='0,0,80,30'\" "
                      "hotimage=\"file='btn/nor_btn.png' source='80,0,160,30'\" "
                      "tooltip=\"\xE5\x85\xB3\xE9\x97\xAD &lt;Esc&gt;\">OK</Button>\n"
                      "        <Text text=\"It&apos;s quick.\" height=\"20\">  plain text  </Text>\n"
                      "      </HorizontalLayout>\n",
                      i, i, i, i, i);
        skin += row;
    }
    skin += "    </TabLayout>\n  </VerticalLayout>\n</Window>\n";
    return skin;
}

// Allocates bytes, writes one byte per page, frees them: the first-touch
// cost that any parser writing a buffer of that size pays.
void TouchFreshMemory(size_t bytes)
{
    volatile char* memory = static_cast<volatile char*>(std::malloc(bytes));
    if (memory == nullptr)
        return;
    for (size_t at = 0; at < bytes; at += 4096)
        memory[at] = 1;
    std::free(const_cast<char*>(memory));
}

// Elements and attributes, read the way the layout builder reads them.
void CountTree(const CXmlNode& first, long& elements, long& attributes)
{
    for (CXmlNode node = first; node.IsValid(); node = node.GetSibling())
    {
        ++elements;
        for (int i = 0; i < node.GetAttributeCount(); ++i)
            attributes += node.GetAttributeValue(i)[0] != L'\0' ? 1 : 0;
        if (node.HasChildren())
            CountTree(node.GetChild(), elements, attributes);
    }
}

void CountTree(const pugi::xml_node& parent, long& elements, long& attributes)
{
    for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling())
    {
        if (node.type() != pugi::node_element)
            continue;
        ++elements;
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute; attribute = attribute.next_attribute())
            attributes += attribute.value()[0] != '\0' ? 1 : 0;
        CountTree(node, elements, attributes);
    }
}

void BenchmarkParse()
{
    const std::string skin = MakeSkin();
    const double megabytes = static_cast<double>(skin.size()) / (1024.0 * 1024.0);
    const unsigned size = static_cast<unsigned>(skin.size());

    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, skin.data(), static_cast<int>(size),
                                                               nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, skin.data(), static_cast<int>(size), &wide[0], static_cast<int>(wide.size()));

    CXmlDocument ours;
    pugi::xml_document theirs;
    if (!ours.LoadFromBytes(skin.data(), size, EncodingUtf8) || !theirs.load_buffer(skin.data(), skin.size()))
    {
        std::printf("the generated skin did not parse: %ls\n", ours.GetLastErrorMessage());
        return;
    }
    long ourElements = 0, ourAttributes = 0, theirElements = 0, theirAttributes = 0;
    CountTree(ours.GetRoot(), ourElements, ourAttributes);
    CountTree(theirs, theirElements, theirAttributes);
    std::printf("Skin document: %.2f MB of UTF-8, %ld elements, %ld attributes (pugixml sees %ld and %ld)\n",
                megabytes, ourElements, ourAttributes, theirElements, theirAttributes);

    const std::vector<double> best = BestSeconds({
        [&] { ours.LoadFromBytes(skin.data(), size, EncodingUtf8); },
        [&] { theirs.load_buffer(skin.data(), skin.size()); },
        [&] { ours.Load(wide.c_str()); },
        [&] {
            ours.LoadFromBytes(skin.data(), size, EncodingUtf8);
            long elements = 0, attributes = 0;
            CountTree(ours.GetRoot(), elements, attributes);
        },
        [&] {
            theirs.load_buffer(skin.data(), skin.size());
            long elements = 0, attributes = 0;
            CountTree(theirs, elements, attributes);
        },
        [&] {
            CXmlDocument fresh;
            fresh.LoadFromBytes(skin.data(), size, EncodingUtf8);
        },
    });
    const double bytes = best[0], pugi = best[1], text = best[2], bytesWalked = best[3], pugiWalked = best[4],
                 cold = best[5];
    // What fresh memory alone costs: a load into a new document writes a new
    // buffer, the UTF-16 text here twice the size of pugixml's UTF-8 copy.
    const std::vector<double> fresh = BestSeconds({[&] { TouchFreshMemory(wide.size() * sizeof(wchar_t)); },
                                                    [&] { TouchFreshMemory(skin.size()); }});

    std::printf("  %-44s %8.2f ms %8.1f MB/s\n", "CXmlDocument::LoadFromBytes (UTF-8 bytes)", bytes * 1e3,
                megabytes / bytes);
    std::printf("  %-44s %8.2f ms %8.1f MB/s\n", "CXmlDocument::Load (wide text, no conversion)", text * 1e3,
                megabytes / text);
    std::printf("  %-44s %8.2f ms %8.1f MB/s\n", "pugixml xml_document::load_buffer", pugi * 1e3,
                megabytes / pugi);
    std::printf("  ratio of times, LoadFromBytes / pugixml: %.2f (target: at most 1.20)\n", bytes / pugi);
    std::printf("  parse and read every attribute: CXmlDocument %.2f ms, pugixml %.2f ms, ratio %.2f (target: at "
                "most 1.50)\n",
                bytesWalked * 1e3, pugiWalked * 1e3, bytesWalked / pugiWalked);
    // A reload writes into the buffers the last load left; a new document
    // maps and faults in fresh ones, as pugixml does on every load.
    std::printf("  LoadFromBytes into a new document each time: %.2f ms, ratio to pugixml %.2f\n", cold * 1e3,
                cold / pugi);
    std::printf("  of which writing fresh memory: %.2f ms for the UTF-16 text (pugixml's copy: %.2f ms)\n",
                fresh[0] * 1e3, fresh[1] * 1e3);
}

// width x height RGBA with 10/40/10/10 borders in other colours than the
// middle; translucent makes every pixel half transparent.
ImageEntry* MakeNineGridImage(int width, int height, bool translucent)
{
    std::vector<BYTE> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            BYTE* pixel = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            const bool border = x < 10 || x >= width - 10 || y < 40 || y >= height - 10;
            pixel[0] = static_cast<BYTE>(border ? 40 : x);
            pixel[1] = static_cast<BYTE>(border ? 90 : y);
            pixel[2] = static_cast<BYTE>(border ? 160 : 200);
            pixel[3] = translucent ? 128 : 255;
        }
    }
    return CRenderKit::CreateImageEntry(rgba.data(), width, height, 0);
}

void BenchmarkNineGrid()
{
    const int width = 600;
    const int height = 400;
    HDC dc = CreateCompatibleDC(nullptr);
    BYTE* pixels = nullptr;
    HBITMAP surface = CRenderKit::CreateDib32(width, height, pixels);
    HGDIOBJ previous = SelectObject(dc, surface);
    const RECT dest = {0, 0, width, height};
    const RECT source = {0, 0, width, height};
    const RECT corners = {10, 40, 10, 10};

    std::printf("BlitNineGrid of a %dx%d nine-grid image (corners 10,40,10,10) onto a %dx%d 32-bit DIB:\n", width,
                height, width, height);
    const struct
    {
        const char* name;
        bool translucent;
        UINT flags;
    } cases[] = {{"opaque (StretchBlt)", false, UININE_PLAIN}, {"blended (AlphaBlend)", true, UININE_ALPHA}};
    for (const auto& c : cases)
    {
        ImageEntry* image = MakeNineGridImage(width, height, c.translucent);
        int frames = 0;
        const double start = Now();
        double elapsed = 0;
        while (elapsed < kBlitSeconds)
        {
            CRenderKit::BlitNineGrid(dc, image->bitmap, dest, dest, source, corners, 255, c.flags);
            GdiFlush();
            ++frames;
            elapsed = Now() - start;
        }
        std::printf("  %-22s %8.1f frames per second\n", c.name, frames / elapsed);
        ReleaseImageEntry(image, true);
    }
    SelectObject(dc, previous);
    DeleteObject(surface);
    DeleteDC(dc);
}

}  // namespace

int main()
{
    BenchmarkParse();
    BenchmarkNineGrid();
    return 0;
}
