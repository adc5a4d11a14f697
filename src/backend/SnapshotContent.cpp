#include "backend/SnapshotContent.h"

#include <simdjson.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

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

namespace {

CGrowingMap Sized(size_t nSize) {
    CGrowingMap map;
    map.Append(nSize);
    return map;
}

} // namespace

CSnapshotText::CSnapshotText(int fd, size_t nSize, const std::string& strPath)
    : m_text(Sized(nSize + simdjson::SIMDJSON_PADDING)), m_fd(fd), m_nSize(nSize), m_strPath(strPath),
      m_thread([this] { Read(); }) {}

CSnapshotText::~CSnapshotText() {
    m_bStop = true;
    m_thread.join();
}

bool CSnapshotText::NextLine(std::string_view& line) {
    const size_t nFrom = m_nNext;
    for (size_t nScanned = nFrom, nRead = WaitFor(nFrom + 1);; nRead = WaitFor(nRead + 1)) {
        if (nRead <= nFrom) {
            line = std::string_view(line.data() + line.size(), 0);
            return false;
        }
        if (const void* pEnd = std::memchr(Data() + nScanned, '\n', nRead - nScanned)) {
            const auto nEnd = static_cast<size_t>(static_cast<const char*>(pEnd) - Data());
            WaitFor(nEnd + 1 + simdjson::SIMDJSON_PADDING);
            m_nNext = nEnd + 1;
            line = std::string_view(Data() + nFrom, nEnd - nFrom);
            return true;
        }
        if (nRead == WaitFor(nRead + 1)) { // the last line, without a line end
            m_nNext = nRead;
            line = std::string_view(Data() + nFrom, nRead - nFrom);
            return true;
        }
        nScanned = nRead;
    }
}

size_t CSnapshotText::WaitFor(size_t nEnd) {
    if (const size_t nRead = m_nRead.load(std::memory_order_acquire); nRead >= nEnd)
        return nRead;
    std::unique_lock lock(m_mutex);
    m_arrived.wait(lock, [&] { return m_nRead >= nEnd || m_bDone; });
    if (m_nError != 0)
        AfxThrowDBException(
            "HY000", 0,
            CString("Catalog snapshot " + m_strPath + ": cannot be read: " + std::strerror(m_nError)));
    return m_nRead;
}

// In pieces, each handed on as it arrives.
void CSnapshotText::Read() {
    constexpr size_t kPiece = size_t(4) << 20;
    size_t nRead = 0;
    int nError = 0;
    while (nError == 0 && nRead < m_nSize && !m_bStop) {
        const ssize_t n = ::read(m_fd, m_text.Data() + nRead, std::min(kPiece, m_nSize - nRead));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            nError = n < 0 ? errno : 0;
            break;
        }
        nRead += static_cast<size_t>(n);
        const std::lock_guard lock(m_mutex);
        m_nRead.store(nRead, std::memory_order_release);
        m_arrived.notify_one();
    }
    const std::lock_guard lock(m_mutex);
    m_nError = nError;
    m_bDone = true;
    m_arrived.notify_one();
}
