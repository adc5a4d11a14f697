#include "backend/SnapshotReader.h"

#include <simdjson.h>

#include <algorithm>
#include <array>
#include <new>
#include <unordered_map>

namespace {

namespace od = simdjson::ondemand;

constexpr const char* kHeader = "the header {\"format\": \"sqlscripts-catalog-snapshot\", \"version\": 2}";
constexpr const char* kLine = "a statement {\"sql\": ...}, a row [...] or the end {\"end\": \"complete\"}";
constexpr const char* kColumns = "\"columns\": [...]";
constexpr const char* kColumn = "a column {\"name\": \"...\", \"type\": \"...\"}";
constexpr const char* kError = "\"error\": {\"sqlstate\": \"...\", \"native\": 0, \"message\": \"...\"}";
constexpr const char* kValue = "a string, a number as JSON writes it (within a double's range) or null";

// The members of the file's objects that hold text or a number.
enum EMember {
    eSql,
    eFormat,
    eSource,
    eDatabase,
    eEnd,
    eWhy,
    eName,
    eType,
    eState,
    eText,
    eVersion,
    eNative,
    eCount
};
constexpr std::string_view kMembers[] = {"sql",  "format", "source",   "database", "end",     "reason",
                                         "name", "type",   "sqlstate", "message",  "version", "native"};

struct TMembers { // where each of them stood in an object (null when it lacks it), and its text or number
    const char* pObject;
    std::array<const char*, eCount> at{};
    std::array<std::string_view, eCount> texts{};
    std::array<std::int64_t, eCount> numbers{};
    const char* At(EMember e) const { return at[e] ? at[e] : pObject; } // where it is, or ought to be
};

class CSnapshotTextReader {
public:
    CSnapshotTextReader(TSnapshotContent content, const std::string& strPath)
        : m_content(std::move(content)), m_strPath(strPath) {}

    TSnapshotContent Read() {
        od::object object; // version 1 is one object over several lines: its first line leaves it open
        if (!NextLine() ||
            (m_parser.iterate(m_line, m_text.RoomFrom(m_line.data())).get(m_doc) == simdjson::SUCCESS &&
             m_doc.get_object().get(object) == simdjson::INCOMPLETE_ARRAY_OR_OBJECT)) {
            m_line = m_text.All();
            m_nLine = 1;
            m_bWhole = true;
        }
        for (bool bLine = true; bLine; bLine = NextLine())
            ReadLine();
        if (!m_bHeader)
            Fail(m_line.data() + m_line.size(), kHeader);
        if (!m_bEnded)
            m_content.strCutShort = "the file ends before its end line";
        return std::move(m_content);
    }

private:
    bool NextLine() { return m_text.NextLine(m_line) && ++m_nLine; }

    void ReadLine() {
        const size_t nFirst = m_line.find_first_not_of(" \t\r\n");
        if (nFirst == std::string::npos)
            return;
        const char* pAt = m_line.data() + nFirst;
        if (m_bEnded)
            Fail(pAt, "nothing after the end line");
        const char* pszExpected = m_bHeader ? kLine : kHeader;
        m_doc = Take(m_parser.iterate(m_line, m_text.RoomFrom(m_line.data())), pAt, pszExpected);
        if (*pAt != '[' || !m_bHeader)
            ReadObject(Take(m_doc.get_object(), pAt, pszExpected), pAt);
        else if (m_content.aEntries.empty() || m_content.aEntries.back().pError)
            Fail(pAt, "a statement with \"columns\" before its rows");
        else
            ReadRow(m_content.aEntries.back(), Take(m_doc.get_array(), pAt, kLine), pAt);
        if (const char* pNext = nullptr; m_doc.current_location().get(pNext) == simdjson::SUCCESS)
            Fail(pNext, "nothing after the value", simdjson::TAPE_ERROR);
    }

