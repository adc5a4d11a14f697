#include "backend/SnapshotFaults.h"

#include "backend/ConnectString.h"
#include "platform/Exceptions.h"

#include <atomic>
#include <charconv>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view kFailStatement = "FAIL_STATEMENT";
constexpr std::string_view kFailSqlState = "FAIL_SQLSTATE";
constexpr const char* kLostConnection = "08S01";

[[noreturn]] void ThrowBadOption(std::string_view strOption) {
    AfxThrowDBException("HY000", 0,
                        CString("Catalog snapshot option " + std::string(strOption) + "= is malformed"));
}

std::mutex g_registryMutex;
std::map<std::pair<const void*, std::string>, std::weak_ptr<CSnapshotFault>> g_registry;

std::atomic<bool> g_bObserved{false};
std::mutex g_observerMutex;
std::function<void(const std::string&)> g_observer;

} // namespace

std::shared_ptr<CSnapshotFault> CSnapshotFault::FromOptions(const std::string& strOptions,
                                                            const void* pSnapshot) {
    const std::optional<std::string> strStatement = FindConnectValue(strOptions, kFailStatement);
    if (!strStatement)
        return nullptr;
    size_t nStatement = 0;
    const auto [pEnd, ec] =
        std::from_chars(strStatement->data(), strStatement->data() + strStatement->size(), nStatement);
    if (ec != std::errc() || pEnd != strStatement->data() + strStatement->size() || nStatement == 0)
        ThrowBadOption(kFailStatement);
    const std::string strSqlState = FindConnectValue(strOptions, kFailSqlState).value_or("42000");
    if (strSqlState.size() != 5)
        ThrowBadOption(kFailSqlState);

    std::lock_guard lock(g_registryMutex);
    std::erase_if(g_registry, [](const auto& item) { return item.second.expired(); });
    std::weak_ptr<CSnapshotFault>& entry = g_registry[{pSnapshot, strOptions}];
    if (auto pFault = entry.lock())
        return pFault;
    std::shared_ptr<CSnapshotFault> pFault(new CSnapshotFault(nStatement, strSqlState));
    entry = pFault;
    return pFault;
}

void CSnapshotFault::BeforeExecute(const std::string& strSql) {
    {
        std::lock_guard lock(m_mutex);
        NotifySnapshotStatement(strSql);
        if (++m_nExecuted != m_nFailStatement)
            return;
    }
    const bool bLost = m_strSqlState == kLostConnection;
    AfxThrowDBException(m_strSqlState.c_str(), bLost ? 0 : 50000,
                        bLost ? "Communication link failure" : "Injected server error");
}

void SetSnapshotStatementObserver(std::function<void(const std::string&)> observer) {
    std::lock_guard lock(g_observerMutex);
    g_bObserved = static_cast<bool>(observer);
    g_observer = std::move(observer);
}

void NotifySnapshotStatement(const std::string& strSql) {
    if (!g_bObserved)
        return;
    std::lock_guard lock(g_observerMutex);
    if (g_observer)
        g_observer(strSql);
}
