#include "app/WriteLogFile.h"

#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <set>
#include <tuple>
#include <thread>
#include <vector>

using kalvex::CWriteLogFile;
using kalvex::test::CScratchDir;
using kalvex::test::PathExists;
using kalvex::test::ReadFileBytes;
using kalvex::test::WriteFileBytes;

namespace {

constexpr DWORD kLimitBytes = 1024 * 1024;

// The file as text, after checking that it starts with the byte-order mark.
std::wstring ReadLog(const std::wstring& path)
{
    const std::string bytes = ReadFileBytes(path);
    EXPECT_GE(bytes.size(), 2u);
    if (bytes.size() < 2)
        return std::wstring();
    EXPECT_EQ('\xFF', bytes[0]);
    EXPECT_EQ('\xFE', bytes[1]);
    EXPECT_EQ(0u, bytes.size() % 2);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
}

std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::wstring::size_type start = 0;
    for (std::wstring::size_type end = text.find(L"\r\n"); end != std::wstring::npos;
         end = text.find(L"\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

struct Stamp {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Splits "[yyyy-mm-dd hh:mm:ss]message" into its time stamp and message,
// checking every fixed character of the stamp.
bool ParseLine(const std::wstring& line, Stamp& stamp, std::wstring& message)
{
    const wchar_t* shape = L"[dddd-dd-dd dd:dd:dd]";
    if (line.size() < 21)
        return false;
    for (int i = 0; i < 21; ++i) {
        const bool digit = line[i] >= L'0' && line[i] <= L'9';
        if (shape[i] == L'd' ? !digit : line[i] != shape[i])
            return false;
    }
    auto number = [&line](int at, int width) { return std::stoi(line.substr(at, width)); };
    stamp = {number(1, 4), number(6, 2), number(9, 2), number(12, 2), number(15, 2), number(18, 2)};
    message = line.substr(21);
    return true;
}

std::wstring MessageOf(const std::wstring& line)
{
    Stamp stamp;
    std::wstring message;
    EXPECT_TRUE(ParseLine(line, stamp, message)) << line.substr(0, 40);
    return message;
}

}  // namespace

TEST(WriteLogFile, LinesCarryTheLocalTimeAndTheFormattedMessage)
{
    // ctest runs this program eight hours east of UTC (TZ, see
    // CMakeLists.txt), where a UTC stamp would show another hour.
    TIME_ZONE_INFORMATION zone = {};
    GetTimeZoneInformation(&zone);
    ASSERT_EQ(-480, zone.Bias) << "run in the test time zone (TZ=Asia/Shanghai), as ctest does";
    CScratchDir dir(L"log");
    CWriteLogFile log;
    log.Init(dir / L"log2.log", 1024);
    SYSTEMTIME before = {};
    GetLocalTime(&before);
    log.Write(0, L"abc");
    SYSTEMTIME after = {};
    GetLocalTime(&after);
    log.Write(0, L"file [%s] err=%ld", L"C:\\velko\\kalvex.dat", 5L);
    log.Write(0, L"");

    const std::vector<std::wstring> lines = Lines(ReadLog(dir / L"log2.log"));
    ASSERT_EQ(3u, lines.size());
    Stamp stamp;
    std::wstring message;
    ASSERT_TRUE(ParseLine(lines[0], stamp, message));
    // Field by field, the stamp lies between the local times around the write.
    auto fields = [](const Stamp& t) { return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second); };
    auto local = [&fields](const SYSTEMTIME& t) {
        return fields({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
    };
    EXPECT_LE(local(before), fields(stamp));
    EXPECT_LE(fields(stamp), local(after));
    EXPECT_EQ(L"abc", message);
    EXPECT_EQ(L"file [C:\\velko\\kalvex.dat] err=5", MessageOf(lines[1]));
    EXPECT_EQ(L"", MessageOf(lines[2]));
    EXPECT_EQ(21u, lines[2].size());
}

TEST(WriteLogFile, OnlyANewFileGetsTheByteOrderMark)
{
    CScratchDir dir(L"log");
    {
        CWriteLogFile log;
        log.Init(dir / L"log2.log", 1024);
        log.Write(0, L"first");
    }
    CWriteLogFile again;
    again.Init(dir / L"log2.log", 1024);
    again.Write(0, L"second");
    const std::wstring text = ReadLog(dir / L"log2.log");
    EXPECT_EQ(std::wstring::npos, text.find(L'\xFEFF'));
    const std::vector<std::wstring> lines = Lines(text);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(L"second", MessageOf(lines[1]));
}

TEST(WriteLogFile, InitDeletesAnEmptyOrOversizedLogAndKeepsOneAtTheLimit)
{
    CScratchDir dir(L"log");
    WriteFileBytes(dir / L"empty.log", "");
    WriteFileBytes(dir / L"full.log", "\xFF\xFE" + std::string(kLimitBytes - 2, 'a'));
    WriteFileBytes(dir / L"over.log", "\xFF\xFE" + std::string(kLimitBytes - 1, 'a'));

    CWriteLogFile empty, full, over;
    empty.Init(dir / L"empty.log", 1024);
    full.Init(dir / L"full.log", 1024);
    over.Init(dir / L"over.log", 1024);
    EXPECT_FALSE(PathExists(dir / L"empty.log"));
    EXPECT_EQ(kLimitBytes, ReadFileBytes(dir / L"full.log").size());
    EXPECT_FALSE(PathExists(dir / L"over.log"));

    // At the limit the next line is appended; past it the file starts afresh.
    full.Write(0, L"appended");
    const std::string grown = ReadFileBytes(dir / L"full.log");
    EXPECT_GT(grown.size(), kLimitBytes);
    full.Write(0, L"fresh");
    const std::vector<std::wstring> lines = Lines(ReadLog(dir / L"full.log"));
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(L"fresh", MessageOf(lines[0]));
}

TEST(WriteLogFile, OverlongMessageIsCutAndTheLineStillEnds)
{
    CScratchDir dir(L"log");
    CWriteLogFile log;
    log.Init(dir / L"log2.log", 1024);
    const std::wstring huge(20000, L'm');
    log.Write(0, L"%s", huge.c_str());
    log.Write(0, L"next");
    const std::vector<std::wstring> lines = Lines(ReadLog(dir / L"log2.log"));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(std::wstring(10239, L'm'), MessageOf(lines[0]));
    EXPECT_EQ(L"next", MessageOf(lines[1]));
}

TEST(WriteLogFile, ConcurrentWritersLoseAndInterleaveNothing)
{
    CScratchDir dir(L"log");
    CWriteLogFile log;
    log.Init(dir / L"log2.log", 1024);
    constexpr int kThreads = 6;
    constexpr int kLinesEach = 150;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&log, t] {
            for (int i = 0; i < kLinesEach; ++i)
                log.Write(0, L"writer %d line %d %s", t, i, std::wstring(40 + (i % 7) * 30, L'a' + t).c_str());
        });
    }
    for (std::thread& writer : writers)
        writer.join();

    const std::vector<std::wstring> lines = Lines(ReadLog(dir / L"log2.log"));
    ASSERT_EQ(static_cast<size_t>(kThreads * kLinesEach), lines.size());
    std::set<std::wstring> seen;
    for (const std::wstring& line : lines) {
        const std::wstring message = MessageOf(line);
        int t = -1, i = -1;
        ASSERT_EQ(2, swscanf(message.c_str(), L"writer %d line %d", &t, &i)) << line;
        EXPECT_EQ(L"writer " + std::to_wstring(t) + L" line " + std::to_wstring(i) + L" " +
                      std::wstring(40 + (i % 7) * 30, L'a' + t),
                  message);
        seen.insert(message);
    }
    EXPECT_EQ(lines.size(), seen.size());
}

TEST(WriteLogFile, WritesAfterDestructionReturnAtOnceAndWriteNothing)
{
    CScratchDir dir(L"log");
    alignas(CWriteLogFile) unsigned char storage[sizeof(CWriteLogFile)];
    CWriteLogFile* log = new (storage) CWriteLogFile();
    log->Init(dir / L"log2.log", 1024);
    log->Write(0, L"before");
    log->~CWriteLogFile();

    const auto start = std::chrono::steady_clock::now();
    log->Write(0, L"late");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
    EXPECT_EQ(1u, Lines(ReadLog(dir / L"log2.log")).size());
}

TEST(WriteLogFile, UnwritableLocationLosesTheLineQuietly)
{
    CScratchDir dir(L"log");
    CWriteLogFile log;
    log.Init(dir / L"no-such-folder\\log2.log", 1024);
    log.Write(0, L"lost");
    log.Write(1, L"lost too");
    EXPECT_FALSE(PathExists(dir / L"no-such-folder"));
}