    // An object of the file: the header, a statement or the end (in version 1 they hold what follows them).
    void ReadObject(od::object object, const char* pAt) {
        const bool bHeader = !std::exchange(m_bHeader, true);
        TSnapshotEntry entry;
        entry.nFirstValue = m_content.values.GetCount();
        const char* pStatements = nullptr;
        const auto onOther = [&](std::string_view strKey, od::value value, const char* p) {
            if (strKey == "columns")
                entry.pColumns = &ReadColumns(value, p);
            else if (strKey == "error")
                entry.pError = std::make_unique<TDiagRecord>(ReadError(value, p));
            else if (strKey == "rows" && !entry.pColumns)
                Fail(p, "\"columns\" before \"rows\"");
            else if (strKey == "rows" || strKey == "statements")
                ForEachElement(Take(value.get_array(), p, "an array"), [&](od::value item, const char* q) {
                    strKey == "rows"
                        ? ReadRow(entry, Take(item.get_array(), q, "a row [...]"), q)
                        : ReadObject(Take(item.get_object(), q, "a statement {\"sql\": ...}"), q);
                });
            pStatements = strKey == "statements" ? p : pStatements;
        };
        const TMembers members = ReadMembers(object, pAt, onOther);
        if (bHeader) { // version 1 has its statements in the header; version 2 on lines of their own
            if (members.texts[eFormat] != kSnapshotFormat)
                Fail(members.At(eFormat), std::string("\"format\": \"") + kSnapshotFormat + "\"");
            if (members.numbers[eVersion] != (pStatements ? 1 : 2))
                Fail(members.At(eVersion), pStatements ? "\"version\": 1" : "\"version\": 2");
            m_content.strSource = members.texts[eSource];
            m_content.strDatabase = members.texts[eDatabase];
            return void(m_bEnded = pStatements);
        }
        if (members.at[eEnd]) {
            const std::string_view strEnd = members.texts[eEnd];
            if (members.at[eSql] || (strEnd != "complete" && strEnd != "cut short"))
                Fail(members.At(eEnd), "\"end\": \"complete\" or \"cut short\"");
            if (strEnd == "cut short")
                m_content.strCutShort = members.at[eWhy] ? members.texts[eWhy] : "no reason given";
            return void(m_bEnded = true);
        }
        if (!members.at[eSql] || (!entry.pColumns && !entry.pError))
            Fail(pAt, "a statement with \"sql\", and \"columns\" or \"error\"");
        entry.strSql = members.texts[eSql];
        if (entry.pError) { // what the server answered besides its error is of no use
            m_content.values.Truncate(entry.nFirstValue);
            entry.nRows = 0;
        }
        m_content.aEntries.push_back(std::move(entry));
    }

    // The columns, the same list for every statement whose list reads alike: most share theirs with many, so
    // a list is read once, on a parser of its own, and known by its text after that.
    const std::vector<TDbColumn>& ReadColumns(od::value value, const char* pAt) {
        const std::string_view strList =
            Take(Take(value.get_array(), pAt, kColumns).raw_json(), pAt, kColumns);
        if (const std::vector<TDbColumn>* pKnown = m_columnLists[strList])
            return *pKnown;
        auto list = Take(m_listParser.iterate(strList, m_text.RoomFrom(strList.data())), pAt, kColumns);
        m_pDoc = &list;
        std::vector<TDbColumn>& aColumns = m_content.aColumnLists.emplace_back();
        ForEachElement(Take(list.get_array(), pAt, kColumns), [&](od::value item, const char* p) {
            const TMembers members = ReadMembers(Take(item.get_object(), p, kColumn), p, [](auto&&...) {});
            if (!members.at[eName])
                Fail(p, kColumn);
            aColumns.push_back({std::string(members.texts[eName]), std::string(members.texts[eType])});
        });
        m_pDoc = &m_doc;
        return *(m_columnLists[strList] = &aColumns);
    }

