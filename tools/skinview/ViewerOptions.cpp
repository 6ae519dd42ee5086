// Command-line parsing of skinview.exe: each option is looked up in one
// table; values are checked here so the rest of the viewer never sees a
// malformed size or page index.
#include "tools/skinview/ViewerOptions.h"

#include <cwchar>
#include <cwctype>

namespace skinview {

namespace {

// A decimal number of 1 to 9 digits and nothing else; false otherwise.
bool ReadCount(const std::wstring& text, int& value)
{
    if (text.empty() || text.size() > 9)
        return false;
    value = 0;
    for (wchar_t ch : text)
    {
        if (!std::iswdigit(ch))
            return false;
        value = value * 10 + (ch - L'0');
    }
    return true;
}

bool ReadSize(const std::wstring& text, SIZE& size)
{
    const size_t x = text.find_first_of(L"xX");
    int width = 0;
    int height = 0;
    if (x == std::wstring::npos || !ReadCount(text.substr(0, x), width) || !ReadCount(text.substr(x + 1), height))
        return false;
    if (width < 1 || height < 1 || width > kMaxWindowSide || height > kMaxWindowSide)
        return false;
    size = SIZE{width, height};
    return true;
}

bool ReadTab(const std::wstring& text, TabChoice& tab)
{
    const size_t equals = text.rfind(L'=');
    if (equals == std::wstring::npos || equals == 0)
        return false;
    tab.name = text.substr(0, equals);
    return ReadCount(text.substr(equals + 1), tab.index);
}

// Narrow text for the archive password, byte for byte in the ANSI code page
// that zip tools use for it.
std::string Narrow(const std::wstring& text)
{
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return std::string();
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], bytes, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(bytes) - 1);
    return narrow;
}

enum class Option
{
    Xml,
    Password,
    Size,
    Png,
    Tab,
    Select,
    Hover,
    Push,
    Lint,
    Help,
};

struct OptionName
{
    const wchar_t* name;
    Option option;
    bool takesValue;
};

constexpr OptionName kOptions[] = {
    {L"--xml", Option::Xml, true},       {L"--password", Option::Password, true}, {L"--size", Option::Size, true},
    {L"--png", Option::Png, true},       {L"--tab", Option::Tab, true},           {L"--select", Option::Select, true},
    {L"--hover", Option::Hover, true},   {L"--push", Option::Push, true},         {L"--lint", Option::Lint, false},
    {L"--help", Option::Help, false},    {L"-h", Option::Help, false},
};

// Stores one option's value; false with the reason when it is malformed.
bool Apply(Option option, const std::wstring& value, CViewerOptions& options, std::wstring& error)
{
    switch (option)
    {
    case Option::Xml: options.xml = value; break;
    case Option::Password:
        options.password = Narrow(value);
        options.passwordGiven = true;
        return true;
    case Option::Size:
        if (ReadSize(value, options.size))
            return true;
        error = L"--size takes WIDTHxHEIGHT, each 1 to " + std::to_wstring(kMaxWindowSide);
        return false;
    case Option::Png: options.png = value; break;
    case Option::Tab:
    {
        TabChoice tab;
        if (!ReadTab(value, tab))
        {
            error = L"--tab takes NAME=INDEX";
            return false;
        }
        options.tabs.push_back(tab);
        return true;
    }
    case Option::Select: options.selects.push_back(value); return true;
    case Option::Hover: options.hover = value; return true;
    case Option::Push: options.push = value; return true;
    case Option::Lint: options.lint = true; return true;
    case Option::Help: options.help = true; return true;
    }
    if (value.empty())
    {
        error = L"an empty file name";
        return false;
    }
    return true;
}

}  // namespace

bool ParseViewerOptions(int argc, const wchar_t* const* argv, CViewerOptions& options, std::wstring& error)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::wstring argument = argv[i];
        const OptionName* found = nullptr;
        for (const OptionName& entry : kOptions)
        {
            if (argument == entry.name)
                found = &entry;
        }
        if (found == nullptr)
        {
            if (argument.size() > 1 && argument[0] == L'-')
            {
                error = L"unknown option " + argument;
                return false;
            }
            if (!options.source.empty())
            {
                error = L"one skin at a time: " + options.source + L" and " + argument;
                return false;
            }
            options.source = argument;
            continue;
        }
        if (found->takesValue && i + 1 >= argc)
        {
            error = argument + L" needs a value";
            return false;
        }
        if (!Apply(found->option, found->takesValue ? std::wstring(argv[++i]) : std::wstring(), options, error))
            return false;
    }
    if (options.help)
        return true;
    if (options.source.empty())
    {
        error = L"no skin given";
        return false;
    }
    if (options.png.empty() && (!options.selects.empty() || !options.hover.empty() || !options.push.empty()))
    {
        // A live window follows the real mouse, which would undo them at once.
        error = L"--hover, --push and --select need --png";
        return false;
    }
    return true;
}

const wchar_t* ViewerUsage()
{
    return L"usage: skinview [options] SKIN\n"
           L"  SKIN              a skin folder, a zip archive, or a built kalvex.exe (its own skin)\n"
           L"  --xml NAME        the layout to build (default main.xml)\n"
           L"  --password TEXT   the archive's password (kalvex.exe: the product's own by default)\n"
           L"  --size WxH        window size instead of the skin's\n"
           L"  --png FILE        render once, without showing a window, to a PNG with the window's alpha\n"
           L"  --tab NAME=INDEX  show page INDEX of the tab layout NAME (repeatable)\n"
           L"  --select NAME     click the option or check box NAME first (with --png; repeatable)\n"
           L"  --hover NAME      with the mouse over the control NAME (with --png)\n"
           L"  --push NAME       with the mouse button held down on the control NAME (with --png)\n"
           L"  --lint            check the skin and list its problems\n"
           L"Without --png the window stays open and builds the layout again whenever a file of a skin\n"
           L"folder changes; Escape closes it. Exit codes: 0 done, 1 the skin has problems, 2 the skin\n"
           L"cannot be opened or the command line is wrong.\n";
}

}  // namespace skinview
