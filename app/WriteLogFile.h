// Appends time-stamped UTF-16LE lines to one log file and deletes the file
// once it passes a size limit. Any thread may write; an event serialises the
// writers, with a 3-second bound so a stuck writer cannot block the others.
#pragma once

#include <windows.h>

#include <string>

namespace kalvex {

class CWriteLogFile {
public:
    CWriteLogFile();
    virtual ~CWriteLogFile();
    CWriteLogFile(const CWriteLogFile&) = delete;
    CWriteLogFile& operator=(const CWriteLogFile&) = delete;

    // Points the writer at `path`, first deleting an existing file that is
    // empty or larger than `limitKb` KB.
    void Init(const std::wstring& path, int limitKb);

    // Formats one line, "[yyyy-mm-dd hh:mm:ss]message\r\n" in local time, and
    // appends it. A new file starts with the byte-order mark FF FE. The message
    // is cut at 10,239 characters. When the low byte of `flags` is set, the
    // message also goes to the debugger output. Failures are silent.
    void Write(unsigned flags, const wchar_t* format, ...);

private:
    HANDLE m_event;
    std::wstring m_path;
    int m_limitKb = 0;
};

// The uninstaller's one log, opened by start-up; other parts of the program
// write their failure lines to it. Writes before Init go nowhere.
CWriteLogFile& ProcessLog();

// Size of the file as the directory entry reports it (low 32 bits), or the
// open file's length when the two differ; 0 for a missing file.
DWORD MeasureLogFile(const std::wstring& path);

}  // namespace kalvex
