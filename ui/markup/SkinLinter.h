// CSkinLinter: checks a skin the way the layout builder reads it and reports
// every problem a skin author can make, each with its file and line: XML that
// does not parse, tags without a class, attributes no class of the element
// knows, images that cannot be found or decoded, fonts and default lists that
// do not exist, control names used twice, and includes that cannot be loaded
// or hit one of the builder's bounds. Attribute names are judged by the very
// tables that apply them; nothing is built and no window is needed.
// Invariant: the walk keeps the builder's bounds, so no skin makes it hang.
#pragma once

#include <vector>

#include "ui/markup/SkinLocation.h"
#include "ui/core/UIString.h"

namespace DuiLib {

// One problem. file is the skin file as the skin names it; line counts from
// 1, and is 0 when the problem concerns the file as a whole.
struct SkinProblem
{
    CUIString file;
    int line = 0;
    CUIString message;
};

enum class SkinLintResult
{
    Clean,       // no problem found
    Problems,    // GetProblems lists them
    CannotOpen,  // the skin file itself cannot be read; GetProblems says why
};

class CSkinLinter
{
public:
    // Reporting stops after this many problems (a last one says so).
    static constexpr int kMaxProblems = 500;

    // Checks skins read from location: for the skin the manager has been
    // given, SkinLocation::Current().
    explicit CSkinLinter(const SkinLocation& location);
    CSkinLinter(const CSkinLinter&) = delete;
    CSkinLinter& operator=(const CSkinLinter&) = delete;

    // Checks skin file xmlFile (as CLayoutBuilder::Create would load it) and
    // every file it includes or names as a child layout. Forgets the problems
    // of an earlier call. A null or empty name cannot be opened.
    SkinLintResult Lint(const wchar_t* xmlFile);
    // In the order found: by file as the walk reaches it, then by line.
    const std::vector<SkinProblem>& GetProblems() const { return m_problems; }

    // "file(line): message", or "file: message" for line 0.
    static CUIString FormatProblem(const SkinProblem& problem);

private:
    SkinLocation m_location;
    std::vector<SkinProblem> m_problems;
};

}  // namespace DuiLib
