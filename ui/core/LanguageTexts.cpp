// CLanguageTexts: the id -> text table behind "%{n}" tokens, and the token
// expansion that reads it. A text containing its own token expands once.
#include "ui/core/LanguageTexts.h"

#include <climits>

#include "ui/core/NameMap.h"

namespace DuiLib {

namespace {

CNameMap& Texts()
{
    static CNameMap texts;  // decimal id -> owned CUIString
    return texts;
}

CUIString DecimalKey(int id)
{
    CUIString key;
    key.Format(L"%d", id);
    return key;
}

}  // namespace

void CLanguageTexts::Add(int id, const wchar_t* text)
{
    CUIString* copy = new CUIString(text);
    void* previous = Texts().Set(DecimalKey(id).GetData(), copy);
    // Set hands back the new value itself when it could not store it.
    if (previous != copy)
        delete static_cast<CUIString*>(previous);
}

const wchar_t* CLanguageTexts::Get(int id)
{
    CUIString* text = static_cast<CUIString*>(Texts().Find(DecimalKey(id).GetData()));
    return text != nullptr ? text->GetData() : nullptr;
}

void CLanguageTexts::ExpandTokens(CUIString& text)
{
    int percent = text.Find(L'%');
    while (percent >= 0)
    {
        int resume = percent + 1;
        int end = percent + 2;
        long long number = 0;
        if (text.GetAt(percent + 1) == L'{')
        {
            while (text.GetAt(end) >= L'0' && text.GetAt(end) <= L'9')
            {
                if (number <= INT_MAX)
                    number = number * 10 + (text.GetAt(end) - L'0');
                ++end;
            }
            const wchar_t* replacement = nullptr;
            if (text.GetAt(end) == L'}' && number <= INT_MAX)
                replacement = Get(static_cast<int>(number));
            if (replacement != nullptr)
            {
                CUIString token = text.Mid(percent, end - percent + 1);
                // Copied first: the registered text must outlive the edit.
                CUIString value(replacement);
                text.Replace(token.GetData(), value.GetData());
                // Resuming after the inserted text keeps a text that contains
                // its own token from expanding forever.
                resume = percent + value.GetLength();
            }
        }
        percent = resume < text.GetLength() ? text.Find(L'%', resume) : -1;
    }
}

}  // namespace DuiLib
