// CNameMap: string-keyed hash map of untyped pointers. It owns its keys, never
// its values. Buckets are fixed at construction (no rehashing); chains are
// doubly linked with new and recently found items at the head.
#pragma once

namespace DuiLib {

class CNameMap
{
public:
    // Buckets of every map in the toolkit.
    static constexpr int kDefaultBuckets = 83;
    static constexpr int kMinBuckets = 16;

    // A bucket count below 16 is raised to 16.
    explicit CNameMap(int buckets = kDefaultBuckets);
    CNameMap(const CNameMap&) = delete;
    CNameMap& operator=(const CNameMap&) = delete;
    ~CNameMap();

    // Number of items.
    int GetSize() const { return m_count; }

    // The value stored under key (exact, case-sensitive), or null. A found item
    // moves to the head of its chain unless moveToFront is false; walks by
    // GetAt pass false so the order does not change under them.
    void* Find(const wchar_t* key, bool moveToFront = true);
    // Stores a new item; false, storing nothing, when the key is present, the
    // map has no buckets or the key is null. Never replaces a value.
    bool Insert(const wchar_t* key, void* value);
    // Replaces the value of a present key and returns the previous one; else
    // inserts and returns null. Without buckets or with a null key nothing is
    // stored and value is returned.
    void* Set(const wchar_t* key, void* value);
    // Unlinks and frees the item (its key, never its value); false when absent.
    bool Remove(const wchar_t* key);
    // Key of the index-th item, buckets taken from the last to the first and
    // each chain from head to tail; null for an index outside 0..size-1.
    const wchar_t* GetAt(int index) const;

    // Frees every item; the bucket count stays.
    void RemoveAll();
    // Frees every item and the buckets, then allocates n empty buckets (a
    // negative n counts as 0; a map with 0 buckets stores and finds nothing).
    void Resize(int n);

private:
    struct Item;

    Item* FindItem(const wchar_t* key) const;
    void FreeItems();
    void AllocateBuckets(int n);

    Item** m_buckets;
    int m_bucketCount;
    int m_count;
};

}  // namespace DuiLib
