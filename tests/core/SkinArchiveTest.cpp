#include "ui/markup/SkinArchive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TestSkin.h"

using namespace DuiLib;
using DuiLib::test::ReadBesideTests;

namespace {

const char kPassword[] = "kalvex12";

struct Extracted
{
    SkinArchiveStatus status;
    std::vector<BYTE> bytes;
    bool nullOnFailure;
};

Extracted Extract(CSkinArchive& archive, const wchar_t* name)
{
    BYTE* bytes = reinterpret_cast<BYTE*>(1);
    unsigned size = 12345;
    Extracted result;
    result.status = archive.ReadEntry(name, bytes, size);
    if (result.status == SkinArchiveStatus::Ok)
        result.bytes.assign(bytes, bytes + size);
    result.nullOnFailure = result.status == SkinArchiveStatus::Ok || (bytes == nullptr && size == 0);
    delete[] bytes;
    return result;
}

// Offset of the central directory record of the entry whose name is name.
size_t CentralRecordOf(const std::vector<BYTE>& zip, const char* name)
{
    const size_t nameLength = std::strlen(name);
    for (size_t i = 0; i + 46 + nameLength <= zip.size(); ++i)
    {
        if (zip[i] == 'P' && zip[i + 1] == 'K' && zip[i + 2] == 1 && zip[i + 3] == 2 &&
            std::memcmp(&zip[i + 46], name, nameLength) == 0)
            return i;
    }
    ADD_FAILURE() << "no central record for " << name;
    return 0;
}

void PutLong(std::vector<BYTE>& zip, size_t at, unsigned value)
{
    for (int i = 0; i < 4; ++i)
        zip[at + i] = static_cast<BYTE>(value >> (8 * i));
}

unsigned GetLong(const std::vector<BYTE>& zip, size_t at)
{
    return zip[at] | (zip[at + 1] << 8) | (zip[at + 2] << 16) | (static_cast<unsigned>(zip[at + 3]) << 24);
}

class SkinArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_deflated = ReadBesideTests(L"skin_deflated.zip");
        m_stored = ReadBesideTests(L"skin_stored.zip");
        m_plain = ReadBesideTests(L"skin_plain.zip");
        m_mainXml = ReadBesideTests(L"skin\\main.xml");
        m_readme = ReadBesideTests(L"skin\\bk\\Readme.txt");
        ASSERT_FALSE(m_deflated.empty());
        ASSERT_FALSE(m_stored.empty());
        ASSERT_FALSE(m_plain.empty());
        ASSERT_FALSE(m_mainXml.empty());
        ASSERT_FALSE(m_readme.empty());
    }

    static std::unique_ptr<CSkinArchive> Open(const std::vector<BYTE>& zip, const char* password)
    {
        return std::unique_ptr<CSkinArchive>(
            CSkinArchive::OpenFromMemory(zip.data(), static_cast<unsigned>(zip.size()), password));
    }

    std::vector<BYTE> m_deflated, m_stored, m_plain, m_mainXml, m_readme;
};

}  // namespace

TEST_F(SkinArchiveTest, EveryStorageFormExtractsToTheOriginalBytes)
{
    struct Case
    {
        const std::vector<BYTE>* zip;
        const char* password;
    } cases[] = {{&m_deflated, kPassword}, {&m_stored, kPassword}, {&m_plain, nullptr}};
    for (const Case& c : cases)
    {
        std::unique_ptr<CSkinArchive> archive = Open(*c.zip, c.password);
        ASSERT_NE(nullptr, archive);
        Extracted xml = Extract(*archive, L"main.xml");
        EXPECT_EQ(SkinArchiveStatus::Ok, xml.status);
        EXPECT_EQ(m_mainXml, xml.bytes);
        Extracted readme = Extract(*archive, L"bk/Readme.txt");
        EXPECT_EQ(SkinArchiveStatus::Ok, readme.status);
        EXPECT_EQ(m_readme, readme.bytes);
    }
}

TEST_F(SkinArchiveTest, EntryNamesMatchWithoutRegardToLetterCase)
{
    std::unique_ptr<CSkinArchive> archive = Open(m_deflated, kPassword);
    ASSERT_NE(nullptr, archive);
    EXPECT_EQ(m_mainXml, Extract(*archive, L"MAIN.XML").bytes);
    EXPECT_EQ(m_readme, Extract(*archive, L"BK/readme.TXT").bytes);
}

