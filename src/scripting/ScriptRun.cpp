#include "scripting/ScriptRun.h"

#include "platform/Unicode.h"
#include "scripting/SqlText.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <string>
#include <unordered_map>

namespace {

constexpr size_t NONE = static_cast<size_t>(-1);

using TReferences = std::vector<std::vector<size_t>>;

// Names compare without regard to case: the catalog's collation is not known here, and on a case-sensitive
// database this at worst orders two objects that did not need it.
std::string NameKey(const CString& strSchema, const CString& strName) {
    return FoldCaseUtf8(strSchema.Str()) + '\0' + FoldCaseUtf8(strName.Str());
}

class CNameIndex {
public:
    explicit CNameIndex(const std::vector<TScriptedObject>& aObjects) {
        for (size_t i = 0; i < aObjects.size(); ++i)
            m_index.emplace(NameKey(aObjects[i].strSchema, aObjects[i].strName), i);
    }

    // As the server resolves a name: a qualified one in its schema, an unqualified one in the referencing
    // object's schema first, then in dbo.
    size_t Resolve(const TSqlName& name, const CString& strOwnSchema) const {
        if (!name.strSchema.IsEmpty())
            return Find(name.strSchema, name.strName);
        const size_t nOwn = Find(strOwnSchema, name.strName);
        return nOwn != NONE ? nOwn : Find("dbo", name.strName);
    }

private:
    size_t Find(const CString& strSchema, const CString& strName) const {
        const auto it = m_index.find(NameKey(strSchema, strName));
        return it == m_index.end() ? NONE : it->second;
    }

    std::unordered_map<std::string, size_t> m_index;
};

// For each object, the other objects of the list that its text names outside comments and strings.
TReferences FindReferences(const std::vector<TScriptedObject>& aObjects) {
    const CNameIndex index(aObjects);
    TReferences aReferences(aObjects.size());
    for (size_t i = 0; i < aObjects.size(); ++i) {
        std::vector<size_t>& aUsed = aReferences[i];
        for (const TSqlName& name : FindSqlNames(aObjects[i].strText)) {
            const size_t j = index.Resolve(name, aObjects[i].strSchema);
            if (j != NONE && j != i)
                aUsed.push_back(j);
        }
        std::sort(aUsed.begin(), aUsed.end());
        aUsed.erase(std::unique(aUsed.begin(), aUsed.end()), aUsed.end());
    }
    return aReferences;
}

// The strongly connected components (Tarjan, without recursion, so long chains cannot exhaust the stack):
// the component of each object, numbered in the order they complete.
std::vector<size_t> FindComponents(const TReferences& aReferences) {
    const size_t n = aReferences.size();
    std::vector<size_t> aOrder(n, NONE), aLow(n, 0), aComponent(n, NONE);
    std::vector<size_t> aStack;
    std::vector<std::pair<size_t, size_t>> aCalls; // object and its next reference to follow
    size_t nNext = 0, nComponents = 0;
    const auto visit = [&](size_t v) {
        aOrder[v] = aLow[v] = nNext++;
        aStack.push_back(v);
        aCalls.emplace_back(v, 0);
    };
    for (size_t nRoot = 0; nRoot < n; ++nRoot) {
        if (aOrder[nRoot] != NONE)
            continue;
        visit(nRoot);
        while (!aCalls.empty()) {
            const size_t u = aCalls.back().first;
            if (aCalls.back().second < aReferences[u].size()) {
                const size_t w = aReferences[u][aCalls.back().second++];
                if (aOrder[w] == NONE)
                    visit(w);
                else if (aComponent[w] == NONE)
                    aLow[u] = std::min(aLow[u], aOrder[w]);
                continue;
            }
            aCalls.pop_back();
            if (!aCalls.empty())
                aLow[aCalls.back().first] = std::min(aLow[aCalls.back().first], aLow[u]);
            if (aLow[u] != aOrder[u])
                continue;
            for (size_t w = NONE; w != u;) {
                w = aStack.back();
                aStack.pop_back();
                aComponent[w] = nComponents;
            }
            ++nComponents;
        }
    }
    return aComponent;
}

// A stable topological order: each component after the components it references, the one whose first
// object comes first in the list whenever there is a choice; inside a component, list order.
std::vector<std::vector<size_t>> OrderComponents(const TReferences& aReferences,
                                                 const std::vector<size_t>& aComponent) {
    const size_t nComponents =
        aComponent.empty() ? 0 : *std::max_element(aComponent.begin(), aComponent.end()) + 1;
    std::vector<std::vector<size_t>> aMembers(nComponents), aUsers(nComponents);
    std::vector<size_t> aWaiting(nComponents, 0);
    for (size_t i = 0; i < aReferences.size(); ++i) {
        aMembers[aComponent[i]].push_back(i);
        for (size_t j : aReferences[i]) {
            if (aComponent[j] == aComponent[i])
                continue;
            aUsers[aComponent[j]].push_back(aComponent[i]);
            ++aWaiting[aComponent[i]];
        }
    }
    // Ready components by their first object's position in the list.
    std::priority_queue<std::pair<size_t, size_t>, std::vector<std::pair<size_t, size_t>>, std::greater<>>
        ready;
    for (size_t c = 0; c < nComponents; ++c)
        if (aWaiting[c] == 0)
            ready.emplace(aMembers[c].front(), c);
    std::vector<std::vector<size_t>> aOrdered;
    while (!ready.empty()) {
        const size_t c = ready.top().second;
        ready.pop();
        aOrdered.push_back(aMembers[c]);
        for (size_t nUser : aUsers[c])
            if (--aWaiting[nUser] == 0)
                ready.emplace(aMembers[nUser].front(), nUser);
    }
    return aOrdered;
}

} // namespace

void CScriptRun::ListRead(long nTotal) const {
    if (m_pObserver)
        m_pObserver->OnObjectListRead(m_nCategory, nTotal);
}

void CScriptRun::ObjectScripted(const TScriptedObject& object) const {
    if (m_pObserver)
        m_pObserver->OnObjectScripted(m_nCategory, object.strSchema, object.strName, object.strText);
}

CString CScriptRun::JoinInDependencyOrder(const std::vector<TScriptedObject>& aObjects) const {
    const TReferences aReferences = FindReferences(aObjects);
    CString strText;
    std::vector<size_t> aInCycles;
    for (const std::vector<size_t>& aMembers : OrderComponents(aReferences, FindComponents(aReferences))) {
        for (size_t i : aMembers)
            strText += aObjects[i].strText;
        if (aMembers.size() > 1)
            aInCycles.insert(aInCycles.end(), aMembers.begin(), aMembers.end());
    }
    if (aInCycles.empty() || !m_pObserver)
        return strText;
    std::sort(aInCycles.begin(), aInCycles.end());
    std::vector<CString> aNames;
    for (size_t i : aInCycles)
        aNames.push_back(aObjects[i].strSchema + "." + aObjects[i].strName);
    m_pObserver->OnReferenceCycle(m_nCategory, aNames);
    return strText;
}
