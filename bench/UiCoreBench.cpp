// Times the toolkit's CUIString and CNameMap against std::wstring and
// std::unordered_map<std::wstring, void*> on skin-like texts and names, in the
// same run, and prints nanoseconds per operation and the ratio ours / std.
// Run by hand: cmake/wine-run.sh build/bench/ui_core_bench.exe [seconds]
#include "ui/core/NameMap.h"
#include "ui/core/UIString.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <unordered_map>
#include <vector>

using DuiLib::CNameMap;
using DuiLib::CUIString;

namespace {

// Texts that stay in CUIString's inline buffer (at most 62 units); longer
// than std::wstring's own small buffer, as most skin values are.
const wchar_t* const kShortTexts[] = {
    L"bk/main_bk.png", L"unins_btn", L"file='btn/close_btn.png' source='0,0,30,30'", L"#FF336699",
    L"0,0,0,30", L"btn/keep_hot.png", L"VerticalLayout", L"Tahoma",
};

// Default attribute lists and image descriptions of 63 units or more, which
// CUIString keeps in an exactly sized heap block.
const wchar_t* const kLongTexts[] = {
    L"normalimage=\"file='btn/unins_normal.png'\" hotimage=\"file='btn/unins_hot.png'\" "
    L"pushedimage=\"file='btn/unins_pushed.png'\"",
    L"file='bk/progress_fg.png' source='0,0,400,12' dest='0,0,400,12' corner='4,4,4,4' fade='255'",
    L"font=\"1\" textcolor=\"#FF333333\" disabledtextcolor=\"#FFA7A6AA\" align=\"center\" "
    L"textpadding=\"4,2,4,2\"",
    L"file='bk/main_bk.png' corner='10,40,10,10' hole='false' xtiled='false' ytiled='false' mask='#FFFF00FF'",
};

// Pieces appended one after another: the short set stays inline, the long set
// crosses into the heap part-way and grows it with every later piece.
const wchar_t* const kShortPieces[] = {L"btn/", L"close_btn", L"_pushed", L".png", L" ", L"0,0,30,30"};
const wchar_t* const kLongPieces[] = {
    L"normalimage=\"file='btn/", L"unins_normal.png'\" ", L"hotimage=\"file='btn/", L"unins_hot.png'\" ",
    L"pushedimage=\"file='btn/", L"unins_pushed.png'\" ", L"disabledimage=\"file='btn/",
    L"unins_disabled.png'\" ", L"textcolor=\"#FF333333\"",
};

// Names a skin puts into the manager's tables: control classes, control
// names, image file names and font ids.
const wchar_t* const kSkinNames[] = {
    L"bk/main_bk.png", L"unins_btn", L"Button", L"Label", L"Option", L"CheckBox", L"Progress", L"Text",
    L"Edit", L"ScrollBar", L"Slider", L"VerticalLayout", L"HorizontalLayout", L"TileLayout", L"TabLayout",
    L"ChildLayout", L"Container", L"Control", L"close_btn", L"min_btn", L"keep_btn", L"finish_btn",
    L"download_btn", L"progress_bar", L"progress_bk", L"title_text", L"tip_text", L"logo",
    L"btn/close_normal.png", L"btn/close_hot.png", L"btn/close_pushed.png", L"btn/min_normal.png",
    L"btn/min_hot.png", L"btn/min_pushed.png", L"btn/unins_normal.png", L"btn/unins_hot.png",
    L"btn/unins_pushed.png", L"btn/keep_normal.png", L"btn/keep_hot.png", L"btn/keep_pushed.png",
    L"bk/finish_bk.png", L"bk/progress_fg.png", L"bk/progress_bk.png", L"icon/logo.png", L"icon/tray.ico",
    L"0", L"1", L"2", L"3", L"default",
};
constexpr int kNameCount = static_cast<int>(sizeof(kSkinNames) / sizeof(kSkinNames[0]));
static_assert(kNameCount == 50, "the benchmark stores 50 names");

// Every result feeds this, so the optimiser cannot drop the work of the
// inline std:: code; it is printed at the end.
volatile unsigned long g_sink = 0;

using Clock = std::chrono::steady_clock;

// Timed runs of each side per comparison.
constexpr int kRuns = 5;

// One timed kernel: runs its operation `iterations` times and returns how
// many elementary operations that was.
using Kernel = long long (*)(long long iterations);

double SecondsFor(Kernel kernel, long long iterations, long long* operations)
{
    const Clock::time_point start = Clock::now();
    *operations = kernel(iterations);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Iterations for one run of about targetSeconds: the count is doubled until
// a run takes a tenth of the target, then scaled up to it.
long long CalibratedIterations(Kernel kernel, double targetSeconds)
{
    long long iterations = 16;
    long long operations = 0;
    double seconds = SecondsFor(kernel, iterations, &operations);
    while (seconds < targetSeconds / 10) {
        iterations *= 2;
        seconds = SecondsFor(kernel, iterations, &operations);
    }
    return std::max(1LL, static_cast<long long>(static_cast<double>(iterations) * targetSeconds / seconds));
}

double NanosecondsPerOperation(Kernel kernel, long long iterations)
{
    long long operations = 0;
    const double seconds = SecondsFor(kernel, iterations, &operations);
    return seconds * 1e9 / static_cast<double>(operations);
}

template <size_t N>
constexpr int CountOf(const wchar_t* const (&)[N])
{
    return static_cast<int>(N);
}

// ---- Assignment into one existing string, cycling through the texts ----

template <size_t N>
long long AssignOurs(const wchar_t* const (&texts)[N], long long iterations)
{
    CUIString target;
    unsigned long sum = 0;
    for (long long i = 0; i < iterations; ++i) {
        target.Assign(texts[i % N]);
        sum += static_cast<unsigned long>(target.GetData()[0]);
    }
    g_sink = g_sink + sum;
    return iterations;
}

template <size_t N>
long long AssignStd(const wchar_t* const (&texts)[N], long long iterations)
{
    std::wstring target;
    unsigned long sum = 0;
    for (long long i = 0; i < iterations; ++i) {
        target.assign(texts[i % N]);
        sum += static_cast<unsigned long>(target.data()[0]);
    }
    g_sink = g_sink + sum;
    return iterations;
}

long long AssignShortOurs(long long n) { return AssignOurs(kShortTexts, n); }
long long AssignShortStd(long long n) { return AssignStd(kShortTexts, n); }
long long AssignLongOurs(long long n) { return AssignOurs(kLongTexts, n); }
long long AssignLongStd(long long n) { return AssignStd(kLongTexts, n); }

// ---- Append: a new string built from pieces, as text is put together ----

template <size_t N>
long long AppendOurs(const wchar_t* const (&pieces)[N], long long iterations)
{
    unsigned long sum = 0;
    for (long long i = 0; i < iterations; ++i) {
        CUIString built;
        for (const wchar_t* piece : pieces)
            built.Append(piece);
        sum += static_cast<unsigned long>(built.GetData()[i % 16]);
    }
    g_sink = g_sink + sum;
    return iterations * static_cast<long long>(N);
}

template <size_t N>
long long AppendStd(const wchar_t* const (&pieces)[N], long long iterations)
{
    unsigned long sum = 0;
    for (long long i = 0; i < iterations; ++i) {
        std::wstring built;
        for (const wchar_t* piece : pieces)
            built.append(piece);
        sum += static_cast<unsigned long>(built.data()[i % 16]);
    }
    g_sink = g_sink + sum;
    return iterations * static_cast<long long>(N);
}

long long AppendShortOurs(long long n) { return AppendOurs(kShortPieces, n); }
long long AppendShortStd(long long n) { return AppendStd(kShortPieces, n); }
long long AppendLongOurs(long long n) { return AppendOurs(kLongPieces, n); }
long long AppendLongStd(long long n) { return AppendStd(kLongPieces, n); }

// ---- Maps: a new table filled with the 50 names, and lookups in a full one ----

std::vector<std::wstring> StdKeys()
{
    return std::vector<std::wstring>(kSkinNames, kSkinNames + kNameCount);
}

long long InsertOurs(long long iterations)
{
    for (long long i = 0; i < iterations; ++i) {
        CNameMap map;
        for (int n = 0; n < kNameCount; ++n)
            map.Insert(kSkinNames[n], const_cast<wchar_t*>(kSkinNames[n]));
        g_sink = g_sink + static_cast<unsigned long>(map.GetSize());
    }
    return iterations * kNameCount;
}

long long InsertStd(long long iterations)
{
    for (long long i = 0; i < iterations; ++i) {
        std::unordered_map<std::wstring, void*> map;
        for (int n = 0; n < kNameCount; ++n)
            map.emplace(kSkinNames[n], const_cast<wchar_t*>(kSkinNames[n]));
        g_sink = g_sink + static_cast<unsigned long>(map.size());
    }
    return iterations * kNameCount;
}

// Lookups cycle through the names in a scattered order (a stride of 17 is
// coprime to 50), so move-to-front keeps reordering the chains as it would
// for a skin's mixed lookups.
long long FindOurs(long long iterations)
{
    static CNameMap map;
    if (map.GetSize() == 0) {
        for (int n = 0; n < kNameCount; ++n)
            map.Insert(kSkinNames[n], const_cast<wchar_t*>(kSkinNames[n]));
    }
    unsigned long found = 0;
    for (long long i = 0; i < iterations; ++i)
        found += map.Find(kSkinNames[(i * 17) % kNameCount]) != nullptr;
    g_sink = g_sink + found;
    return iterations;
}

// std's most favourable case: the keys are already std::wstring objects, so
// no temporary key is made per lookup.
long long FindStd(long long iterations)
{
    static const std::vector<std::wstring> keys = StdKeys();
    static std::unordered_map<std::wstring, void*> map;
    if (map.empty()) {
        for (int n = 0; n < kNameCount; ++n)
            map.emplace(keys[static_cast<size_t>(n)], const_cast<wchar_t*>(kSkinNames[n]));
    }
    unsigned long found = 0;
    for (long long i = 0; i < iterations; ++i)
        found += map.find(keys[static_cast<size_t>((i * 17) % kNameCount)]) != map.end();
    g_sink = g_sink + found;
    return iterations;
}

// The two kinds of table must agree before their times mean anything.
bool MapsAgree()
{
    CNameMap ours;
    std::unordered_map<std::wstring, void*> theirs;
    for (int n = 0; n < kNameCount; ++n) {
        if (!ours.Insert(kSkinNames[n], const_cast<wchar_t*>(kSkinNames[n])))
            return false;
        theirs.emplace(kSkinNames[n], const_cast<wchar_t*>(kSkinNames[n]));
    }
    for (int n = 0; n < kNameCount; ++n) {
        if (ours.Find(kSkinNames[n]) != theirs.at(kSkinNames[n]))
            return false;
    }
    return ours.GetSize() == kNameCount && theirs.size() == static_cast<size_t>(kNameCount);
}

template <size_t N>
int JoinedLength(const wchar_t* const (&pieces)[N])
{
    int length = 0;
    for (const wchar_t* piece : pieces)
        length += static_cast<int>(std::wcslen(piece));
    return length;
}

struct Comparison
{
    const char* name;
    Kernel ours;
    Kernel theirs;
};

}  // namespace

int main(int argc, char** argv)
{
    const double target = argc > 1 ? std::max(0.2, std::min(1.0, std::atof(argv[1]))) : 0.3;
    if (!MapsAgree()) {
        std::printf("CNameMap and std::unordered_map disagree on the skin names\n");
        return 1;
    }
    int shortMax = 0, longMin = 1 << 30;
    for (const wchar_t* text : kShortTexts)
        shortMax = std::max(shortMax, static_cast<int>(std::wcslen(text)));
    for (const wchar_t* text : kLongTexts)
        longMin = std::min(longMin, static_cast<int>(std::wcslen(text)));
    const int shortJoined = JoinedLength(kShortPieces);
    const int longJoined = JoinedLength(kLongPieces);
    if (shortMax > CUIString::kMaxInlineLength || shortJoined > CUIString::kMaxInlineLength ||
        longMin <= CUIString::kMaxInlineLength || longJoined <= CUIString::kMaxInlineLength) {
        std::printf("the short texts must fit the inline buffer and the long ones must not\n");
        return 1;
    }

    const Comparison comparisons[] = {
        {"CUIString assign, short (<= 62 units)", AssignShortOurs, AssignShortStd},
        {"CUIString assign, long (>= 63 units)", AssignLongOurs, AssignLongStd},
        {"CUIString append, pieces to a short text", AppendShortOurs, AppendShortStd},
        {"CUIString append, pieces to a long text", AppendLongOurs, AppendLongStd},
        {"CNameMap insert, 50 names, new table", InsertOurs, InsertStd},
        {"CNameMap find, 50 names (std: wstring keys)", FindOurs, FindStd},
    };
    std::printf("ui_core_bench: ours against std::wstring / std::unordered_map<std::wstring, void*>\n");
    std::printf("assign: %d short texts of at most %d units, %d long texts of at least %d units\n",
                CountOf(kShortTexts), shortMax, CountOf(kLongTexts), longMin);
    std::printf("append (per piece, into a new string): %d pieces to %d units, %d pieces to %d units\n",
                CountOf(kShortPieces), shortJoined, CountOf(kLongPieces), longJoined);
    std::printf("maps: %d skin names; find with move-to-front\n", kNameCount);
    std::printf("each figure: the best of %d alternating runs of about %.2f s, in nanoseconds per operation\n\n",
                kRuns, target);
    std::printf("%-46s %12s %12s %14s\n", "operation", "ours ns/op", "std ns/op", "ours / std");
    for (const Comparison& c : comparisons) {
        // Ours and std take turns, so a change in the machine's load hits
        // both; the best run of each is the one least disturbed by it.
        const long long oursIterations = CalibratedIterations(c.ours, target);
        const long long theirIterations = CalibratedIterations(c.theirs, target);
        double ours = 1e300;
        double theirs = 1e300;
        for (int run = 0; run < kRuns; ++run) {
            ours = std::min(ours, NanosecondsPerOperation(c.ours, oursIterations));
            theirs = std::min(theirs, NanosecondsPerOperation(c.theirs, theirIterations));
        }
        std::printf("%-46s %12.2f %12.2f %14.2f\n", c.name, ours, theirs, ours / theirs);
        std::fflush(stdout);
    }
    std::printf("\n(checksum %lu)\n", static_cast<unsigned long>(g_sink));
    return 0;
}
