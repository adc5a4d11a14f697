#include "backend/SnapshotReader.h"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cstring>
#include <optional>

namespace {

// A snapshot nests five levels deep; anything far deeper is not one, and must not exhaust the stack.
constexpr int kMaxDepth = 256;

enum class EMember { Missing, WrongType, Present };

// Bytes that a string copies as they are: printable ASCII other than the quote and the backslash.
constexpr std::array<bool, 256> MakePlainTable() {
    std::array<bool, 256> table{};
    for (int ch = 0x20; ch < 0x80; ++ch)
        table[static_cast<size_t>(ch)] = ch != '"' && ch != '\\';
    return table;
}
constexpr std::array<bool, 256> kPlain = MakePlainTable();

bool IsDigit(int ch) {
    return ch >= '0' && ch <= '9';
}

int HexValue(int ch) {
    if (IsDigit(ch))
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string& str, char32_t cp) {
    if (cp < 0x80) {
        str += static_cast<char>(cp);
    } else if (cp < 0x800) {
        str += static_cast<char>(0xC0 | (cp >> 6));
        str += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        str += static_cast<char>(0xE0 | (cp >> 12));
        str += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        str += static_cast<char>(0xF0 | (cp >> 18));
        str += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        str += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string LineAndColumn(std::string_view strText, size_t nByte) {
    nByte = std::min(nByte, strText.size());
    size_t nLine = 1, nLineStart = 0;
    for (size_t i = 0; i < nByte; ++i) {
        if (strText[i] == '\n') {
            ++nLine;
            nLineStart = i + 1;
        }
    }
    return "line " + std::to_string(nLine) + ", column " + std::to_string(nByte - nLineStart + 1);
}

[[noreturn]] void Problem(std::string strText) {
    throw TSnapshotProblem{std::move(strText)};
}

// What one statement object held, and the first reason it cannot be replayed.
struct TStatementState {
    EMember sql = EMember::Missing;
    EMember error = EMember::Missing;
    EMember sqlState = EMember::Missing;
    EMember native = EMember::Missing;
    EMember message = EMember::Missing;
    EMember columns = EMember::Missing;
    EMember rows = EMember::Missing;
    std::optional<std::string> columnProblem;
    std::vector<std::pair<size_t, bool>> aOddRows; // (row, not an array); otherwise a value of a wrong type
};

class CSnapshotTextReader {
public:
    CSnapshotTextReader(std::string_view strText, const std::function<void(size_t)>& onProgress)
        : m_strText(strText), m_p(strText.data()), m_pEnd(strText.data() + strText.size()),
          m_onProgress(onProgress) {}

    std::vector<TSnapshotStatement> Read() {
        SkipSpace();
        const bool bObject = Peek() == '{';
        if (bObject)
            ReadObject([this](const std::string& strKey) { ReadHeaderMember(strKey); });
        else
            SkipValue();
        SkipSpace();
        if (m_p != m_pEnd)
            Fail();
        if (!bObject)
            Problem("the top level must be an object");
        CheckHeader();
        if (m_statementProblem)
            Problem(*m_statementProblem);
        return std::move(m_aStatements);
    }

private:
    int Peek() const { return m_p < m_pEnd ? static_cast<unsigned char>(*m_p) : -1; }

    [[noreturn]] void Fail() const {
        Problem("not valid JSON at " + LineAndColumn(m_strText, static_cast<size_t>(m_p - m_strText.data())));
    }

    void Expect(char ch) {
        if (Peek() != static_cast<unsigned char>(ch))
            Fail();
        ++m_p;
    }

    void SkipSpace() {
        while (m_p < m_pEnd && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
            ++m_p;
    }

    // Reads the object that starts here; onMember(key) reads each member's value.
    template <class TOnMember> void ReadObject(TOnMember onMember) {
        const CDepth depth(*this);
        Expect('{');
        SkipSpace();
        if (Peek() == '}') {
            ++m_p;
            return;
        }
        std::string strKey;
        for (;;) {
            if (Peek() != '"')
                Fail();
            strKey.clear();
            ReadString(strKey);
            SkipSpace();
            Expect(':');
            SkipSpace();
            onMember(strKey);
            SkipSpace();
            if (Peek() == '}') {
                ++m_p;
                return;
            }
            Expect(',');
            SkipSpace();
        }
    }

    // Reads the array that starts here; onElement(index) reads each element.
    template <class TOnElement> void ReadArray(TOnElement onElement) {
        const CDepth depth(*this);
        Expect('[');
        SkipSpace();
        if (Peek() == ']') {
            ++m_p;
            return;
        }
        for (size_t i = 0;; ++i) {
            onElement(i);
            SkipSpace();
            if (Peek() == ']') {
                ++m_p;
                return;
            }
            Expect(',');
            SkipSpace();
        }
    }

    class CDepth {
    public:
        explicit CDepth(CSnapshotTextReader& reader) : m_reader(reader) {
            if (++m_reader.m_nDepth > kMaxDepth)
                Problem("nested too deeply at " +
                        LineAndColumn(reader.m_strText,
                                      static_cast<size_t>(reader.m_p - reader.m_strText.data())));
        }
        ~CDepth() { --m_reader.m_nDepth; }
        CDepth(const CDepth&) = delete;
        CDepth& operator=(const CDepth&) = delete;

    private:
        CSnapshotTextReader& m_reader;
    };

    // Appends the text of the string that starts here, escapes decoded; UTF-8 must be well formed.
    void ReadString(std::string& str) {
        Expect('"');
        for (bool bFirstRun = true;; bFirstRun = false) {
            const char* pRun = m_p;
            while (m_p < m_pEnd && kPlain[static_cast<unsigned char>(*m_p)])
                ++m_p;
            // Most strings are one plain run; others get room for the rest at once.
            if (bFirstRun && Peek() != '"')
                str.reserve(str.size() + static_cast<size_t>(m_p - pRun) + EncodedLength());
            str.append(pRun, static_cast<size_t>(m_p - pRun));
            const int ch = Peek();
            if (ch == '"') {
                ++m_p;
                return;
            }
            if (ch == '\\')
                ReadEscape(str);
            else if (ch >= 0x80)
                ReadUtf8Sequence(str);
            else
                Fail(); // a control character or the end of the text
        }
    }

    // The length of the string's text as written, up to its closing quote: room enough for its decoded
    // text, so that long text is copied once and holds no spare capacity.
    size_t EncodedLength() const {
        const char* p = m_p;
        for (;;) {
            p = static_cast<const char*>(std::memchr(p, '"', static_cast<size_t>(m_pEnd - p)));
            if (!p)
                return 0;
            size_t nBackslashes = 0;
            while (p - nBackslashes > m_p && p[-1 - static_cast<std::ptrdiff_t>(nBackslashes)] == '\\')
                ++nBackslashes;
            if (nBackslashes % 2 == 0)
                return static_cast<size_t>(p - m_p);
            ++p;
        }
    }

    void ReadEscape(std::string& str) {
        ++m_p;
        const int ch = Peek();
        ++m_p;
        switch (ch) {
        case '"':
        case '\\':
        case '/':
            str += static_cast<char>(ch);
            return;
        case 'b':
            str += '\b';
            return;
        case 'f':
            str += '\f';
            return;
        case 'n':
            str += '\n';
            return;
        case 'r':
            str += '\r';
            return;
        case 't':
            str += '\t';
            return;
        case 'u':
            AppendUtf8(str, ReadEscapedCodePoint());
            return;
        default:
            --m_p;
            Fail();
        }
    }

    // The code point of \uXXXX (its "\u" read), joining a surrogate pair.
    char32_t ReadEscapedCodePoint() {
        const char32_t nFirst = ReadHex4();
        if (nFirst >= 0xDC00 && nFirst <= 0xDFFF)
            Fail();
        if (nFirst < 0xD800 || nFirst > 0xDBFF)
            return nFirst;
        Expect('\\');
        Expect('u');
        const char32_t nSecond = ReadHex4();
        if (nSecond < 0xDC00 || nSecond > 0xDFFF)
            Fail();
        return 0x10000 + ((nFirst - 0xD800) << 10) + (nSecond - 0xDC00);
    }

    char32_t ReadHex4() {
        char32_t nValue = 0;
        for (int i = 0; i < 4; ++i) {
            const int nDigit = HexValue(Peek());
            if (nDigit < 0)
                Fail();
            nValue = nValue * 16 + static_cast<char32_t>(nDigit);
            ++m_p;
        }
        return nValue;
    }

    // One multi-byte character as RFC 3629 allows it: no overlong forms, no surrogates, at most U+10FFFF.
    void ReadUtf8Sequence(std::string& str) {
        const char* pStart = m_p;
        const int nLead = Peek();
        int nTrail = 0;
        int nLow = 0x80, nHigh = 0xBF; // the range of the first trail byte
        if (nLead >= 0xC2 && nLead <= 0xDF) {
            nTrail = 1;
        } else if (nLead >= 0xE0 && nLead <= 0xEF) {
            nTrail = 2;
            nLow = nLead == 0xE0 ? 0xA0 : 0x80;
            nHigh = nLead == 0xED ? 0x9F : 0xBF;
        } else if (nLead >= 0xF0 && nLead <= 0xF4) {
            nTrail = 3;
            nLow = nLead == 0xF0 ? 0x90 : 0x80;
            nHigh = nLead == 0xF4 ? 0x8F : 0xBF;
        } else {
            Fail();
        }
        ++m_p;
        for (int i = 0; i < nTrail; ++i, nLow = 0x80, nHigh = 0xBF) {
            const int ch = Peek();
            if (ch < nLow || ch > nHigh)
                Fail();
            ++m_p;
        }
        str.append(pStart, static_cast<size_t>(m_p - pStart));
    }

    // The number that starts here, as the JSON grammar allows it; bInteger when it has no fraction or
    // exponent.
    std::string_view ReadNumber(bool& bInteger) {
        const char* pStart = m_p;
        if (Peek() == '-')
            ++m_p;
        if (Peek() == '0')
            ++m_p;
        else if (IsDigit(Peek()))
            SkipDigits();
        else
            Fail();
        bInteger = true;
        if (Peek() == '.') {
            ++m_p;
            bInteger = false;
            RequireDigits();
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_p;
            bInteger = false;
            if (Peek() == '+' || Peek() == '-')
                ++m_p;
            RequireDigits();
        }
        return std::string_view(pStart, static_cast<size_t>(m_p - pStart));
    }

    void SkipDigits() {
        while (IsDigit(Peek()))
            ++m_p;
    }

    void RequireDigits() {
        if (!IsDigit(Peek()))
            Fail();
        SkipDigits();
    }

    // A whole number that fits 64 bits, signed or not, as JSON parsers keep it; otherwise none.
    static std::optional<long long> WholeNumber(std::string_view strToken, bool bInteger) {
        if (!bInteger)
            return std::nullopt;
        const char* pEnd = strToken.data() + strToken.size();
        long long nValue = 0;
        if (std::from_chars(strToken.data(), pEnd, nValue).ec == std::errc())
            return nValue;
        unsigned long long nUnsigned = 0;
        if (strToken.front() != '-' && std::from_chars(strToken.data(), pEnd, nUnsigned).ec == std::errc())
            return static_cast<long long>(nUnsigned);
        return std::nullopt;
    }

    // The number's text as a JSON library prints it back: whole numbers plainly, others as doubles.
    std::string NumberText(std::string_view strToken, bool bInteger) const {
        if (bInteger && strToken.size() < 19)
            return strToken == "-0" ? std::string("0") : std::string(strToken);
        if (bInteger) {
            const char* pEnd = strToken.data() + strToken.size();
            long long nValue = 0;
            if (std::from_chars(strToken.data(), pEnd, nValue).ec == std::errc())
                return std::to_string(nValue);
            unsigned long long nUnsigned = 0;
            if (strToken.front() != '-' &&
                std::from_chars(strToken.data(), pEnd, nUnsigned).ec == std::errc())
                return std::to_string(nUnsigned);
        }
        try {
            return nlohmann::json::parse(strToken).dump();
        } catch (const nlohmann::json::exception&) {
            Problem("number out of range at " +
                    LineAndColumn(m_strText, static_cast<size_t>(strToken.data() - m_strText.data())));
        }
    }

    void ReadLiteral(std::string_view strLiteral) {
        if (static_cast<size_t>(m_pEnd - m_p) < strLiteral.size() ||
            std::string_view(m_p, strLiteral.size()) != strLiteral) {
            for (const char ch : strLiteral) // the position of the first character that differs
                Expect(ch);
        }
        m_p += strLiteral.size();
    }

    // Checks the syntax of any value and passes over it.
    void SkipValue() {
        switch (Peek()) {
        case '{':
            ReadObject([this](const std::string&) { SkipValue(); });
            return;
        case '[':
            ReadArray([this](size_t) { SkipValue(); });
            return;
        case '"': {
            std::string strIgnored;
            ReadString(strIgnored);
            return;
        }
        default: {
            bool bBad = false;
            TDbValue ignored;
            ReadScalar(ignored, bBad);
        }
        }
    }

    // A row value: text, a number's text, "1"/"0" for true/false, or NULL. bBad for an object or array.
    void ReadScalar(TDbValue& value, bool& bBad) {
        switch (Peek()) {
        case '"':
            ReadString(value.emplace());
            return;
        case 'n':
            ReadLiteral("null");
            value.reset();
            return;
        case 't':
            ReadLiteral("true");
            value = "1";
            return;
        case 'f':
            ReadLiteral("false");
            value = "0";
            return;
        case '{':
        case '[':
            SkipValue();
            bBad = true;
            return;
        default: {
            bool bInteger = false;
            const std::string_view strToken = ReadNumber(bInteger);
            value = NumberText(strToken, bInteger);
        }
        }
    }

    EMember ReadStringMember(std::string& str) {
        if (Peek() != '"') {
            SkipValue();
            return EMember::WrongType;
        }
        str.clear();
        ReadString(str);
        return EMember::Present;
    }

    EMember ReadIntegerMember(long long& nValue) {
        if (Peek() != '-' && !IsDigit(Peek())) {
            SkipValue();
            return EMember::WrongType;
        }
        bool bInteger = false;
        const std::string_view strToken = ReadNumber(bInteger);
        const std::optional<long long> nNumber = WholeNumber(strToken, bInteger);
        if (!nNumber)
            return EMember::WrongType;
        nValue = *nNumber;
        return EMember::Present;
    }

    void ReadHeaderMember(const std::string& strKey) {
        if (strKey == "format") {
            m_format = ReadStringMember(m_strFormat);
        } else if (strKey == "version") {
            m_version = ReadIntegerMember(m_nVersion);
        } else if (strKey == "statements" && Peek() == '[') {
            m_statements = EMember::Present;
            m_aStatements.clear();
            m_statementProblem.reset();
            ReadArray([this](size_t nIndex) {
                ReadStatement(nIndex);
                if (m_onProgress)
                    m_onProgress(static_cast<size_t>(m_p - m_strText.data()));
            });
        } else if (strKey == "statements") {
            m_statements = EMember::WrongType;
            SkipValue();
        } else {
            SkipValue();
        }
    }

    void CheckHeader() const {
        if (m_format == EMember::Missing)
            Problem("header: \"format\" is missing");
        if (m_format == EMember::WrongType)
            Problem("header: \"format\" must be a string");
        if (m_strFormat != kSnapshotFormat)
            Problem(std::string("\"format\" must be \"") + kSnapshotFormat + "\"");
        if (m_version == EMember::Missing)
            Problem("header: \"version\" is missing");
        if (m_version == EMember::WrongType)
            Problem("header: \"version\" must be an integer");
        if (m_nVersion != kSnapshotVersion)
            Problem("unsupported \"version\" (this program reads version 1)");
        if (m_statements == EMember::Missing)
            Problem("header: \"statements\" is missing");
        if (m_statements == EMember::WrongType)
            Problem("header: \"statements\" must be an array");
    }

    void ReadStatement(size_t nIndex) {
        const std::string strWhere = "statement " + std::to_string(nIndex + 1);
        if (Peek() != '{') {
            SkipValue();
            NoteStatementProblem(strWhere + ": must be an object");
            return;
        }
        TSnapshotStatement stmt;
        TStatementState state;
        ReadObject([&](const std::string& strKey) { ReadStatementMember(strKey, stmt, state); });
        if (m_statementProblem)
            return; // an earlier statement already stops the load
        if (std::optional<std::string> problem = CheckStatement(stmt, state)) {
            NoteStatementProblem(strWhere + *problem);
            return;
        }
        if (stmt.error) {
            stmt.aColumns.clear();
            stmt.aRows.clear();
        }
        m_aStatements.push_back(std::move(stmt));
    }

    void NoteStatementProblem(std::string strProblem) {
        if (!m_statementProblem)
            m_statementProblem = std::move(strProblem);
    }

    void ReadStatementMember(const std::string& strKey, TSnapshotStatement& stmt, TStatementState& state) {
        if (strKey == "sql") {
            state.sql = ReadStringMember(stmt.strSql);
        } else if (strKey == "error") {
            ReadError(stmt, state);
        } else if (strKey == "columns") {
            ReadColumns(stmt, state);
        } else if (strKey == "rows") {
            ReadRows(stmt, state);
        } else {
            SkipValue();
        }
    }

    void ReadError(TSnapshotStatement& stmt, TStatementState& state) {
        if (Peek() != '{') {
            SkipValue();
            state.error = EMember::WrongType;
            return;
        }
        state.error = EMember::Present;
        state.sqlState = state.native = state.message = EMember::Missing;
        TDiagRecord& rec = stmt.error.emplace();
        ReadObject([&](const std::string& strKey) {
            if (strKey == "sqlstate") {
                state.sqlState = ReadStringMember(rec.strSqlState.Str());
            } else if (strKey == "native") {
                long long nNative = 0;
                state.native = ReadIntegerMember(nNative);
                rec.nNativeError = static_cast<long>(nNative);
            } else if (strKey == "message") {
                state.message = ReadStringMember(rec.strMessage.Str());
            } else {
                SkipValue();
            }
        });
    }

    void ReadColumns(TSnapshotStatement& stmt, TStatementState& state) {
        stmt.aColumns.clear();
        state.columnProblem.reset();
        if (Peek() != '[') {
            SkipValue();
            state.columns = EMember::WrongType;
            return;
        }
        state.columns = EMember::Present;
        m_aColumnScratch.clear();
        ReadArray([&](size_t) {
            if (Peek() != '{') {
                SkipValue();
                if (!state.columnProblem)
                    state.columnProblem = ": each column must be an object";
                return;
            }
            TDbColumn& column = m_aColumnScratch.emplace_back();
            EMember name = EMember::Missing;
            ReadObject([&](const std::string& strKey) {
                if (strKey == "name") {
                    name = ReadStringMember(column.strName);
                } else if (strKey == "type") {
                    if (ReadStringMember(column.strTypeName) != EMember::Present)
                        column.strTypeName.clear();
                } else {
                    SkipValue();
                }
            });
            if (!state.columnProblem && name == EMember::Missing)
                state.columnProblem = ": \"name\" is missing";
            if (!state.columnProblem && name == EMember::WrongType)
                state.columnProblem = ": \"name\" must be a string";
        });
        // Gathered aside and moved over at the end, so that the statement holds exactly its columns.
        stmt.aColumns.assign(std::make_move_iterator(m_aColumnScratch.begin()),
                             std::make_move_iterator(m_aColumnScratch.end()));
    }

    void ReadRows(TSnapshotStatement& stmt, TStatementState& state) {
        stmt.aRows.clear();
        state.aOddRows.clear();
        if (Peek() != '[') {
            SkipValue();
            state.rows = EMember::WrongType;
            return;
        }
        state.rows = EMember::Present;
        m_aRowScratch.clear();
        ReadArray([&](size_t nRow) {
            TDbRow& row = m_aRowScratch.emplace_back();
            if (Peek() != '[') {
                SkipValue();
                state.aOddRows.emplace_back(nRow, true);
                return;
            }
            row.reserve(stmt.aColumns.size());
            bool bBad = false;
            ReadArray([&](size_t) { ReadScalar(row.emplace_back(), bBad); });
            if (bBad)
                state.aOddRows.emplace_back(nRow, false);
        });
        stmt.aRows.assign(std::make_move_iterator(m_aRowScratch.begin()),
                          std::make_move_iterator(m_aRowScratch.end()));
    }

    // The first reason, in the order a reader of the file would look, that the statement cannot be replayed.
    static std::optional<std::string> CheckStatement(const TSnapshotStatement& stmt,
                                                     const TStatementState& state) {
        if (state.sql != EMember::Present)
            return state.sql == EMember::Missing ? ": \"sql\" is missing" : ": \"sql\" must be a string";
        if (state.error == EMember::WrongType)
            return ": \"error\" must be an object";
        if (state.error == EMember::Present)
            return CheckError(state);
        if (state.columns != EMember::Present)
            return state.columns == EMember::Missing ? ": \"columns\" is missing"
                                                     : ": \"columns\" must be an array";
        if (state.columnProblem)
            return state.columnProblem;
        if (state.rows != EMember::Present)
            return state.rows == EMember::Missing ? ": \"rows\" is missing" : ": \"rows\" must be an array";
        const size_t nColumns = stmt.aColumns.size();
        auto itOdd = state.aOddRows.begin();
        for (size_t nRow = 0; nRow < stmt.aRows.size(); ++nRow) {
            const bool bOdd = itOdd != state.aOddRows.end() && itOdd->first == nRow;
            const std::string strRow = " row " + std::to_string(nRow + 1);
            if ((bOdd && itOdd->second) || stmt.aRows[nRow].size() != nColumns)
                return strRow + ": must be an array of " + std::to_string(nColumns) + " values";
            if (bOdd)
                return strRow + ": a value must be a string, a number or null";
        }
        return std::nullopt;
    }

    static std::optional<std::string> CheckError(const TStatementState& state) {
        const auto check = [](EMember member, const char* pszKey,
                              const char* pszType) -> std::optional<std::string> {
            if (member == EMember::Missing)
                return std::string(" error: \"") + pszKey + "\" is missing";
            if (member == EMember::WrongType)
                return std::string(" error: \"") + pszKey + "\" must be " + pszType;
            return std::nullopt;
        };
        if (auto problem = check(state.sqlState, "sqlstate", "a string"))
            return problem;
        if (auto problem = check(state.native, "native", "an integer"))
            return problem;
        return check(state.message, "message", "a string");
    }

    std::string_view m_strText;
    const char* m_p;
    const char* m_pEnd;
    const std::function<void(size_t)>& m_onProgress;
    int m_nDepth = 0;

    EMember m_format = EMember::Missing;
    EMember m_version = EMember::Missing;
    EMember m_statements = EMember::Missing;
    std::string m_strFormat;
    long long m_nVersion = 0;
    std::vector<TSnapshotStatement> m_aStatements;
    std::optional<std::string> m_statementProblem;
    std::vector<TDbColumn> m_aColumnScratch;
    std::vector<TDbRow> m_aRowScratch;
};

} // namespace

std::vector<TSnapshotStatement> ReadSnapshotText(std::string_view strText,
                                                 const std::function<void(size_t)>& onProgress) {
    return CSnapshotTextReader(strText, onProgress).Read();
}
