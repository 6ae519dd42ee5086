// CPtrList: growable array of untyped pointers. It never owns what the
// elements point to; clearing or destroying it frees only the array.
// Growth: 11 slots at the first growth, then doubling, always one spare slot.
#pragma once

namespace DuiLib {

class CPtrList
{
public:
    // Slots a list takes at its first growth from none.
    static constexpr int kFirstGrowth = 11;

    // Allocates initialSlots slots (0 or less allocates nothing).
    explicit CPtrList(int initialSlots = 0);
    // Appends the other list's elements in order.
    CPtrList(const CPtrList& other);
    CPtrList& operator=(const CPtrList&) = delete;
    ~CPtrList();

    int GetSize() const { return m_size; }
    bool IsEmpty() const { return m_size == 0; }
    // Allocated slots; grows before the size reaches it.
    int GetSlotCount() const { return m_slots; }

    // False, leaving the list unchanged, when memory is exhausted.
    bool Add(void* element);
    // index == size appends; an index below 0 or above the size, or exhausted
    // memory, returns false and changes nothing.
    bool InsertAt(int index, void* element);
    // Removes count elements from index on and closes the gap. False, changing
    // nothing, for a negative index, a count below 1 or a range past the end.
    bool Remove(int index, int count = 1);
    // Index of the first slot holding exactly element, or -1.
    int Find(const void* element) const;
    // The element, or null for an index outside 0..size-1.
    void* GetAt(int index) const;
    // No bounds test: for loops that already bound the index.
    void* operator[](int index) const;

    // Drops the elements and the array, then allocates n null slots; size and
    // slot count become n. A negative n counts as 0; when the slots cannot be
    // allocated the list is left empty.
    void Resize(int n);
    // Frees the array; size and slot count become 0.
    void Empty();

private:
    bool Grow();

    void** m_elements;
    int m_size;
    int m_slots;
};

}  // namespace DuiLib