    TDiagRecord ReadError(od::value value, const char* pAt) {
        const TMembers members = ReadMembers(Take(value.get_object(), pAt, kError), pAt, [](auto&&...) {});
        if (!members.at[eState] || !members.at[eNative] || !members.at[eText])
            Fail(pAt, kError);
        return {members.texts[eState], members.numbers[eNative], members.texts[eText]};
    }

    // The members of text and numbers of an object; onOther gets the others.
    template <class TOnOther> TMembers ReadMembers(od::object object, const char* pAt, TOnOther onOther) {
        TMembers members{pAt};
        for (auto member : object) {
            od::field field = Take(std::move(member), nullptr, "a member \"name\": value");
            const std::string_view strKey = Take(field.unescaped_key(), nullptr, "a member \"name\": value");
            const char* p = field.value().raw_json_token().data();
            const auto n = static_cast<size_t>(std::ranges::find(kMembers, strKey) - std::begin(kMembers));
            if (n == eCount)
                onOther(strKey, field.value(), p);
            else if (members.at[n] = p; n == eSql) // kept: the statement's text
                members.texts[n] = Text(field.value(), p, "\"sql\": a string");
            else if (const auto error = n < eVersion ? field.value().get_string().get(members.texts[n])
                                                     : field.value().get_int64().get(members.numbers[n]))
                Fail(p, "\"" + std::string(strKey) + (n < eVersion ? "\": a string" : "\": an integer"),
                     error);
        }
        return members;
    }

    // A row of the statement's: a value for each column, text (a number's as it stands), "1", "0" or NULL.
    void ReadRow(TSnapshotEntry& entry, od::array row, const char* pAt) {
        const size_t nFirst = m_content.values.GetCount();
        ForEachElement(row, [&](od::value value, const char* p) {
            using enum od::json_type;
            const od::json_type type = Take(value.type(), p, kValue);
            if (type == string)
                m_content.values.Add(Text(value, p, kValue));
            else if (type == number && value.get_double().error() == simdjson::SUCCESS)
                m_content.values.Add(Trimmed(value.raw_json_token()));
            else if (type == boolean)
                m_content.values.Add(std::string_view(Take(value.get_bool(), p, kValue) ? "1" : "0"));
            else if (type == null && Take(value.is_null(), p, kValue))
                m_content.values.Add(TDbValue());
            else
                Fail(p, kValue, type == null ? simdjson::N_ATOM_ERROR : simdjson::INCORRECT_TYPE);
        });
        if (m_content.values.GetCount() - nFirst != entry.pColumns->size())
            Fail(pAt, "a row of as many values as columns: " + std::to_string(entry.pColumns->size()));
        ++entry.nRows;
    }

    // A string's text, kept where the file has it: decoded over its escapes, which take more room than what
    // they stand for. In a file of version 1, whose errors count the lines of its text, decoded beside it.
    std::string_view Text(od::value value, const char* pAt, const char* pszExpected) {
        const std::string_view strRaw = Trimmed(value.raw_json_token());
        if (strRaw.size() >= 2 && strRaw.front() == '"' && strRaw.find('\\') == std::string_view::npos)
            return strRaw.substr(1, strRaw.size() - 2);
        const std::string_view str = Take(value.get_string(), pAt, pszExpected);
        if (m_bWhole)
            return m_content.aDecoded.emplace_back(str);
        char* pText = const_cast<char*>(strRaw.data()) + 1;
        return {pText, static_cast<size_t>(std::ranges::copy(str, pText).out - pText)};
    }

    static std::string_view Trimmed(std::string_view str) { // of the blanks after a token, which are rare
        return str.empty() || str.back() > ' ' ? str : str.substr(0, str.find_last_not_of(" \t\r\n") + 1);
    }

    template <class TOnElement> void ForEachElement(od::array array, TOnElement onElement) {
        for (auto element : array) {
            od::value value = Take(std::move(element), nullptr, "a value");
            onElement(value, value.raw_json_token().data());
        }
    }