TEST_F(SkinArchiveTest, MissingOrEmptyNamesAreNotFound)
{
    std::unique_ptr<CSkinArchive> archive = Open(m_deflated, kPassword);
    ASSERT_NE(nullptr, archive);
    EXPECT_EQ(SkinArchiveStatus::NotFound, Extract(*archive, L"bk/missing.png").status);
    EXPECT_EQ(SkinArchiveStatus::NotFound, Extract(*archive, L"Readme.txt").status);
    EXPECT_EQ(SkinArchiveStatus::NotFound, Extract(*archive, L"").status);
    EXPECT_EQ(SkinArchiveStatus::NotFound, Extract(*archive, nullptr).status);
}

TEST_F(SkinArchiveTest, EncipheredEntriesNeedTheRightPassword)
{
    for (const std::vector<BYTE>* zip : {&m_deflated, &m_stored})
    {
        for (const char* password : {"kalvex13", "KALVEX12", "", static_cast<const char*>(nullptr)})
        {
            std::unique_ptr<CSkinArchive> archive = Open(*zip, password);
            ASSERT_NE(nullptr, archive);
            const bool none = password == nullptr || password[0] == '\0';
            for (const wchar_t* name : {L"main.xml", L"bk/Readme.txt"})
            {
                Extracted entry = Extract(*archive, name);
                EXPECT_EQ(none ? SkinArchiveStatus::WrongPassword : SkinArchiveStatus::Damaged, entry.status)
                    << (password ? password : "(null)");
                EXPECT_TRUE(entry.nullOnFailure);
            }
        }
    }
}

TEST_F(SkinArchiveTest, PasswordIsCutToSixtyFourBytes)
{
    // The right password followed by enough bytes to pass 64: only the first
    // 64 are used, so the result is a wrong password, not a crash.
    std::string longPassword = std::string(kPassword) + std::string(70, 'x');
    std::unique_ptr<CSkinArchive> archive = Open(m_deflated, longPassword.c_str());
    ASSERT_NE(nullptr, archive);
    EXPECT_EQ(SkinArchiveStatus::Damaged, Extract(*archive, L"main.xml").status);
}

TEST_F(SkinArchiveTest, BytesThatAreNoArchiveDoNotOpen)
{
    std::vector<BYTE> text(m_mainXml);
    EXPECT_EQ(nullptr, Open(text, nullptr));
    EXPECT_EQ(nullptr, CSkinArchive::OpenFromMemory(nullptr, 100, nullptr));
    EXPECT_EQ(nullptr, CSkinArchive::OpenFromMemory(m_deflated.data(), 0, nullptr));
}

TEST_F(SkinArchiveTest, EveryTruncationFailsCleanly)
{
    // Cut anywhere, the archive loses its 22-byte end record and never opens.
    const size_t end = m_deflated.size() - 22;
    ASSERT_EQ(0x06054B50u, GetLong(m_deflated, end)) << "the archive has a comment after its end record";
    int opened = 0;
    for (size_t length = 1; length < m_deflated.size(); ++length)
    {
        std::vector<BYTE> cut(m_deflated.begin(), m_deflated.begin() + length);
        opened += Open(cut, kPassword) != nullptr;
    }
    EXPECT_EQ(0, opened);

    // The last entry's data cut short with the directory kept behind it (the
    // end record pointing to its new place): every such archive opens, the
    // first entry reads whole and the cut one fails without handing out bytes
    // (or, where the bytes that follow happen to end the stream as the lost
    // ones did, reads whole: the enciphered bytes differ from build to build,
    // so how often that happens is not fixed, but it is rare).
    const size_t directory = GetLong(m_deflated, end + 16);
    const size_t record = CentralRecordOf(m_deflated, "bk/Readme.txt");
    const size_t local = GetLong(m_deflated, record + 42);
    const size_t data = local + 30 + (m_deflated[local + 26] | m_deflated[local + 27] << 8) +
                        (m_deflated[local + 28] | m_deflated[local + 29] << 8);
    const size_t dataEnd = data + GetLong(m_deflated, record + 20);
    ASSERT_LE(dataEnd, directory) << "bk/Readme.txt is not the last entry";
    opened = 0;
    int failed = 0;
    for (size_t length = data; length < dataEnd; ++length)
    {
        std::vector<BYTE> cut(m_deflated.begin(), m_deflated.begin() + length);
        cut.insert(cut.end(), m_deflated.begin() + directory, m_deflated.end());
        PutLong(cut, cut.size() - 22 + 16, static_cast<unsigned>(length));
        std::unique_ptr<CSkinArchive> archive = Open(cut, kPassword);
        if (archive == nullptr)
            continue;
        ++opened;
        EXPECT_EQ(m_mainXml, Extract(*archive, L"main.xml").bytes) << "length " << length;
        Extracted readme = Extract(*archive, L"bk/Readme.txt");
        failed += readme.status != SkinArchiveStatus::Ok;
        EXPECT_TRUE(readme.status != SkinArchiveStatus::Ok || readme.bytes == m_readme) << "length " << length;
        EXPECT_TRUE(readme.nullOnFailure) << "length " << length;
    }
    EXPECT_EQ(static_cast<int>(dataEnd - data), opened);
    EXPECT_GE(failed, opened / 2);
}

