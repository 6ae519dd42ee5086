#include "app/RegistryHelpers.h"

#include <gtest/gtest.h>

#include <string>

using kalvex::DeleteRegistryTree;
using kalvex::ReadRegistryString;
using kalvex::WriteRegistryValue;

namespace {

// Every test works under its own key, removed again in both registry views.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_key = L"SOFTWARE\\kalvex-tests\\registry-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(s_serial++);
    }
    void TearDown() override
    {
        for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY)}) {
            for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
                HKEY parent = nullptr;
                if (RegOpenKeyExW(root, L"SOFTWARE\\kalvex-tests", 0, KEY_ALL_ACCESS | view, &parent) ==
                    ERROR_SUCCESS) {
                    RegDeleteTreeW(parent, m_key.substr(m_key.rfind(L'\\') + 1).c_str());
                    RegCloseKey(parent);
                }
            }
        }
    }

    void Put(HKEY root, REGSAM view, const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, m_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                                 &key, nullptr));
        if (name != nullptr) {
            EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
        }
        RegCloseKey(key);
    }
    void PutString(HKEY root, REGSAM view, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
    {
        Put(root, view, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring m_key;
    static int s_serial;
};
int RegistryTest::s_serial = 0;

}  // namespace

TEST_F(RegistryTest, ReadsStringsAndNumbersAsTheCallerAsks)
{
    PutString(HKEY_CURRENT_USER, 0, L"Path", L"C:\\Program Files\\velko\\kalvex.exe");
    const DWORD answer = 42;
    Put(HKEY_CURRENT_USER, 0, L"Answer", REG_DWORD, &answer, sizeof answer);
    const DWORD negative = 0xFFFFFFFE;
    Put(HKEY_CURRENT_USER, 0, L"Negative", REG_BINARY, &negative, sizeof negative);

    std::wstring text = L"stale";
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, m_key.c_str(), L"Path", REG_SZ, text));
    EXPECT_EQ(L"C:\\Program Files\\velko\\kalvex.exe", text);
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, m_key.c_str(), L"Answer", REG_DWORD, text));
    EXPECT_EQ(L"42", text);
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, m_key.c_str(), L"Negative", REG_BINARY, text));
    EXPECT_EQ(L"-2", text);
}

TEST_F(RegistryTest, OtherRequestedTypesYieldTrueWithEmptyText)
{
    PutString(HKEY_CURRENT_USER, 0, L"Expand", L"%TEMP%\\x", REG_EXPAND_SZ);
    std::wstring text = L"stale";
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, m_key.c_str(), L"Expand", REG_EXPAND_SZ, text));
    EXPECT_EQ(L"", text);
}

TEST_F(RegistryTest, MissingKeyOrValueIsFalseWithClearedText)
{
    std::wstring text = L"stale";
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, m_key.c_str(), L"Path", REG_SZ, text));
    EXPECT_EQ(L"", text);
    Put(HKEY_CURRENT_USER, 0, nullptr, 0, nullptr, 0);
    text = L"stale";
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, m_key.c_str(), L"Path", REG_SZ, text));
    EXPECT_EQ(L"", text);
}

TEST_F(RegistryTest, ValueOnlyInThe64BitViewIsFoundByTheRetry)
{
    // The key exists in both views, the value only where a 64-bit installer
    // would have written it.
    Put(HKEY_LOCAL_MACHINE, 0, nullptr, 0, nullptr, 0);
    PutString(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"UninstallString", L"C:\\Program Files\\velko\\kalvex.exe");
    std::wstring text;
    ASSERT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, m_key.c_str(), L"UninstallString", REG_SZ, text));
    EXPECT_EQ(L"C:\\Program Files\\velko\\kalvex.exe", text);
}

TEST_F(RegistryTest, KeyOnlyInThe64BitViewIsNotFound)
{
    PutString(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"UninstallString", L"C:\\x\\kalvex.exe");
    std::wstring text;
    EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, m_key.c_str(), L"UninstallString", REG_SZ, text));
}

TEST_F(RegistryTest, OverlongValueIsRefusedNotCut)
{
    // The query announces 10,240 bytes: a string of 5,120 characters plus its
    // terminator does not fit and must not come back shortened.
    PutString(HKEY_CURRENT_USER, 0, L"Long", std::wstring(5120, L'x'));
    PutString(HKEY_CURRENT_USER, 0, L"Fits", std::wstring(5119, L'y'));
    std::wstring text;
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, m_key.c_str(), L"Long", REG_SZ, text));
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, m_key.c_str(), L"Fits", REG_SZ, text));
    EXPECT_EQ(5119u, text.size());
}

TEST_F(RegistryTest, WriteCreatesTheKeyAndDeleteRemovesTheTree)
{
    const std::wstring sub = m_key + L"\\nested\\deeper";
    const DWORD value = 8000;
    ASSERT_TRUE(WriteRegistryValue(HKEY_CURRENT_USER, sub.c_str(), L"mode", REG_DWORD, &value, sizeof value));
    std::wstring text;
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, sub.c_str(), L"mode", REG_DWORD, text));
    EXPECT_EQ(L"8000", text);

    EXPECT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, m_key.c_str()));
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CURRENT_USER, m_key.c_str(), 0, KEY_READ, &key));
    EXPECT_FALSE(DeleteRegistryTree(HKEY_CURRENT_USER, m_key.c_str()));
}

TEST(BrowserEmulation, WritesTheExecutableNameUnderBothRoots)
{
    kalvex::SetBrowserEmulation(8000);
    struct Place {
        HKEY root;
        const wchar_t* key;
    };
    const Place places[] = {
        {HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION"},
        {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION"}};
    for (const Place& place : places) {
        HKEY root = place.root;
        std::wstring text;
        EXPECT_TRUE(ReadRegistryString(root, place.key, L"app_tests.exe", REG_DWORD, text));
        EXPECT_EQ(L"8000", text);
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, place.key, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"app_tests.exe");
            RegCloseKey(key);
        }
    }
}
