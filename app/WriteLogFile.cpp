#include "app/WriteLogFile.h"

#include "app/ProductNames.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace kalvex {

DWORD MeasureLogFile(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    DWORD size = data.nFileSizeLow;
    // The directory entry can lag behind a file that is still open elsewhere;
    // the open file's own length is the truth then.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const DWORD opened = GetFileSize(file, nullptr);
        if (opened != INVALID_FILE_SIZE && opened != size)
            size = opened;
        CloseHandle(file);
    }
    return size;
}

CWriteLogFile::CWriteLogFile()
{
    // Auto-reset: a successful wait takes the event in the same step, so two
    // writers can never both pass the wait and interleave their lines.
    m_event = CreateEventW(nullptr, FALSE, TRUE, nullptr);
}

CWriteLogFile::~CWriteLogFile()
{
    if (m_event != INVALID_HANDLE_VALUE && m_event != nullptr)
        CloseHandle(m_event);
    m_event = INVALID_HANDLE_VALUE;
    m_path.clear();
}

void CWriteLogFile::Init(const std::wstring& path, int limitKb)
{
    const DWORD size = MeasureLogFile(path);
    if (size > static_cast<DWORD>(limitKb) * 1024u || size == 0)
        DeleteFileW(path.c_str());
    m_path = path;
    m_limitKb = limitKb;
}

void CWriteLogFile::Write(unsigned flags, const wchar_t* format, ...)
{
    // After destruction the field holds INVALID_HANDLE_VALUE, which is also the
    // current-process pseudo-handle: waiting on it would stall every late write.
    if (m_event == INVALID_HANDLE_VALUE)
        return;
    // The wait's result is not examined: after the 3-second bound the line is
    // written anyway, so one stuck writer cannot silence the others. A wait
    // that succeeds has already taken the (auto-reset) event.
    WaitForSingleObject(m_event, 3000);

    try {
        if (MeasureLogFile(m_path) > static_cast<DWORD>(m_limitKb) * 1024u)
            DeleteFileW(m_path.c_str());
        const bool existed = GetFileAttributesW(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (FILE* file = _wfopen(m_path.c_str(), L"ab+")) {
            if (!existed) {
                static const unsigned char kBom[] = {0xFF, 0xFE};
                std::fwrite(kBom, 1, sizeof kBom, file);
            }
            std::vector<wchar_t> message(kLogMessageChars, L'\0');
            va_list args;
            va_start(args, format);
            _vsnwprintf(message.data(), kLogMessageChars - 1, format == nullptr ? L"" : format, args);
            va_end(args);

            SYSTEMTIME now = {};
            GetLocalTime(&now);
            wchar_t stamp[32] = {};
            _snwprintf(stamp, 31, L"[%04d-%02d-%02d %02d:%02d:%02d]", now.wYear, now.wMonth, now.wDay, now.wHour,
                       now.wMinute, now.wSecond);
            // One buffer, one write: the whole line reaches the file together.
            std::wstring line = stamp;
            line += message.data();
            line += L"\r\n";
            std::fwrite(line.data(), sizeof(wchar_t), line.size(), file);
            std::fclose(file);
            if ((flags & 0xFF) != 0)
                OutputDebugStringW(message.data());
        }
    } catch (...) {
        // A failed line is lost; the writer stays usable.
    }
    SetEvent(m_event);
}

CWriteLogFile& ProcessLog()
{
    static CWriteLogFile log;
    return log;
}

}  // namespace kalvex
