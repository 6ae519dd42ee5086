#include "app/ProcessHelpers.h"
#include "app/ScopedLock.h"
#include "app/SingleInstanceLock.h"

#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using kalvex::FindProcessByName;
using kalvex::KillProcessesByName;
using kalvex::KillScope;
using kalvex::NameMatch;
using kalvex::test::CSleeperProcesses;

namespace {

class ProcessTest : public ::testing::Test {
protected:
    ProcessTest() : m_sleepers(L"process") {}
    HANDLE Start(const std::wstring& folder, const std::wstring& name) { return m_sleepers.Start(folder, name); }
    static bool EndsWithin(HANDLE process, DWORD ms) { return CSleeperProcesses::EndsWithin(process, ms); }

    CSleeperProcesses m_sleepers;
};

}  // namespace

TEST_F(ProcessTest, FindIgnoresLetterCaseOnlyWhenAsked)
{
    HANDLE process = Start(L"a", L"kxfind_client.exe");
    ASSERT_NE(nullptr, process);
    const long id = static_cast<long>(GetProcessId(process));
    EXPECT_EQ(id, FindProcessByName(L"kxfind_client.exe", NameMatch::IgnoreCase));
    EXPECT_EQ(id, FindProcessByName(L"KXFIND_Client.EXE", NameMatch::IgnoreCase));
    EXPECT_EQ(id, FindProcessByName(L"kxfind_client.exe", NameMatch::Exact));
    EXPECT_EQ(-1, FindProcessByName(L"KXFIND_Client.EXE", NameMatch::Exact));
    EXPECT_EQ(-1, FindProcessByName(L"kxfind_client", NameMatch::IgnoreCase));
    EXPECT_EQ(-1, FindProcessByName(L"kxfind_absent.exe", NameMatch::IgnoreCase));
}

TEST_F(ProcessTest, KillAllEndsEverySameNamedProcessWithExitCodeZero)
{
    std::vector<HANDLE> clients;
    for (const wchar_t* folder : {L"a", L"b", L"c"})
        clients.push_back(Start(folder, L"kxkill_client.exe"));
    HANDLE bystander = Start(L"d", L"kxkill_other.exe");
    ASSERT_NE(nullptr, bystander);

    EXPECT_TRUE(KillProcessesByName(L"kxkill_client.exe", KillScope::All));
    for (HANDLE client : clients) {
        ASSERT_TRUE(EndsWithin(client, 5000));
        DWORD code = 99;
        GetExitCodeProcess(client, &code);
        EXPECT_EQ(0u, code);
    }
    EXPECT_FALSE(EndsWithin(bystander, 200));
    EXPECT_EQ(-1, FindProcessByName(L"kxkill_client.exe", NameMatch::IgnoreCase));
}

TEST_F(ProcessTest, KillFirstOnlyLeavesTheOthersRunning)
{
    HANDLE first = Start(L"a", L"kxfirst.exe");
    HANDLE second = Start(L"b", L"kxfirst.exe");
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_TRUE(KillProcessesByName(L"kxfirst.exe", KillScope::FirstOnly));
    HANDLE both[] = {first, second};
    const DWORD ended = WaitForMultipleObjects(2, both, FALSE, 5000) - WAIT_OBJECT_0;
    ASSERT_LT(ended, 2u) << "neither process ended";
    EXPECT_FALSE(EndsWithin(both[1 - ended], 300)) << "both processes ended";
}

TEST_F(ProcessTest, ClientNamedInOtherLetterCaseIsFoundButSurvivesTermination)
{
    HANDLE client = Start(L"a", L"KXCASE_Velko.exe");
    ASSERT_NE(nullptr, client);
    EXPECT_NE(-1, FindProcessByName(L"kxcase_velko.exe", NameMatch::IgnoreCase));
    EXPECT_TRUE(KillProcessesByName(L"kxcase_velko.exe", KillScope::All));
    EXPECT_FALSE(EndsWithin(client, 300));
    EXPECT_TRUE(KillProcessesByName(L"nothing_runs_by_this_name.exe", KillScope::All));
}

TEST(SingleInstanceLock, SecondCreatorSeesTheMarkerUntilAllHandlesClose)
{
    const std::string name = "Global\\_kalvex_test_once_" + std::to_string(GetCurrentProcessId());
    kalvex::CSingleInstanceLock first;
    ASSERT_TRUE(first.Create(name.c_str()));
    EXPECT_FALSE(first.AlreadyExists());
    {
        kalvex::CSingleInstanceLock second;
        ASSERT_TRUE(second.Create(name.c_str()));
        EXPECT_TRUE(second.AlreadyExists());
        second.Close();
        second.Close();
    }
    first.Close();
    kalvex::CSingleInstanceLock third;
    ASSERT_TRUE(third.Create(name.c_str()));
    EXPECT_FALSE(third.AlreadyExists());
}

TEST(ScopedLock, HoldsTheSectionUntilReleasedOrDestroyed)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    auto othersCanEnter = [&section] {
        bool entered = false;
        std::thread([&] {
            entered = TryEnterCriticalSection(&section) != FALSE;
            if (entered)
                LeaveCriticalSection(&section);
        }).join();
        return entered;
    };
    {
        kalvex::CScopedLock lock(&section);
        EXPECT_FALSE(othersCanEnter());
        lock.Release();
        EXPECT_TRUE(othersCanEnter());
    }
    {
        kalvex::CScopedLock lock(&section);
        EXPECT_FALSE(othersCanEnter());
    }
    EXPECT_TRUE(othersCanEnter());
    kalvex::CScopedLock none(nullptr);
    DeleteCriticalSection(&section);
}