    // The result's value; its error fails at pAt, or where the document stands when that is null.
    template <class T>
    T Take(simdjson::simdjson_result<T>&& result, const char* pAt, std::string_view strExpected) {
        T value{};
        if (const simdjson::error_code error = std::move(result).get(value))
            Fail(pAt ? pAt : Here(), strExpected, error);
        return value;
    }

    // The token the document stands at, or the end of its text.
    const char* Here() {
        const char* p = nullptr;
        return m_pDoc->current_location().get(p) == simdjson::SUCCESS ? p : m_line.data() + m_line.size();
    }

    [[noreturn]] void Fail(const char* pAt, std::string_view strExpected,
                           simdjson::error_code error = simdjson::INCORRECT_TYPE) {
        if (error == simdjson::MEMALLOC)
            throw std::bad_alloc();
        if (error == simdjson::UTF8_ERROR || error == simdjson::UNESCAPED_CHARS ||
            error == simdjson::UNCLOSED_STRING)
            FailInText();
        if (error == simdjson::INCOMPLETE_ARRAY_OR_OBJECT) // the brackets of the text do not pair up
            Fail(m_line.data() + Trimmed(m_line).size() - 1,
                 std::string("the bracket closing the first \"") + *pAt + "\" at the end",
                 simdjson::TAPE_ERROR);
        // A line of version 2 may hold line ends decoded out of its strings, where the line is one.
        const std::string_view strBefore(m_line.data(), static_cast<size_t>(pAt - m_line.data()));
        const size_t nLineStart = m_bWhole ? strBefore.rfind('\n') + 1 : 0;
        AfxThrowDBException(
            "HY000", 0,
            CString("Catalog snapshot " + m_strPath + ": line " +
                    std::to_string(m_nLine + (m_bWhole ? std::ranges::count(strBefore, '\n') : 0)) +
                    ", column " + std::to_string(strBefore.size() - nLineStart + 1) +
                    (error == simdjson::INCORRECT_TYPE ? ": expected " : ": not valid JSON, expected ") +
                    std::string(strExpected)));
    }

    // What simdjson finds in the text before it reads it, without saying where: the first byte that is not
    // UTF-8, a control character within a string, or a string left open.
    [[noreturn]] void FailInText() {
        const char* pString = nullptr; // where the string the text is in begins
        for (const char* p = m_line.data(); p < m_line.data() + m_line.size(); ++p) {
            const auto ch = static_cast<unsigned char>(*p);
            const size_t nLength =
                std::min<size_t>(2 + (ch >= 0xE0) + (ch >= 0xF0), m_line.data() + m_line.size() - p);
            if (ch >= 0x80 && !simdjson::validate_utf8(p, nLength))
                Fail(p, "UTF-8 text");
            if (pString && ch < 0x20)
                Fail(p, "control characters in strings written as escapes (\\n, \\t, \\u0001)");
            p += ch >= 0x80 ? nLength - 1 : pString && ch == '\\' ? 1 : 0;
            pString = ch == '"' ? (pString ? nullptr : p) : pString;
        }
        Fail(pString ? pString : m_line.data(), "the string to end");
    }

    TSnapshotContent m_content;
    CSnapshotText& m_text = *m_content.pText;
    const std::string& m_strPath;
    std::string_view m_line; // being read, or all of a file of version 1
    size_t m_nLine = 0;
    bool m_bWhole = false, m_bHeader = false, m_bEnded = false; // version 1 read whole; header, end read
    od::parser m_parser, m_listParser;
    od::document m_doc;
    od::document* m_pDoc = &m_doc;                                                     // being read
    std::unordered_map<std::string_view, const std::vector<TDbColumn>*> m_columnLists; // by their text
};

} // namespace

TSnapshotContent ReadSnapshot(TSnapshotContent content, const std::string& strPath) {
    return CSnapshotTextReader(std::move(content), strPath).Read();
}
