#include "compare/TextDiff.h"

#include <algorithm>

namespace {

std::vector<std::string_view> SplitLines(std::string_view strText) {
    std::vector<std::string_view> aLines;
    while (!strText.empty()) {
        const size_t nEnd = strText.find('\n');
        std::string_view strLine = strText.substr(0, nEnd);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.remove_suffix(1);
        aLines.push_back(strLine);
        strText.remove_prefix(nEnd == std::string_view::npos ? strText.size() : nEnd + 1);
    }
    return aLines;
}

enum class eEdit { Keep, Remove, Add };

struct TEdit {
    eEdit eKind;
    size_t nOld; // the line of the old text kept or removed; of the new text added
};

using TLines = std::vector<std::string_view>;

// Beyond this many differing lines, the changed middle is shown removed and added whole: the search for the
// shortest edit would take too long for what it shows.
constexpr long kMostEdits = 2000;

// The shortest edit of old[nFrom, nFrom + n) into new[nFromNew, nFromNew + m) (Myers' greedy search), or none
// when it is longer than kMostEdits.
bool ShortestEdit(const TLines& aOld, const TLines& aNew, size_t nFrom, size_t nFromNew, long n, long m,
                  std::vector<TEdit>& aEdits) {
    const long nMax = std::min(n + m, kMostEdits);
    std::vector<long> aV(static_cast<size_t>(2 * nMax + 3), 0); // k from -nMax - 1 to nMax + 1
    std::vector<std::vector<long>> aTrace;
    const auto at = [&](long k) -> long& { return aV[static_cast<size_t>(k + nMax + 1)]; };
    const auto same = [&](long x, long y) {
        return aOld[nFrom + static_cast<size_t>(x)] == aNew[nFromNew + static_cast<size_t>(y)];
    };
    for (long d = 0; d <= nMax; ++d) {
        aTrace.push_back(aV);
        for (long k = -d; k <= d; k += 2) {
            long x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            long y = x - k;
            for (; x < n && y < m && same(x, y); ++y)
                ++x;
            at(k) = x;
            if (x < n || y < m)
                continue;
            // Back from the end: each step of d one edit and the lines kept before it.
            std::vector<TEdit> aBack;
            for (long e = d; e > 0; --e) {
                const std::vector<long>& aPrior = aTrace[static_cast<size_t>(e)];
                const auto prior = [&](long kk) { return aPrior[static_cast<size_t>(kk + nMax + 1)]; };
                const long kk = x - y;
                const bool bDown = kk == -e || (kk != e && prior(kk - 1) < prior(kk + 1));
                const long kPrior = bDown ? kk + 1 : kk - 1;
                const long xPrior = prior(kPrior);
                const long yPrior = xPrior - kPrior;
                for (; x > xPrior && y > yPrior; --y)
                    aBack.push_back({eEdit::Keep, nFrom + static_cast<size_t>(--x)});
                if (bDown)
                    aBack.push_back({eEdit::Add, nFromNew + static_cast<size_t>(--y)});
                else
                    aBack.push_back({eEdit::Remove, nFrom + static_cast<size_t>(--x)});
            }
            while (x > 0)
                aBack.push_back({eEdit::Keep, nFrom + static_cast<size_t>(--x)});
            aEdits.insert(aEdits.end(), aBack.rbegin(), aBack.rend());
            return true;
        }
    }
    return false;
}

std::vector<TEdit> Edits(const TLines& aOld, const TLines& aNew) {
    size_t nHead = 0;
    while (nHead < aOld.size() && nHead < aNew.size() && aOld[nHead] == aNew[nHead])
        ++nHead;
    size_t nTail = 0;
    while (nTail < aOld.size() - nHead && nTail < aNew.size() - nHead &&
           aOld[aOld.size() - 1 - nTail] == aNew[aNew.size() - 1 - nTail])
        ++nTail;
    std::vector<TEdit> aEdits;
    for (size_t i = 0; i < nHead; ++i)
        aEdits.push_back({eEdit::Keep, i});
    const long n = static_cast<long>(aOld.size() - nHead - nTail);
    const long m = static_cast<long>(aNew.size() - nHead - nTail);
    if (!ShortestEdit(aOld, aNew, nHead, nHead, n, m, aEdits)) {
        for (long i = 0; i < n; ++i)
            aEdits.push_back({eEdit::Remove, nHead + static_cast<size_t>(i)});
        for (long i = 0; i < m; ++i)
            aEdits.push_back({eEdit::Add, nHead + static_cast<size_t>(i)});
    }
    for (size_t i = aOld.size() - nTail; i < aOld.size(); ++i)
        aEdits.push_back({eEdit::Keep, i});
    return aEdits;
}

// "-3,4": where a hunk's lines start (the line before an empty range) and how many there are.
std::string Range(size_t nFirst, size_t nCount) {
    return std::to_string(nCount ? nFirst + 1 : nFirst) + "," + std::to_string(nCount);
}

} // namespace

std::vector<std::string> UnifiedDiff(std::string_view strOld, std::string_view strNew, size_t nContext) {
    const TLines aOld = SplitLines(strOld), aNew = SplitLines(strNew);
    const std::vector<TEdit> aEdits = Edits(aOld, aNew);
    std::vector<std::string> aLines;
    // Where each edit stands in either text.
    std::vector<size_t> aOldAt(aEdits.size() + 1), aNewAt(aEdits.size() + 1);
    for (size_t i = 0; i < aEdits.size(); ++i) {
        aOldAt[i + 1] = aOldAt[i] + (aEdits[i].eKind != eEdit::Add);
        aNewAt[i + 1] = aNewAt[i] + (aEdits[i].eKind != eEdit::Remove);
    }
    size_t i = 0;
    while (i < aEdits.size()) {
        while (i < aEdits.size() && aEdits[i].eKind == eEdit::Keep)
            ++i;
        if (i == aEdits.size())
            break;
        // A hunk runs from nContext kept lines before its first change to nContext after its last, changes
        // closer than twice that joined.
        const size_t nStart = i >= nContext ? i - nContext : 0;
        size_t nEnd = i;
        for (size_t nKept = 0; nEnd < aEdits.size() && nKept <= 2 * nContext; ++nEnd)
            nKept = aEdits[nEnd].eKind == eEdit::Keep ? nKept + 1 : 0;
        while (nEnd > i && aEdits[nEnd - 1].eKind == eEdit::Keep)
            --nEnd;
        const size_t nStop = std::min(aEdits.size(), nEnd + nContext);
        aLines.push_back("@@ -" + Range(aOldAt[nStart], aOldAt[nStop] - aOldAt[nStart]) + " +" +
                         Range(aNewAt[nStart], aNewAt[nStop] - aNewAt[nStart]) + " @@");
        for (size_t j = nStart; j < nStop; ++j) {
            const TEdit& edit = aEdits[j];
            const char chMark = edit.eKind == eEdit::Keep ? ' ' : edit.eKind == eEdit::Remove ? '-' : '+';
            aLines.push_back(chMark + std::string(edit.eKind == eEdit::Add ? aNew[edit.nOld] : aOld[edit.nOld]));
        }
        i = nStop;
    }
    return aLines;
}
