#include "scripting/StableOrder.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace {

constexpr size_t NONE = static_cast<size_t>(-1);

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

std::vector<std::vector<size_t>> OrderByReferences(const TReferences& aReferences) {
    return OrderComponents(aReferences, FindComponents(aReferences));
}
