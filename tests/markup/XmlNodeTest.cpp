// Node handles: navigation, the lazily mapped attributes and their limit of
// 64, and the lookup by name with its copy rules.
#include "ui/markup/XmlDocument.h"

#include <gtest/gtest.h>
#include <string>

using DuiLib::CXmlDocument;
using DuiLib::CXmlNode;

TEST(XmlNode, MissingNodesAnswerNullFalseAndZeroSoChainsStaySafe)
{
    CXmlDocument document(L"<r t=\"1\"><a><a1/></a><b/></r>");
    const CXmlNode a = document.GetRoot().GetChild();
    EXPECT_STREQ(L"b", a.GetSibling().GetName());
    EXPECT_FALSE(a.GetChild().GetSibling().IsValid() || a.GetSibling().HasChildren());
    EXPECT_STREQ(L"", document.GetRoot().GetAttributeName(1));
    EXPECT_STREQ(L"", document.GetRoot().GetAttributeValue(-1));

    const CXmlNode node = a.GetSibling().GetSibling().GetChild();
    EXPECT_FALSE(node.IsValid() || node.GetChild().IsValid() || node.GetSibling().IsValid());
    EXPECT_FALSE(node.HasChildren() || node.HasAttributes() || node.GetAttributeCount() != 0);
    EXPECT_EQ(nullptr, node.GetName());
    EXPECT_EQ(nullptr, node.GetAttributeName(0));
    EXPECT_EQ(nullptr, node.GetAttributeValue(0));
    wchar_t value[4] = L"zzz";
    EXPECT_FALSE(node.GetAttributeValue(L"t", value, 3));
    EXPECT_STREQ(L"zzz", value);
}

TEST(XmlNode, Only64AttributesAreVisibleInDocumentOrder)
{
    std::wstring text = L"<Many";
    for (int i = 1; i <= 65; ++i)
        text += L" a" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    CXmlDocument document((text + L"/>").c_str());
    const CXmlNode node = document.GetRoot();
    ASSERT_EQ(64, node.GetAttributeCount());
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(L"a" + std::to_wstring(i + 1), node.GetAttributeName(i));
        EXPECT_EQ(L"v" + std::to_wstring(i + 1), node.GetAttributeValue(i));
    }
    wchar_t value[8] = {};
    EXPECT_TRUE(node.GetAttributeValue(L"a64", value, 7));
    EXPECT_FALSE(node.GetAttributeValue(L"a65", value, 7));
}

TEST(XmlNode, LookupFindsTheFirstExactNameAndTerminatesOnlyAShorterValue)
{
    CXmlDocument document(L"<Image Source=\"upper\" source=\"abcdef\" source=\"2\" fit=\"abcd\" short=\"ab\"/>");
    const CXmlNode node = document.GetRoot();
    wchar_t value[8] = L"#######";
    EXPECT_TRUE(node.GetAttributeValue(L"Source", value, 7));
    EXPECT_STREQ(L"upper", value);
    for (const wchar_t* name : {L"source", L"fit"}) {
        wchar_t cut[8] = L"#######";
        EXPECT_TRUE(node.GetAttributeValue(name, cut, 4));
        EXPECT_STREQ(L"abcd###", cut) << name;
    }
    wchar_t shorter[8] = L"#######";
    EXPECT_TRUE(node.GetAttributeValue(L"short", shorter, 4));
    EXPECT_EQ(std::wstring(L"ab\0####", 7), std::wstring(shorter, 7));
    EXPECT_FALSE(node.GetAttributeValue(L"SOURCE", value, 7) || node.GetAttributeValue(L"sour", value, 7));
    EXPECT_FALSE(node.GetAttributeValue(nullptr, value, 7) || node.GetAttributeValue(L"fit", nullptr, 7));
}

// The mapper crosses strings two units at a time: values of every short
// length, starting at either alignment, and values that entities shrank
// (spaces behind their NUL) are found whole and in order.
TEST(XmlNode, ValuesOfEveryLengthAndAlignmentAreMappedWhole)
{
    std::wstring text = L"<r";
    std::wstring expected;
    for (int length = 0; length < 10; ++length) {
        const std::wstring value(static_cast<size_t>(length), L'v');
        text += L" n=\"" + value + L"\" nn=\"" + value + L"\"";
        expected += value + L"|" + value + L"|";
    }
    text += L" e=\"&amp;&lt;x\" f=\"&quot;\"/>";
    expected += L"&<x|\"|";
    CXmlDocument document(text.c_str());
    const CXmlNode node = document.GetRoot();
    ASSERT_EQ(22, node.GetAttributeCount());
    std::wstring seen;
    for (int i = 0; i < node.GetAttributeCount(); ++i)
        seen += node.GetAttributeValue(i) + std::wstring(L"|");
    EXPECT_EQ(expected, seen);
    EXPECT_STREQ(L"f", node.GetAttributeName(21));
}

TEST(XmlNode, CopiesKeepTheAttributesFoundSoFar)
{
    CXmlDocument document(L"<r a=\"1\" b=\"2\"><c d=\"3\"/></r>");
    const CXmlNode mapped = document.GetRoot();
    ASSERT_EQ(2, mapped.GetAttributeCount());
    const CXmlNode copy(mapped);
    CXmlNode assigned = mapped.GetChild();
    ASSERT_EQ(1, assigned.GetAttributeCount());
    assigned = copy;
    for (const CXmlNode* node : {&copy, static_cast<const CXmlNode*>(&assigned)}) {
        EXPECT_EQ(2, node->GetAttributeCount());
        EXPECT_STREQ(L"b", node->GetAttributeName(1));
        EXPECT_STREQ(L"2", node->GetAttributeValue(1));
    }
    assigned = mapped.GetChild();
    EXPECT_EQ(1, assigned.GetAttributeCount());
    EXPECT_STREQ(L"3", assigned.GetAttributeValue(0));
}
