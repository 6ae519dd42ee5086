// A bounded, seeded mutation run over real skin files: skin documents, images
// and the password-protected skin archive, with bytes flipped, cut off and
// duplicated, go through the XML reader, the archive reader and the image
// loader. Each call must answer with a consistent result and the process must
// survive; nothing else is asserted. The counts of what still loaded are
// printed so that a run shows how much of each path was exercised.
#include "ui/markup/XmlDocument.h"

#include "tests/markup/MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "ui/markup/SkinArchive.h"
#include "ui/markup/SkinLocation.h"
#include "ui/render/RenderKit.h"

using namespace DuiLib;
using test::ReadSample;

namespace {

using Bytes = std::vector<unsigned char>;

// Fixed seeds: every run feeds exactly the same inputs.
constexpr std::uint32_t kDocumentSeed = 0x5EED0001;
constexpr std::uint32_t kImageSeed = 0x5EED0002;
constexpr std::uint32_t kArchiveSeed = 0x5EED0003;
constexpr int kDocumentRounds = 4000;
constexpr int kImageRounds = 3000;
constexpr int kArchiveRounds = 3000;

// Derives damaged copies of a file: one to three edits, each flipping a few
// bytes, cutting the tail off, or repeating a slice somewhere else.
class CMutator
{
public:
    explicit CMutator(std::uint32_t seed) : m_random(seed) {}

    Bytes Mutate(const Bytes& original)
    {
        Bytes bytes = original;
        for (unsigned edits = 1 + Below(3); edits > 0 && !bytes.empty(); --edits) {
            switch (Below(3)) {
            case 0:
                for (unsigned flips = 1 + Below(8); flips > 0; --flips)
                    bytes[Below(Size(bytes))] ^= static_cast<unsigned char>(1 + Below(255));
                break;
            case 1:
                bytes.resize(Below(Size(bytes)));
                break;
            default: {
                const unsigned start = Below(Size(bytes));
                const unsigned length = 1 + Below(Size(bytes) - start);
                const Bytes slice(bytes.begin() + start, bytes.begin() + start + length);
                bytes.insert(bytes.begin() + Below(Size(bytes) + 1), slice.begin(), slice.end());
                break;
            }
            }
        }
        return bytes;
    }

    unsigned Below(unsigned bound) { return bound == 0 ? 0 : static_cast<unsigned>(m_random() % bound); }

private:
    static unsigned Size(const Bytes& bytes) { return static_cast<unsigned>(bytes.size()); }

    // The engine's output sequence is fixed by the standard, unlike the
    // library's distributions.
    std::mt19937 m_random;
};

// Walks the whole tree and reads every attribute, as the layout builder
// would; counts the elements.
int WalkTree(const CXmlNode& first)
{
    int elements = 0;
    for (CXmlNode node = first; node.IsValid(); node = node.GetSibling()) {
        ++elements;
        for (int i = 0; i < node.GetAttributeCount(); ++i)
            EXPECT_TRUE(node.GetAttributeName(i) != nullptr && node.GetAttributeValue(i) != nullptr);
        if (node.HasChildren())
            elements += WalkTree(node.GetChild());
    }
    return elements;
}

// True when the load's answer agrees with the document's state.
bool Consistent(const CXmlDocument& document, bool loaded)
{
    return loaded ? document.IsValid() && document.GetLastErrorMessage()[0] == L'\0'
                  : !document.IsValid() && document.GetLastErrorMessage()[0] != L'\0';
}

}  // namespace

