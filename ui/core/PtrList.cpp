// CPtrList: growth, insertion and removal of untyped pointers. Allocation
// failures of Add and InsertAt leave the list exactly as it was.
#include "ui/core/PtrList.h"

#include <cassert>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace DuiLib {

namespace {

// Null when the slot count cannot be expressed in bytes or is not available.
void** ReallocSlots(void** elements, int slots)
{
    if (static_cast<size_t>(slots) > SIZE_MAX / sizeof(void*))
        return nullptr;
    return static_cast<void**>(std::realloc(elements, static_cast<size_t>(slots) * sizeof(void*)));
}

void** AllocateNullSlots(int slots)
{
    if (static_cast<size_t>(slots) > SIZE_MAX / sizeof(void*))
        return nullptr;
    return static_cast<void**>(std::calloc(static_cast<size_t>(slots), sizeof(void*)));
}

}  // namespace

CPtrList::CPtrList(int initialSlots) : m_elements(nullptr), m_size(0), m_slots(0)
{
    if (initialSlots > 0) {
        m_elements = AllocateNullSlots(initialSlots);
        if (m_elements != nullptr)
            m_slots = initialSlots;
    }
}

CPtrList::CPtrList(const CPtrList& other) : m_elements(nullptr), m_size(0), m_slots(0)
{
    for (int i = 0; i < other.m_size; ++i)
        Add(other.m_elements[i]);
}

CPtrList::~CPtrList()
{
    std::free(m_elements);
}

// Counts one more element, growing the array when that leaves no spare slot.
// On failure the count is taken back and nothing else has changed.
bool CPtrList::Grow()
{
    ++m_size;
    if (m_size < m_slots)
        return true;
    if (m_slots > INT_MAX / 2) {
        --m_size;
        return false;
    }
    const int slots = m_slots == 0 ? kFirstGrowth : m_slots * 2;
    void** grown = ReallocSlots(m_elements, slots);
    if (grown == nullptr) {
        --m_size;
        return false;
    }
    m_elements = grown;
    m_slots = slots;
    return true;
}

bool CPtrList::Add(void* element)
{
    if (!Grow())
        return false;
    m_elements[m_size - 1] = element;
    return true;
}

bool CPtrList::InsertAt(int index, void* element)
{
    if (index == m_size)
        return Add(element);
    if (index < 0 || index > m_size)
        return false;
    if (!Grow())
        return false;
    std::memmove(&m_elements[index + 1], &m_elements[index],
                 static_cast<size_t>(m_size - 1 - index) * sizeof(void*));
    m_elements[index] = element;
    return true;
}

bool CPtrList::Remove(int index, int count)
{
    if (index < 0 || count <= 0 || count > m_size - index)
        return false;
    std::memmove(&m_elements[index], &m_elements[index + count],
                 static_cast<size_t>(m_size - index - count) * sizeof(void*));
    m_size -= count;
    return true;
}

int CPtrList::Find(const void* element) const
{
    for (int i = 0; i < m_size; ++i) {
        if (m_elements[i] == element)
            return i;
    }
    return -1;
}

void* CPtrList::GetAt(int index) const
{
    if (index < 0 || index >= m_size)
        return nullptr;
    return m_elements[index];
}

void* CPtrList::operator[](int index) const
{
    assert(index >= 0 && index < m_size && "CPtrList: unchecked index outside 0..size-1");
    return m_elements[index];
}

void CPtrList::Resize(int n)
{
    Empty();
    if (n <= 0)
        return;
    m_elements = AllocateNullSlots(n);
    if (m_elements != nullptr) {
        m_size = n;
        m_slots = n;
    }
}

void CPtrList::Empty()
{
    std::free(m_elements);
    m_elements = nullptr;
    m_size = 0;
    m_slots = 0;
}

}  // namespace DuiLib
