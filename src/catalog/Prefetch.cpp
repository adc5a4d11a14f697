#include "catalog/Prefetch.h"

#include "backend/Snapshot.h"
#include "catalog/ConnectionContext.h"
#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"

#include <algorithm>
#include <charconv>

// What the store knows of a family besides its statement.
struct TPrefetchFamily {
    CString (*pfnSQL)();
    size_t nIdColumns;   // the object's key: its id, and for index columns the index id
    size_t nNameColumns; // the names the per-object statement resolves to the object, where it takes names
    // Set where the rows of one object come in no defined order (the per-object ORDER BY does not separate
    // them): an object with several rows is asked again with its per-object statement, which takes the
    // family's names, its schema and name.
    CString (*pfnObjectSQL)(const CString& strSchema, const CString& strName);
};

namespace {

const std::array<TPrefetchFamily, PREFETCH_FAMILY_COUNT> g_aFamilies = {{
    {&CSQLRecColumns::GetPrefetchSQL, 1, 2, nullptr},
    {&CSQLRecIndexColumns::GetPrefetchSQL, 2, 0, nullptr},
    {&CSQLRecForeignKeys::GetPrefetchSQL, 1, 2, &CSQLRecForeignKeys::FormatDetailSQL},
    {&CSQLRecForeignKeyColumnsParent::GetPrefetchSQL, 1, 2, nullptr},
    {&CSQLRecFullTextCatalogIndexColumns::GetPrefetchSQL, 1, 0, nullptr},
    {&CSQLRecModuleObjects::GetPrefetchSQL, 1, 3, nullptr},
    {&CSQLRecUserTypes::GetPrefetchSQL, 1, 2, nullptr},
    {&CSQLRecPKeys::GetPrefetchSQL, 1, 2, nullptr},
    {&CSQLRecChecks::GetPrefetchSQL, 1, 2, nullptr},
}};

// Per-object statements sent in one round trip when a family's objects are asked again.
constexpr size_t PREFETCH_BATCH_SIZE = 100;

const TPrefetchFamily& Family(EPrefetchFamily eFamily) {
    return g_aFamilies[static_cast<size_t>(eFamily)];
}

// Slowest first on a server (INDEXPROPERTY per primary key, subqueries per column), so that connections
// taking the families in turn finish close together.
constexpr std::array<EPrefetchFamily, PREFETCH_FAMILY_COUNT> kFillOrder = {{
    EPrefetchFamily::PrimaryKeys,
    EPrefetchFamily::Columns,
    EPrefetchFamily::Checks,
    EPrefetchFamily::Modules,
    EPrefetchFamily::UserTypes,
    EPrefetchFamily::ForeignKeyColumns,
    EPrefetchFamily::ForeignKeys,
    EPrefetchFamily::IndexColumns,
    EPrefetchFamily::FullTextColumns,
}};

// Ids are int on the server and go into the per-object statements as such.
std::int64_t ObjectKey(std::int32_t nObjectId, std::int32_t nSubId) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(nObjectId)) << 32 |
                                     static_cast<std::uint32_t>(nSubId));
}

std::optional<std::int32_t> IdOf(const TDbValue& value) {
    std::int32_t nId = 0;
    if (!value)
        return std::nullopt;
    const std::string_view str = *value;
    const auto [pEnd, ec] = std::from_chars(str.data(), str.data() + str.size(), nId);
    if (ec != std::errc() || pEnd != str.data() + str.size())
        return std::nullopt;
    return nId;
}

// A name is looked up only where the server resolves the text that the per-object statement makes of it
// to the object the catalog spells so. Printable ASCII reaches the server unchanged inside a literal or
// OBJECT_ID whatever the database's code page, and an exact spelling resolves to the one object of that
// name in any collation, since names are unique under it. A leading '#' or '@' or a trailing blank may be
// read otherwise by the server, and a '?' may be what a driver put for a character it could not carry, so
// that the name is no longer the object's: such names are left to the server.
bool IsCertainName(std::string_view str) {
    if (str.empty() || str.front() == '#' || str.front() == '@' || str.back() == ' ')
        return false;
    return std::all_of(str.begin(), str.end(), [](char ch) { return ch >= 0x20 && ch <= 0x7E && ch != '?'; });
}

// Names joined so that no two different lists give the same text; none when one of them is NULL or not
// certain.
std::optional<std::string> NamesKey(TDbRow aNames) {
    std::string strKey;
    for (const TDbValue& name : aNames) {
        if (!name || !IsCertainName(*name))
            return std::nullopt;
        strKey += std::to_string((*name).size());
        strKey += ':';
        strKey += *name;
    }
    return strKey;
}

