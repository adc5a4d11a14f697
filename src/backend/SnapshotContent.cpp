#include "backend/SnapshotContent.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <sys/mman.h>

CGrowingMap::CGrowingMap(CGrowingMap&& other) noexcept
    : m_pData(std::exchange(other.m_pData, nullptr)), m_nSize(std::exchange(other.m_nSize, 0)),
      m_nCapacity(std::exchange(other.m_nCapacity, 0)) {}

CGrowingMap& CGrowingMap::operator=(CGrowingMap&& other) noexcept {
    std::swap(m_pData, other.m_pData);
    std::swap(m_nSize, other.m_nSize);
    std::swap(m_nCapacity, other.m_nCapacity);
    return *this;
}

CGrowingMap::~CGrowingMap() {
    if (m_pData)
        ::munmap(m_pData, m_nCapacity);
}

void CGrowingMap::Grow(size_t nSize) {
    const size_t nCapacity = std::max({nSize, 2 * m_nCapacity, size_t(1) << 20});
    void* p = m_pData
                  ? ::mremap(m_pData, m_nCapacity, nCapacity, MREMAP_MAYMOVE)
                  : ::mmap(nullptr, nCapacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    ::madvise(p, nCapacity, MADV_HUGEPAGE);
    m_pData = static_cast<char*>(p);
    m_nCapacity = nCapacity;
}