TEST_F(SkinArchiveTest, NoSingleDamagedByteYieldsWrongContent)
{
    // Flipping any one byte either leaves the entry intact (a field nothing
    // checks) or makes the read fail; it never hands back other bytes.
    for (size_t at = 0; at < m_deflated.size(); ++at)
    {
        std::vector<BYTE> damaged(m_deflated);
        damaged[at] ^= 0xA5;
        std::unique_ptr<CSkinArchive> archive = Open(damaged, kPassword);
        if (archive == nullptr)
            continue;
        Extracted xml = Extract(*archive, L"main.xml");
        Extracted readme = Extract(*archive, L"bk/Readme.txt");
        if (xml.status == SkinArchiveStatus::Ok)
        {
            EXPECT_EQ(m_mainXml, xml.bytes) << "byte " << at;
        }
        if (readme.status == SkinArchiveStatus::Ok)
        {
            EXPECT_EQ(m_readme, readme.bytes) << "byte " << at;
        }
        EXPECT_TRUE(xml.nullOnFailure && readme.nullOnFailure) << "byte " << at;
    }
}

TEST_F(SkinArchiveTest, ClaimedSizesAreCheckedBeforeAllocation)
{
    // Central directory record: compressed size at +20, uncompressed at +24.
    const size_t record = CentralRecordOf(m_deflated, "bk/Readme.txt");
    const unsigned realSize = GetLong(m_deflated, record + 24);
    ASSERT_EQ(m_readme.size(), realSize);
    struct Case
    {
        size_t offset;
        unsigned value;
        SkinArchiveStatus expected;
    } cases[] = {
        {24, 0xFFFFFFF0u, SkinArchiveStatus::TooLarge},
        {24, CSkinArchive::kMaxEntryBytes + 1, SkinArchiveStatus::TooLarge},
        // Within the limit but beyond what deflate can expand the data to.
        {24, CSkinArchive::kMaxEntryBytes, SkinArchiveStatus::Damaged},
        {24, realSize + 1, SkinArchiveStatus::Damaged},
        {24, realSize - 1, SkinArchiveStatus::Damaged},
        {20, 0x7FFFFFF0u, SkinArchiveStatus::Damaged},
        {20, static_cast<unsigned>(m_deflated.size()) + 1, SkinArchiveStatus::Damaged},
        {20, 11, SkinArchiveStatus::Damaged},
    };
    for (const Case& c : cases)
    {
        std::vector<BYTE> patched(m_deflated);
        PutLong(patched, record + c.offset, c.value);
        std::unique_ptr<CSkinArchive> archive = Open(patched, kPassword);
        ASSERT_NE(nullptr, archive);
        Extracted readme = Extract(*archive, L"bk/Readme.txt");
        EXPECT_EQ(c.expected, readme.status) << "offset " << c.offset << " value " << c.value;
        EXPECT_TRUE(readme.nullOnFailure);
        // The neighbouring entry is untouched.
        EXPECT_EQ(m_mainXml, Extract(*archive, L"main.xml").bytes);
    }
}