// Rows of the store, read in place: the store outlives every recordset of the run.
class CStoredRowsResult : public CDbResult {
public:
    CStoredRowsResult(const std::vector<TDbColumn>& aColumns, const std::vector<TDbRow>& aRows)
        : m_aColumns(aColumns), m_aRows(aRows) {}
    const std::vector<TDbColumn>& Columns() const override { return m_aColumns; }
    std::optional<TDbRow> Fetch() override {
        return m_nNext < m_aRows.size() ? std::optional(m_aRows[m_nNext++]) : std::nullopt;
    }

private:
    const std::vector<TDbColumn>& m_aColumns;
    const std::vector<TDbRow>& m_aRows;
    size_t m_nNext = 0;
};

} // namespace

CString DerivePrefetchSQL(std::string_view strTemplate, std::string_view strFrom, const char* pszKeyColumns,
                          std::string_view strWhere, const char* pszTail) {
    const size_t nFrom = strTemplate.find(strFrom);
    const size_t nWhere = strTemplate.find(strWhere, nFrom);
    if (nFrom == std::string_view::npos || nWhere == std::string_view::npos)
        AfxThrowDBException("HY000", 0,
                            "No prefetch statement for \"" + CString(std::string(strTemplate)) + "\"");
    std::string strSQL(strTemplate.substr(0, nFrom));
    strSQL += pszKeyColumns;
    strSQL += strTemplate.substr(nFrom, nWhere - nFrom);
    strSQL += pszTail;
    return CString(strSQL);
}

CString GetPrefetchSQL(EPrefetchFamily eFamily) {
    return Family(eFamily).pfnSQL();
}

CPrefetchStore::CPrefetchStore(CDatabase& db) {
    for (size_t i = 0; i < PREFETCH_FAMILY_COUNT; ++i)
        m_aSQL[i] = GetPrefetchSQL(static_cast<EPrefetchFamily>(i));
    if (const CCatalogSnapshot* pSnapshot = db.GetBackend()->GetSnapshot()) {
        for (const CString& strSQL : m_aSQL)
            if (!pSnapshot->Find(strSQL.Str()))
                AfxThrowDBException("HY000", 0,
                                    CString("Catalog snapshot " + pSnapshot->GetPath() +
                                            " lacks the prefetch statements; record it with --prefetch"));
    }
    m_helper = std::thread([this, strConnect = GetContextConnectString()] { RunHelper(strConnect); });
}

CPrefetchStore::~CPrefetchStore() {
    {
        const std::lock_guard lock(m_lock);
        m_bStopping = true;
    }
    m_helper.join();
}

void CPrefetchStore::RunHelper(const CString& strConnect) {
    CDatabase db;
    try {
        db.OpenEx(strConnect, CDatabase::noOdbcDialog);
    } catch (CException* e) {
        // The families are then read on the connections of the recordsets that need them.
        const CExceptionPtr<> guard(e);
        return;
    }
    for (;;) {
        std::optional<EPrefetchFamily> eNext;
        {
            const std::lock_guard lock(m_lock);
            for (size_t i = 0; !m_bStopping && !eNext && i < kFillOrder.size(); ++i)
                if (m_aStates[static_cast<size_t>(kFillOrder[i])] == EFamilyState::Waiting)
                    eNext = kFillOrder[i];
        }
        if (!eNext)
            return;
        try {
            ReadOnce(*db.GetBackend(), *eNext);
        } catch (...) {
            // Only a database error is expected here, and ReadFamily takes those; whatever else went wrong
            // leaves the family without rows, which the per-object statements then answer.
            return;
        }
    }
}

void CPrefetchStore::ReadOnce(CDbConnection& connection, EPrefetchFamily eFamily) {
    EFamilyState& state = m_aStates[static_cast<size_t>(eFamily)];
    std::unique_lock lock(m_lock);
    if (state != EFamilyState::Waiting) {
        m_read.wait(lock, [&] { return state == EFamilyState::Read; });
        return;
    }
    state = EFamilyState::Reading;
    lock.unlock();
    // Waiting threads are woken whatever way the reading ends; a family that could not be read has no rows.
    struct TMarkRead {
        CPrefetchStore& store;
        EFamilyState& state;
        ~TMarkRead() {
            {
                const std::lock_guard lock(store.m_lock);
                state = EFamilyState::Read;
            }
            store.m_read.notify_all();
        }
    } markRead{*this, state};
    ReadFamily(connection, eFamily);
}

void CPrefetchStore::ReadFamily(CDbConnection& connection, EPrefetchFamily eFamily) {
    TFamilyRows family;
    try {
        family =
            ReadRows(connection.Execute(m_aSQL[static_cast<size_t>(eFamily)].Str(), false), Family(eFamily));
    } catch (CDBException* e) {
        // The per-object statements of the family go to the server, and fail there as they would.
        const CExceptionPtr<> guard(e);
        return;
    }
    if (Family(eFamily).pfnObjectSQL)
        AskSeveralAgain(connection, Family(eFamily), family);
    m_aFamilies[static_cast<size_t>(eFamily)] = std::move(family);
}

