#include "catalog/Prefetch.h"

#include "backend/Snapshot.h"
#include "catalog/ConnectionContext.h"
#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"

#include <optional>

namespace {

struct TFamily {
    CString (*pfnSQL)();
    size_t nKeyColumns;
    // Set where the rows of one key come in no defined order (the per-object ORDER BY does not separate
    // them): a key with several rows is asked again with its per-object statement, the family's key
    // values being the schema and name that statement takes.
    CString (*pfnObjectSQL)(const CString& strSchema, const CString& strName);
};

const std::array<TFamily, PREFETCH_FAMILY_COUNT> g_aFamilies = {{
    {&CSQLRecColumns::GetPrefetchSQL, 2, nullptr},
    {&CSQLRecIndexColumns::GetPrefetchSQL, 2, nullptr},
    {&CSQLRecForeignKeys::GetPrefetchSQL, 2, &CSQLRecForeignKeys::FormatDetailSQL},
    {&CSQLRecForeignKeyColumnsParent::GetPrefetchSQL, 2, nullptr},
    {&CSQLRecFullTextCatalogIndexColumns::GetPrefetchSQL, 1, nullptr},
    {&CSQLRecModuleObjects::GetPrefetchSQL, 3, nullptr},
    {&CSQLRecUserTypes::GetPrefetchSQL, 2, nullptr},
    {&CSQLRecPKeys::GetPrefetchSQL, 2, nullptr},
    {&CSQLRecChecks::GetPrefetchSQL, 2, nullptr},
}};

// Per-object statements sent in one round trip when a family's keys are asked again.
constexpr size_t PREFETCH_BATCH_SIZE = 100;

const TFamily& Family(EPrefetchFamily eFamily) {
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

// Key values joined so that no two different lists give the same text.
void AppendKeyPart(std::string& strKey, std::string_view strPart) {
    strKey += std::to_string(strPart.size());
    strKey += ':';
    strKey += strPart;
}

// A name is matched only as the catalog spells it. Printable ASCII reaches the server unchanged inside a
// literal or OBJECT_ID whatever the database's code page, and an exact spelling resolves to the one
// object of that name in any collation, since names are unique under it. A leading '#' or '@' or a
// trailing blank may be read otherwise by the server, so such names are left to it.
bool IsCertainName(const CString& strName) {
    const std::string& str = strName.Str();
    if (str.empty() || str.front() == '#' || str.front() == '@' || str.back() == ' ')
        return false;
    for (const char ch : str)
        if (ch < 0x20 || ch > 0x7E)
            return false;
    return true;
}

struct TLookup {
    EPrefetchFamily eFamily;
    std::string strKey;
};

std::optional<TLookup> NameLookup(EPrefetchFamily eFamily, std::initializer_list<const CString*> aNames) {
    TLookup lookup{eFamily, {}};
    for (const CString* pName : aNames) {
        if (!IsCertainName(*pName))
            return std::nullopt;
        AppendKeyPart(lookup.strKey, pName->Str());
    }
    return lookup;
}

TLookup NumberLookup(EPrefetchFamily eFamily, std::initializer_list<long> aNumbers) {
    TLookup lookup{eFamily, {}};
    for (const long nNumber : aNumbers)
        AppendKeyPart(lookup.strKey, std::to_string(static_cast<int>(nNumber)));
    return lookup;
}

// The family and key of the per-object statement that the recordset, as set up now, sends.
std::optional<TLookup> LookupOf(const CSQLRecBase& rs) {
    using F = EPrefetchFamily;
    if (const auto* p = dynamic_cast<const CSQLRecColumns*>(&rs))
        return NameLookup(F::Columns, {&p->m_strTableSchema, &p->m_strTableName});
    if (const auto* p = dynamic_cast<const CSQLRecIndexColumns*>(&rs))
        return NumberLookup(F::IndexColumns, {p->m_nObjectId, p->m_nIndexId});
    if (const auto* p = dynamic_cast<const CSQLRecForeignKeyColumnsParent*>(&rs))
        return NameLookup(F::ForeignKeyColumns, {&p->m_strFKSchema, &p->m_strFKName});
    if (const auto* p = dynamic_cast<const CSQLRecFullTextCatalogIndexColumns*>(&rs))
        return NumberLookup(F::FullTextColumns, {p->m_nObjectId});
    if (!rs.m_bDetail)
        return std::nullopt;
    const std::initializer_list<const CString*> aSchemaName = {&rs.m_strParamSchema, &rs.m_strParamName};
    if (dynamic_cast<const CSQLRecForeignKeys*>(&rs))
        return NameLookup(F::ForeignKeys, aSchemaName);
    if (const auto* p = dynamic_cast<const CSQLRecModuleObjects*>(&rs)) {
        const CString strType = p->GetObjectTypeCode();
        return NameLookup(F::Modules, {&strType, &rs.m_strParamSchema, &rs.m_strParamName});
    }
    if (dynamic_cast<const CSQLRecUserTypes*>(&rs))
        return NameLookup(F::UserTypes, aSchemaName);
    if (dynamic_cast<const CSQLRecPKeys*>(&rs))
        return NameLookup(F::PrimaryKeys, aSchemaName);
    if (dynamic_cast<const CSQLRecChecks*>(&rs))
        return NameLookup(F::Checks, aSchemaName);
    return std::nullopt;
}

// Rows of the store, read in place: the store outlives every recordset of the run.
class CStoredRowsResult : public CDbResult {
public:
    CStoredRowsResult(const std::vector<TDbColumn>& aColumns, const std::vector<const TDbRow*>& aRows)
        : m_aColumns(aColumns), m_aRows(aRows) {}
    const std::vector<TDbColumn>& Columns() const override { return m_aColumns; }
    const TDbRow* Fetch() override { return m_nNext < m_aRows.size() ? m_aRows[m_nNext++] : nullptr; }

private:
    const std::vector<TDbColumn>& m_aColumns;
    const std::vector<const TDbRow*>& m_aRows;
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
    if (const CCatalogSnapshot* pSnapshot = db.GetBackend()->GetSnapshot()) {
        for (size_t i = 0; i < PREFETCH_FAMILY_COUNT; ++i)
            if (!pSnapshot->Find(GetPrefetchSQL(static_cast<EPrefetchFamily>(i)).Str()))
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
    const size_t nKeyColumns = Family(eFamily).nKeyColumns;
    TFamilyRows family;
    try {
        std::unique_ptr<CDbResult> pResult = connection.Execute(GetPrefetchSQL(eFamily).Str(), false);
        const std::vector<TDbColumn>& aColumns = pResult->Columns();
        if (aColumns.size() <= nKeyColumns)
            return;
        const size_t nValues = aColumns.size() - nKeyColumns;
        while (const TDbRow* pRow = pResult->Fetch()) {
            std::string strKey;
            bool bKeyed = pRow->size() == aColumns.size();
            for (size_t i = nValues; bKeyed && i < pRow->size(); ++i) {
                bKeyed = (*pRow)[i].has_value();
                if (bKeyed)
                    AppendKeyPart(strKey, *(*pRow)[i]);
            }
            if (!bKeyed)
                continue;
            if (!pResult->KeepsRows())
                pRow = &family.aCopies.emplace_back(*pRow);
            family.rows[strKey].push_back(pRow);
        }
        family.aColumns.assign(aColumns.begin(), aColumns.begin() + static_cast<std::ptrdiff_t>(nValues));
        if (pResult->KeepsRows())
            family.pSource = std::move(pResult);
    } catch (CDBException* e) {
        // The per-object statements of the family go to the server, and fail there as they would.
        const CExceptionPtr<> guard(e);
        return;
    }
    if (Family(eFamily).pfnObjectSQL)
        AskSeveralAgain(connection, Family(eFamily).pfnObjectSQL, family);
    m_aFamilies[static_cast<size_t>(eFamily)] = std::move(family);
}

void CPrefetchStore::AskSeveralAgain(CDbConnection& connection,
                                     CString (*pfnObjectSQL)(const CString&, const CString&),
                                     TFamilyRows& family) {
    const size_t nValues = family.aColumns.size();
    std::vector<std::pair<std::string, std::string>> aAsk; // key, per-object statement
    for (const auto& [strKey, aRows] : family.rows) {
        if (aRows.size() < 2)
            continue;
        const CString strSchema((*aRows.front())[nValues].value_or(std::string()));
        const CString strName((*aRows.front())[nValues + 1].value_or(std::string()));
        // Names that no recordset looks up here are not worth a statement.
        if (IsCertainName(strSchema) && IsCertainName(strName))
            aAsk.emplace_back(strKey, pfnObjectSQL(strSchema, strName).Str());
    }
    for (size_t nFirst = 0; nFirst < aAsk.size(); nFirst += PREFETCH_BATCH_SIZE) {
        const size_t nCount = std::min(PREFETCH_BATCH_SIZE, aAsk.size() - nFirst);
        std::vector<std::string> aSql;
        for (size_t i = nFirst; i < nFirst + nCount; ++i)
            aSql.push_back(aAsk[i].second);
        try {
            std::vector<std::unique_ptr<CDbResult>> aResults = connection.ExecuteBatch(aSql);
            for (size_t i = 0; i < nCount; ++i) {
                std::vector<const TDbRow*>& aRows = family.rows[aAsk[nFirst + i].first];
                aRows.clear();
                while (const TDbRow* pRow = aResults[i]->Fetch())
                    aRows.push_back(&family.aCopies.emplace_back(*pRow));
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
    const std::optional<TLookup> lookup = LookupOf(rs);
    if (!lookup || !rs.m_pDatabase || !rs.m_pDatabase->IsOpen())
        return nullptr;
    ReadOnce(*rs.m_pDatabase->GetBackend(), lookup->eFamily);
    const TFamilyRows& family = m_aFamilies[static_cast<size_t>(lookup->eFamily)];
    const auto it = family.rows.find(lookup->strKey);
    // A key without rows may be an object the store never saw (created since, or of another kind).
    if (it == family.rows.end())
        return nullptr;
    return std::make_unique<CStoredRowsResult>(family.aColumns, it->second);
}
