#include "ui/core/Delegate.h"

#include <gtest/gtest.h>
#include <string>

using DuiLib::CDelegate;
using DuiLib::CDelegateBase;
using DuiLib::CEventHub;

namespace {

// Records each call as its letter, answering as configured.
class CRecorder
{
public:
    explicit CRecorder(std::string* calls) : m_calls(calls) {}

    bool Yes(void* param)
    {
        Record('y', param);
        return true;
    }
    bool No(void* param)
    {
        Record('n', param);
        return false;
    }
    bool Also(void* param)
    {
        Record('a', param);
        return true;
    }

    void* m_lastParam = nullptr;

private:
    void Record(char letter, void* param)
    {
        *m_calls += letter;
        m_lastParam = param;
    }

    std::string* m_calls;
};

}  // namespace

TEST(Delegate, InvokeCallsTheBoundMemberWithTheParameter)
{
    std::string calls;
    CRecorder recorder(&calls);
    int param = 0;
    const CDelegate<CRecorder> yes(&recorder, &CRecorder::Yes);
    const CDelegate<CRecorder> no(&recorder, &CRecorder::No);
    EXPECT_TRUE(yes.Invoke(&param));
    EXPECT_EQ(&param, recorder.m_lastParam);
    EXPECT_FALSE(no.Invoke(nullptr));
    EXPECT_EQ("yn", calls);
    EXPECT_EQ(&recorder, yes.Target());
}

TEST(Delegate, EqualWhenObjectAndFunctionAreTheSame)
{
    std::string calls;
    CRecorder first(&calls);
    CRecorder second(&calls);
    const CDelegate<CRecorder> a(&first, &CRecorder::Yes);
    EXPECT_TRUE(a == CDelegate<CRecorder>(&first, &CRecorder::Yes));
    EXPECT_TRUE(a != CDelegate<CRecorder>(&first, &CRecorder::Also));
    EXPECT_TRUE(a != CDelegate<CRecorder>(&second, &CRecorder::Yes));
}

TEST(Delegate, CopyIsBoundToTheSameTarget)
{
    std::string calls;
    CRecorder recorder(&calls);
    const CDelegate<CRecorder> original(&recorder, &CRecorder::No);
    CDelegateBase* copy = original.Copy();
    EXPECT_TRUE(*copy == original);
    EXPECT_FALSE(copy->Invoke(nullptr));
    EXPECT_EQ("n", calls);
    delete copy;
}

TEST(EventHub, EmptyHubAnswersTrueAndTestsFalse)
{
    CEventHub hub;
    EXPECT_FALSE(static_cast<bool>(hub));
    EXPECT_TRUE(hub(nullptr));
}

TEST(EventHub, InvokesInOrderAddedAndStopsAtTheFirstVeto)
{
    std::string calls;
    CRecorder recorder(&calls);
    CEventHub hub;
    hub += CDelegate<CRecorder>(&recorder, &CRecorder::Yes);
    hub += CDelegate<CRecorder>(&recorder, &CRecorder::No);
    hub += CDelegate<CRecorder>(&recorder, &CRecorder::Also);
    EXPECT_TRUE(static_cast<bool>(hub));
    EXPECT_FALSE(hub(nullptr));
    EXPECT_EQ("yn", calls);
}

TEST(EventHub, AllTrueAnswersTrueAndPassesTheParameterToEach)
{
    std::string calls;
    CRecorder first(&calls);
    CRecorder second(&calls);
    int param = 0;
    CEventHub hub;
    hub += CDelegate<CRecorder>(&first, &CRecorder::Also);
    hub += CDelegate<CRecorder>(&second, &CRecorder::Yes);
    EXPECT_TRUE(hub(&param));
    EXPECT_EQ("ay", calls);
    EXPECT_EQ(&param, first.m_lastParam);
    EXPECT_EQ(&param, second.m_lastParam);
}

TEST(EventHub, AddingAnEqualDelegateTwiceKeepsOne)
{
    std::string calls;
    CRecorder recorder(&calls);
    CRecorder other(&calls);
    CEventHub hub;
    const CDelegate<CRecorder> yes(&recorder, &CRecorder::Yes);
    hub += yes;
    hub += yes;
    hub += CDelegate<CRecorder>(&recorder, &CRecorder::Yes);
    hub += CDelegate<CRecorder>(&other, &CRecorder::Yes);
    EXPECT_TRUE(hub(nullptr));
    EXPECT_EQ("yy", calls);
}

TEST(EventHub, HoldsItsOwnCopiesOfTheDelegates)
{
    std::string calls;
    CRecorder recorder(&calls);
    CEventHub hub;
    {
        const CDelegate<CRecorder> temporary(&recorder, &CRecorder::Also);
        hub += temporary;
    }
    EXPECT_TRUE(hub(nullptr));
    EXPECT_EQ("a", calls);
}

namespace {

// Counts live delegates so a test can see the hub delete its copies.
class CCountedDelegate : public CDelegateBase
{
public:
    explicit CCountedDelegate(int* live) : CDelegateBase(live, &CCountedDelegate::Answer), m_live(live)
    {
        ++*m_live;
    }
    CCountedDelegate(const CCountedDelegate& other) : CDelegateBase(other), m_live(other.m_live) { ++*m_live; }
    ~CCountedDelegate() override { --*m_live; }

    CDelegateBase* Copy() const override { return new CCountedDelegate(*this); }
    bool Invoke(void*) const override { return true; }

private:
    bool Answer(void*) { return true; }

    int* m_live;
};

}  // namespace

TEST(EventHub, DestructionDeletesEveryHeldDelegate)
{
    int live = 0;
    {
        const CCountedDelegate delegate(&live);
        CEventHub hub;
        hub += delegate;
        hub += delegate;
        EXPECT_EQ(2, live);
    }
    EXPECT_EQ(0, live);
}