CPrefetchStore::TFamilyRows CPrefetchStore::ReadRows(std::unique_ptr<CDbResult> pResult,
                                                     const TPrefetchFamily& def) {
    TFamilyRows family;
    const std::vector<TDbColumn>& aColumns = pResult->Columns();
    if (aColumns.size() <= def.nIdColumns + def.nNameColumns)
        return family;
    const size_t nValues = aColumns.size() - def.nIdColumns - def.nNameColumns;
    while (std::optional<TDbRow> row = pResult->Fetch()) {
        if (row->size() != aColumns.size())
            continue;
        const std::optional<std::int32_t> nId = IdOf((*row)[nValues]);
        const std::optional<std::int32_t> nSubId =
            def.nIdColumns > 1 ? IdOf((*row)[nValues + 1]) : std::optional<std::int32_t>(0);
        if (!nId || !nSubId)
            continue;
        if (!pResult->KeepsRows())
            row = family.copies.Add(*row);
        const std::int64_t nObject = ObjectKey(*nId, *nSubId);
        auto [it, bNew] = family.rows.try_emplace(nObject);
        it->second.push_back(*row);
        if (bNew && def.nNameColumns > 0)
            IndexNames(family, nObject, row->subspan(nValues + def.nIdColumns));
    }
    family.aColumns.assign(aColumns.begin(), aColumns.begin() + static_cast<std::ptrdiff_t>(nValues));
    if (pResult->KeepsRows())
        family.pSource = std::move(pResult);
    return family;
}

void CPrefetchStore::IndexNames(TFamilyRows& family, std::int64_t nObject, TDbRow aNames) {
    const std::optional<std::string> strKey = NamesKey(aNames);
    if (!strKey)
        return;
    const auto [it, bNew] = family.names.try_emplace(*strKey, nObject);
    if (!bNew && it->second != nObject)
        it->second.reset();
}

void CPrefetchStore::AskSeveralAgain(CDbConnection& connection, const TPrefetchFamily& def,
                                     TFamilyRows& family) {
    std::vector<std::pair<std::int64_t, std::string>> aAsk; // object, per-object statement
    for (const auto& [nObject, aRows] : family.rows) {
        const TDbRow aNames = aRows.front().subspan(family.aColumns.size() + def.nIdColumns);
        // Names that no recordset looks up here are not worth a statement.
        if (aRows.size() < 2 || aNames.size() != 2 || !NamesKey(aNames))
            continue;
        aAsk.emplace_back(nObject, def.pfnObjectSQL(CString(*aNames[0]), CString(*aNames[1])).Str());
    }
    for (size_t nFirst = 0; nFirst < aAsk.size(); nFirst += PREFETCH_BATCH_SIZE) {
        const size_t nCount = std::min(PREFETCH_BATCH_SIZE, aAsk.size() - nFirst);
        std::vector<std::string> aSql;
        for (size_t i = nFirst; i < nFirst + nCount; ++i)
            aSql.push_back(aAsk[i].second);
        try {
            std::vector<std::unique_ptr<CDbResult>> aResults = connection.ExecuteBatch(aSql);
            for (size_t i = 0; i < nCount; ++i) {
                std::vector<TDbRow>& aRows = family.rows[aAsk[nFirst + i].first];
                aRows.clear();
                while (const std::optional<TDbRow> row = aResults[i]->Fetch())
                    aRows.push_back(family.copies.Add(*row));
            }
        } catch (CDBException* e) {
            // Those recordsets ask the server themselves.
            const CExceptionPtr<> guard(e);
            for (size_t i = nFirst; i < nFirst + nCount; ++i)
                family.rows.erase(aAsk[i].first);
        }
    }
}

std::unique_ptr<CDbResult> CPrefetchStore::Find(const CSQLRecBase& rs) {
    const std::optional<TPrefetchKey> key = rs.GetPrefetchKey();
    if (!key || !rs.m_pDatabase || !rs.m_pDatabase->IsOpen())
        return nullptr;
    std::vector<TDbValue> aNames;
    for (const CString& strName : key->aNames)
        aNames.emplace_back(strName.Str());
    const std::optional<std::string> strNames = NamesKey(aNames);
    if (!strNames)
        return nullptr;
    ReadOnce(*rs.m_pDatabase->GetBackend(), key->eFamily);
    const TFamilyRows& family = m_aFamilies[static_cast<size_t>(key->eFamily)];
    std::optional<std::int64_t> nObject =
        ObjectKey(static_cast<std::int32_t>(key->nObjectId), static_cast<std::int32_t>(key->nSubId));
    if (!aNames.empty()) {
        const auto itName = family.names.find(*strNames);
        nObject = itName == family.names.end() ? std::nullopt : itName->second;
    }
    // An object without rows may be one the store never saw (created since, or of another kind).
    const auto it = nObject ? family.rows.find(*nObject) : family.rows.end();
    if (it == family.rows.end())
        return nullptr;
    return std::make_unique<CStoredRowsResult>(family.aColumns, it->second);
}
