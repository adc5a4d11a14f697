// Snapshot files come from bug reports and other machines: any bytes must load or throw CDBException*.
#include "backend/Snapshot.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The input as a file without touching the disk: a memory file seen through /proc.
class CMemoryFile {
public:
    CMemoryFile() : m_fd(::memfd_create("snapshot", 0)) {
        if (m_fd < 0)
            std::abort();
    }
    ~CMemoryFile() { ::close(m_fd); }
    std::string Write(const std::uint8_t* pData, size_t nSize) {
        if (::ftruncate(m_fd, 0) != 0 || ::pwrite(m_fd, pData, nSize, 0) != static_cast<ssize_t>(nSize))
            std::abort();
        return "/proc/self/fd/" + std::to_string(m_fd);
    }

private:
    int m_fd;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize) {
    static CMemoryFile file;
    const std::string strPath = file.Write(pData, nSize);
    try {
        const auto pSnapshot = CCatalogSnapshot::Load(strPath);
        for (size_t i = 0; i < pSnapshot->GetCount(); ++i)
            (void)pSnapshot->Find("SELECT 1");
    } catch (CDBException* e) {
        if (e->GetErrorText().IsEmpty())
            std::abort();
        e->Delete();
    }
    return 0;
}
