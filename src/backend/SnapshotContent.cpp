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

char* CGrowingMap::Append(size_t n) {
    if (m_nSize + n > m_nCapacity) {
        const size_t nCapacity = std::max({m_nSize + n, 2 * m_nCapacity, size_t(1) << 20});
        void* p =
            m_pData ? ::mremap(m_pData, m_nCapacity, nCapacity, MREMAP_MAYMOVE)
                    : ::mmap(nullptr, nCapacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        ::madvise(p, nCapacity, MADV_HUGEPAGE);
        m_pData = static_cast<char*>(p);
        m_nCapacity = nCapacity;
    }
    char* p = m_pData + m_nSize;
    m_nSize += n;
    return p;
}

void CSnapshotValues::Add(std::string_view str) {
    std::memcpy(m_bytes.Append(str.size()), str.data(), str.size());
    const std::uint64_t nEnd = m_bytes.GetSize();
    std::memcpy(m_ends.Append(sizeof nEnd), &nEnd, sizeof nEnd);
}

void CSnapshotValues::AddNull() {
    const std::uint64_t nEnd = m_bytes.GetSize() | kNull;
    std::memcpy(m_ends.Append(sizeof nEnd), &nEnd, sizeof nEnd);
}

void CSnapshotValues::Truncate(size_t nCount) {
    m_bytes.Resize(nCount == 0 ? 0 : End(nCount - 1) & ~kNull);
    m_ends.Resize(nCount * sizeof(std::uint64_t));
}

std::uint64_t CSnapshotValues::End(size_t nIndex) const {
    std::uint64_t nEnd = 0;
    std::memcpy(&nEnd, m_ends.Data() + nIndex * sizeof nEnd, sizeof nEnd);
    return nEnd;
}

std::optional<std::string_view> CSnapshotValues::Get(size_t nIndex) const {
    const std::uint64_t nEnd = End(nIndex);
    if (nEnd & kNull)
        return std::nullopt;
    const std::uint64_t nStart = nIndex == 0 ? 0 : End(nIndex - 1) & ~kNull;
    return std::string_view(m_bytes.Data() + nStart, nEnd - nStart);
}
