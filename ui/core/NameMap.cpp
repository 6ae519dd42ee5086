// CNameMap: hashing, chains with move-to-front, and the enumeration order
// (last bucket first, each chain from its head) that callers walk when they
// release what the values point to.
#include "ui/core/NameMap.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <new>

#include "ui/core/UIString.h"

namespace DuiLib {

struct CNameMap::Item
{
    CUIString key;
    void* value;
    Item* prev;
    Item* next;
};

namespace {

// h = h * 33 + unit over the key from its last unit to its first, wrapping
// in 32 bits; the empty key hashes to 0.
unsigned int HashKey(const wchar_t* key)
{
    unsigned int hash = 0;
    for (const wchar_t* unit = key + std::wcslen(key); unit != key;) {
        --unit;
        hash = hash * 33u + static_cast<unsigned int>(*unit);
    }
    return hash;
}

// Map allocations are not reported to callers; running out of memory ends
// the process.
[[noreturn]] void OutOfMemory()
{
    std::fputs("CNameMap: out of memory\n", stderr);
    std::abort();
}

}  // namespace

CNameMap::CNameMap(int buckets) : m_buckets(nullptr), m_bucketCount(0), m_count(0)
{
    AllocateBuckets(buckets < kMinBuckets ? kMinBuckets : buckets);
}

CNameMap::~CNameMap()
{
    FreeItems();
    std::free(m_buckets);
}

void CNameMap::AllocateBuckets(int n)
{
    m_bucketCount = n < 0 ? 0 : n;
    m_buckets = nullptr;
    if (m_bucketCount == 0)
        return;
    m_buckets = static_cast<Item**>(std::calloc(static_cast<size_t>(m_bucketCount), sizeof(Item*)));
    if (m_buckets == nullptr)
        OutOfMemory();
}

void CNameMap::FreeItems()
{
    for (int b = 0; b < m_bucketCount; ++b) {
        Item* item = m_buckets[b];
        while (item != nullptr) {
            Item* next = item->next;
            delete item;
            item = next;
        }
        m_buckets[b] = nullptr;
    }
    m_count = 0;
}

CNameMap::Item* CNameMap::FindItem(const wchar_t* key) const
{
    if (key == nullptr || m_bucketCount == 0)
        return nullptr;
    for (Item* item = m_buckets[HashKey(key) % static_cast<unsigned int>(m_bucketCount)]; item != nullptr;
         item = item->next) {
        if (item->key == key)
            return item;
    }
    return nullptr;
}

void* CNameMap::Find(const wchar_t* key, bool moveToFront)
{
    Item* item = FindItem(key);
    if (item == nullptr)
        return nullptr;
    Item*& head = m_buckets[HashKey(key) % static_cast<unsigned int>(m_bucketCount)];
    if (moveToFront && item != head) {
        // Not the head, so it has a predecessor.
        item->prev->next = item->next;
        if (item->next != nullptr)
            item->next->prev = item->prev;
        item->prev = nullptr;
        item->next = head;
        head->prev = item;
        head = item;
    }
    return item->value;
}

bool CNameMap::Insert(const wchar_t* key, void* value)
{
    if (key == nullptr || m_bucketCount == 0 || FindItem(key) != nullptr)
        return false;
    Item*& head = m_buckets[HashKey(key) % static_cast<unsigned int>(m_bucketCount)];
    Item* item = new (std::nothrow) Item{CUIString(key), value, nullptr, head};
    if (item == nullptr)
        OutOfMemory();
    if (head != nullptr)
        head->prev = item;
    head = item;
    ++m_count;
    return true;
}

void* CNameMap::Set(const wchar_t* key, void* value)
{
    if (key == nullptr || m_bucketCount == 0)
        return value;
    if (Item* item = FindItem(key)) {
        void* previous = item->value;
        item->value = value;
        return previous;
    }
    Insert(key, value);
    return nullptr;
}

bool CNameMap::Remove(const wchar_t* key)
{
    Item* item = FindItem(key);
    if (item == nullptr)
        return false;
    if (item->prev != nullptr)
        item->prev->next = item->next;
    else
        m_buckets[HashKey(key) % static_cast<unsigned int>(m_bucketCount)] = item->next;
    if (item->next != nullptr)
        item->next->prev = item->prev;
    delete item;
    --m_count;
    return true;
}

const wchar_t* CNameMap::GetAt(int index) const
{
    if (index < 0 || index >= m_count)
        return nullptr;
    int position = 0;
    for (int b = m_bucketCount - 1; b >= 0; --b) {
        for (const Item* item = m_buckets[b]; item != nullptr; item = item->next) {
            if (position == index)
                return item->key.GetData();
            ++position;
        }
    }
    return nullptr;
}

void CNameMap::RemoveAll()
{
    Resize(m_bucketCount);
}

void CNameMap::Resize(int n)
{
    FreeItems();
    std::free(m_buckets);
    AllocateBuckets(n);
}

}  // namespace DuiLib