TEST(SkinMutation, DamagedSkinDocumentsLoadOrFailCleanly)
{
    struct Original
    {
        Bytes bytes;
        XmlEncoding encoding;
    };
    const Original originals[] = {
        {ReadSample("skin\\main.xml"), EncodingUtf8},
        {ReadSample("skin\\sub\\Item.xml"), EncodingUtf8},
        {ReadSample("main_utf8_bom.xml"), EncodingUtf8},
        {ReadSample("main_utf16le.xml"), EncodingUtf16},
        {ReadSample("main_utf16be.xml"), EncodingUtf16},
    };
    for (const Original& original : originals)
        ASSERT_FALSE(original.bytes.empty());

    CMutator mutator(kDocumentSeed);
    int loaded = 0;
    long elements = 0;
    CXmlDocument document;
    for (int round = 0; round < kDocumentRounds; ++round) {
        const Original& original = originals[round % 5];
        const Bytes bytes = mutator.Mutate(original.bytes);
        // Now and then the bytes are read in an encoding they are not in.
        const XmlEncoding encoding =
            mutator.Below(8) == 0 ? static_cast<XmlEncoding>(mutator.Below(3)) : original.encoding;
        const bool ok = document.LoadFromBytes(bytes.data(), static_cast<unsigned>(bytes.size()), encoding);
        ASSERT_TRUE(Consistent(document, ok)) << "round " << round;
        if (ok) {
            ++loaded;
            elements += WalkTree(document.GetRoot());
        }
    }
    std::printf("[ mutation ] %d skin documents: %d loaded (%ld elements walked), %d refused\n", kDocumentRounds,
                loaded, elements, kDocumentRounds - loaded);
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, kDocumentRounds);
}

TEST(SkinMutation, DamagedImagesDecodeOrAreRefusedCleanly)
{
    // No BMP here: stb_image reads a BMP's rows past the end of its bytes as
    // zeros, so a damaged 250-byte header claiming millions of rows decodes
    // to hundreds of megabytes, seconds per image. It survives that, but it
    // would dominate the run.
    const Bytes originals[] = {ReadSample("skin\\bk\\main_bk.png"), ReadSample("logo.gif"),
                               ReadSample("photo.jpg")};
    for (const Bytes& original : originals)
        ASSERT_FALSE(original.empty());

    CMutator mutator(kImageSeed);
    int decoded = 0;
    for (int round = 0; round < kImageRounds; ++round) {
        const Bytes bytes = mutator.Mutate(originals[round % 3]);
        ImageEntry* entry =
            CRenderKit::DecodeImageEntry(bytes.data(), static_cast<unsigned>(bytes.size()), 0xFFFF00FF);
        if (entry != nullptr) {
            ++decoded;
            ASSERT_TRUE(entry->width > 0 && entry->height > 0 && entry->pixels != nullptr) << "round " << round;
        }
        ReleaseImageEntry(entry, true);
    }
    std::printf("[ mutation ] %d images: %d decoded, %d refused\n", kImageRounds, decoded, kImageRounds - decoded);
    EXPECT_GT(decoded, 0);
    EXPECT_LT(decoded, kImageRounds);
}

TEST(SkinMutation, DamagedSkinArchivesServeEntriesOrFailCleanly)
{
    const Bytes original = ReadSample("skin.zip");
    ASSERT_FALSE(original.empty());

    CMutator mutator(kArchiveSeed);
    int opened = 0;
    int documents = 0;
    int images = 0;
    for (int round = 0; round < kArchiveRounds; ++round) {
        const Bytes bytes = mutator.Mutate(original);
        std::unique_ptr<CSkinArchive> archive(
            CSkinArchive::OpenFromMemory(bytes.data(), static_cast<unsigned>(bytes.size()), "Skin-7Pw"));
        if (archive == nullptr)
            continue;
        ++opened;
        SkinLocation location;
        location.zipName = L"membuffer";
        location.openZip = archive.get();
        for (const wchar_t* name : {L"main.xml", L"SUB\\item.xml", L"empty.xml", L"big_over.xml"}) {
            CXmlDocument document;
            const bool ok = document.LoadFromSkinFile(name, EncodingUtf8, location);
            ASSERT_TRUE(Consistent(document, ok)) << "round " << round;
            documents += ok;
        }
        ImageEntry* image = CRenderKit::LoadImageEntry(L"bk/main_bk.png", nullptr, 0, location);
        images += image != nullptr;
        ReleaseImageEntry(image, true);
    }
    std::printf("[ mutation ] %d skin archives: %d opened, %d documents and %d images read from them\n",
                kArchiveRounds, opened, documents, images);
    EXPECT_GT(opened, 0);
}
