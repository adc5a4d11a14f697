#include "backend/SnapshotReader.h"

#include <nlohmann/json.hpp>
#include <simdjson.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <sys/mman.h>

namespace {

namespace od = simdjson::ondemand;

// A snapshot nests five levels deep; anything far deeper is not one, and must not exhaust the stack.
constexpr int kMaxDepth = 256;
// The text handed to simdjson at a time: small, so that the text and the statements read from it are
// never both resident whole. A statement longer than it widens it.
constexpr size_t kFirstWindow = size_t(1) << 21;
// simdjson's capacity: a small piece's, or at once one whose buffers malloc maps (see Iterate).
constexpr size_t kSmallPiece = size_t(16) << 10;
constexpr size_t kParserCapacity = size_t(20) << 20;

enum class EMember { Missing, WrongType, Present };

[[noreturn]] void Problem(std::string strText) {
    throw TSnapshotProblem{std::move(strText)};
}

// The piece being read runs on past the window: it is read again, on more text.
struct TWindowEnd {};

// A fault that simdjson's first pass finds in the text but does not place: the first control character
// within a string, the end of a string left open, or the first character that is not UTF-8. nCut: where
// the text ends for another look at what comes before it, at the start of the string that holds it.
struct TFault {
    size_t nAt;
    size_t nCut;
    bool bInString;
};

TFault FirstFault(std::string_view strText) {
    std::optional<size_t> nString; // the start of the string the text is in
    for (size_t i = 0; i < strText.size(); ++i) {
        const auto ch = static_cast<unsigned char>(strText[i]);
        if (ch >= 0x80) {
            const size_t nLength = std::min<size_t>(ch >= 0xF0 ? 4 : ch >= 0xE0 ? 3 : 2, strText.size() - i);
            if (!simdjson::validate_utf8(strText.data() + i, nLength))
                return {i, nString.value_or(i), nString.has_value()};
            i += nLength - 1;
        } else if (nString && ch < 0x20) {
            return {i, *nString, true};
        } else if (ch == '"') {
            nString = nString ? std::nullopt : std::optional<size_t>(i);
        } else if (ch == '\\' && i + 1 < strText.size() &&
                   (strText[i + 1] == '"' || strText[i + 1] == '\\')) {
            ++i; // as simdjson sees escapes, in strings or not
        }
    }
    return {strText.size(), nString.value_or(strText.size()), nString.has_value()};
}

// Memory mapped directly rather than by malloc, which raises the size from which it maps memory when a
// block that large is freed: later large blocks (the export's texts) would stay in its heap after use.
struct TUnmap {
    size_t nSize;
    void operator()(char* p) const { ::munmap(p, nSize); }
};
using TMapped = std::unique_ptr<char, TUnmap>;

TMapped Map(size_t nSize) {
    void* p = ::mmap(nullptr, nSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    return TMapped(static_cast<char*>(p), TUnmap{nSize});
}

// The text, seen a piece at a time: each piece goes to simdjson as a document of its own, with JSON
// before it that continues what the last piece left open, the bracket that closes the document after it,
// and the padding that simdjson reads past the end. A piece ends at a line break, which valid JSON has
// only between tokens, or at the end of the text. Line and column are counted on the text left behind.
class CTextWindow {
public:
    explicit CTextWindow(const TSnapshotSource& source) : m_source(source) {}

    // The piece of text from nStart on behind strPrefix; bWider doubles the window first.
    void Piece(size_t nStart, std::string_view strPrefix, bool bWider) {
        Restore();
        LeaveBehind(nStart);
        if (bWider || !m_pBuffer)
            Widen();
        while (m_nLength < m_nWindow && !m_bEnd) {
            const size_t nRead = m_source(Start() + m_nLength, m_nWindow - m_nLength, m_nBase + m_nLength);
            m_bEnd = nRead == 0;
            m_nLength += nRead;
        }
        m_nPrefix = strPrefix.size();
        std::memcpy(Start() - m_nPrefix, strPrefix.data(), m_nPrefix);
        const void* pLineEnd = m_bEnd ? nullptr : ::memrchr(Start(), '\n', m_nLength);
        m_nCut = m_bEnd ? m_nLength : pLineEnd ? static_cast<const char*>(pLineEnd) - Start() + 1 : 0;
        if (m_fault)
            m_nCut = std::min(m_nCut, m_fault->nCut - m_nBase);
    }

    // From now on pieces end at the fault, as if the text ended there, so that simdjson finds any fault
    // before it.
    void Fault(const TFault& fault) { m_fault = fault; }
    // The piece ends at the fault.
    bool Faulted() const { return m_fault && m_nBase + m_nCut == m_fault->nCut; }
    // The offset where the piece's text ends: where the text does, or the fault.
    size_t End() const { return Faulted() ? m_fault->nAt : m_nBase + m_nCut; }

    // The document: the piece behind its prefix and before chClose; a string cut by a fault stands empty,
    // so that one where no string may stand is a fault before it.
    simdjson::padded_string_view Close(char chClose) {
        char* pCut = Start() + m_nCut;
        std::memcpy(m_aSaved.data(), pCut, m_aSaved.size());
        m_bSaved = true;
        char* pClose = Closer();
        std::memcpy(pCut, "\"\"", static_cast<size_t>(pClose - pCut));
        *pClose = chClose;
        std::memset(pClose + 1, 0, simdjson::SIMDJSON_PADDING);
        const size_t nLength = m_nPrefix + static_cast<size_t>(pClose + 1 - Start());
        return simdjson::padded_string_view(Start() - m_nPrefix, nLength,
                                            nLength + simdjson::SIMDJSON_PADDING);
    }

    // Back to the text's start, for reading it again; the fault stays.
    void Rewind() {
        Restore();
        m_nBase = m_nLength = m_nLines = m_nLineStart = 0;
        m_bEnd = false;
    }

    std::string_view Text() const { return {Start(), m_nCut}; }
    char* Closer() const { return Start() + m_nCut + (Faulted() && m_fault->bInString ? 2 : 0); }
    bool AtEnd() const { return m_bEnd || Faulted(); } // the piece runs to the end of the text

    // The offset in the text of a place in the document; its prefix counts as the piece's start.
    size_t Offset(const char* p) const {
        return m_nBase + (p < Start() ? 0 : std::min(static_cast<size_t>(p - Start()), m_nCut));
    }

    std::string Where(size_t nOffset) {
        Restore();
        size_t nLines = m_nLines, nLineStart = m_nLineStart;
        CountLines(nOffset - m_nBase, nLines, nLineStart);
        return "line " + std::to_string(nLines + 1) + ", column " + std::to_string(nOffset - nLineStart + 1);
    }

private:
    // Room for the longest prefix before the text, and for the closing bracket and padding after it.
    static constexpr size_t kBefore = 16;
    static constexpr size_t kAfter = 3 + simdjson::SIMDJSON_PADDING;

    char* Start() const { return m_pBuffer.get() + kBefore; }

    // Adds the line breaks in the first n bytes of text to nLines; nLineStart: the offset after the last.
    void CountLines(size_t n, size_t& nLines, size_t& nLineStart) const {
        size_t i = 0;
        for (; i + 64 <= n; i += 64) { // in blocks that compilers vectorize
            unsigned char nBlock = 0;
            for (size_t j = 0; j < 64; ++j)
                nBlock += Start()[i + j] == '\n';
            nLines += nBlock;
        }
        for (; i < n; ++i)
            nLines += Start()[i] == '\n';
        if (const void* pLast = ::memrchr(Start(), '\n', n))
            nLineStart = m_nBase + static_cast<size_t>(static_cast<const char*>(pLast) - Start()) + 1;
    }

    void Restore() {
        if (m_bSaved)
            std::memcpy(Start() + m_nCut, m_aSaved.data(), m_aSaved.size());
        m_bSaved = false;
    }

    // Drops the text before nStart.
    void LeaveBehind(size_t nStart) {
        const size_t nDrop = nStart - m_nBase;
        if (nDrop == 0)
            return;
        CountLines(nDrop, m_nLines, m_nLineStart);
        std::memmove(Start(), Start() + nDrop, m_nLength - nDrop);
        m_nLength -= nDrop;
        m_nBase = nStart;
    }

    void Widen() {
        m_nWindow = m_pBuffer ? 2 * m_nWindow : kFirstWindow;
        TMapped pBuffer = Map(kBefore + m_nWindow + kAfter);
        if (m_pBuffer)
            std::memcpy(pBuffer.get() + kBefore, Start(), m_nLength);
        m_pBuffer = std::move(pBuffer);
    }

    const TSnapshotSource& m_source;
    TMapped m_pBuffer;
    size_t m_nWindow = 0; // bytes of text the buffer holds at most
    size_t m_nBase = 0;   // the offset of the buffer's first byte of text
    size_t m_nLength = 0; // bytes of text in the buffer
    size_t m_nPrefix = 0;
    size_t m_nCut = 0; // bytes of text in the piece
    bool m_bEnd = false;
    std::array<char, kAfter> m_aSaved{}; // the text under the closing bracket and the padding
    bool m_bSaved = false;
    std::optional<TFault> m_fault; // at offsets in the text
    size_t m_nLines = 0;           // line breaks before m_nBase
    size_t m_nLineStart = 0;       // the offset after the last of them
};

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

// Where a piece cut short goes on: after a whole statement, or after a whole row of the statement being
// read, so that a piece never has to hold a statement whole.
struct TResume {
    size_t nOffset = 0;
    size_t nIndex = 0; // statements of the array begun there
    bool bInRows = false;
    size_t nRows = 0;    // rows of the statement being read, there
    size_t nOddRows = 0; // and its rows noted as odd
};

class CSnapshotTextReader {
public:
    CSnapshotTextReader(const TSnapshotSource& source, const std::function<void(size_t)>& onProgress)
        : m_window(source), m_onProgress(onProgress) {}

    std::vector<TSnapshotStatement> Read() {
        bool bWider = false;
        for (;;) {
            const TResume start = m_resume;
            try {
                ReadPiece(start, bWider);
                break;
            } catch (const TFault& fault) {
                // Everything again, the text ending at the fault, for a fault before it.
                m_window.Fault(fault);
                Rewind();
                bWider = false;
            } catch (const TWindowEnd&) {
                // On after the last whole statement or row, or the same piece again on a wider window.
                bWider = m_resume.nOffset <= start.nOffset;
            }
        }
        CheckHeader();
        if (m_statementProblem)
            Problem(*m_statementProblem);
        return std::move(m_aStatements);
    }

private:
    void Rewind() {
        m_window.Rewind();
        m_resume = {};
        m_format = m_version = m_statements = EMember::Missing;
        m_aStatements.clear();
        m_statementProblem.reset();
    }

    // The top-level object from the resume point on. Past the start, the piece goes on in the statements
    // array after a statement: behind the prefix, a member of no name holds the rest of it after a null;
    // or in the rows of a statement: the first statement of that array has a member of no name that
    // holds the rest of them after a null.
    void ReadPiece(const TResume& at, bool bWider) {
        const bool bGoingOn = at.nOffset > 0;
        m_window.Piece(at.nOffset,
                       !bGoingOn    ? ""
                       : at.bInRows ? "{\"\":[{\"\":[null"
                                    : "{\"\":[null",
                       bWider);
        const std::string_view strText = m_window.Text();
        const size_t nFirst = strText.find_first_not_of(" \t\r\n");
        const char chFirst = nFirst == std::string_view::npos ? ' ' : strText[nFirst];
        if (!bGoingOn && chFirst != '{') {
            // Not a snapshot: read whole, for the first fault in it.
            if (!m_window.AtEnd())
                throw TWindowEnd{};
            Iterate(chFirst == '[' ? ']' : ' ');
            Skip(m_doc, 1);
            RequireEnd(chFirst == '[');
            Problem("the top level must be an object");
        }
        Iterate('}');
        m_nIndex = at.nIndex;
        if (at.bInRows) {
            m_aRowScratch.resize(at.nRows);
            m_pending.state.aOddRows.resize(at.nOddRows);
        }
        bool bFirst = true;
        ForEachMember(m_doc, [&](std::string_view strKey, od::value& value) {
            if (std::exchange(bFirst, false) && bGoingOn)
                ReadStatements(value, true, at.bInRows);
            else if (strKey == "format")
                m_format = ReadString(value, m_strFormat, 2);
            else if (strKey == "version")
                m_version = ReadInteger(value, m_nVersion, 2);
            else if (strKey == "statements")
                ReadStatementsMember(value);
            else
                Skip(value, 2);
        });
        RequireEnd(true);
    }

    void Iterate(char chClose) {
        const simdjson::padded_string_view text = m_window.Close(chClose);
        // simdjson's buffers come from malloc: small, they stay in its heap; past 32 MB of address space
        // (touched only as far as a window reaches) it maps them without raising its threshold (see
        // TMapped).
        if (text.length() > m_parser.capacity()) {
            const size_t nCapacity =
                text.length() <= kSmallPiece ? kSmallPiece : std::max(text.length(), kParserCapacity);
            if (m_parser.allocate(nCapacity) != simdjson::SUCCESS)
                throw std::bad_alloc();
        }
        if (const simdjson::error_code error = m_parser.iterate(text).get(m_doc))
            Fail(error, nullptr);
    }

    // After the top-level value: the text must end there. bClosed: the value is closed by the bracket
    // after the piece when no token follows it.
    void RequireEnd(bool bClosed) {
        const char* pNext = Here();
        if (pNext && pNext < m_window.Closer())
            Fail(simdjson::TAPE_ERROR, pNext);
        // Closed by the bracket after the piece, the text ends early unless the window does.
        if (m_window.Faulted() || (!pNext && bClosed))
            Fail(simdjson::TAPE_ERROR, m_window.Closer());
        if (pNext && !m_window.AtEnd())
            throw TWindowEnd{};
    }

    // A statement closed by the bracket after the piece is one cut short.
    void RequireMore() {
        if (!Here())
            Fail(simdjson::TAPE_ERROR, nullptr);
    }

    // The token the document stands at; null at its end.
    const char* Here() {
        const char* p = nullptr;
        return m_doc.current_location().get(p) == simdjson::SUCCESS ? p : nullptr;
    }

    [[noreturn]] void Fail(simdjson::error_code error, const char* pAt) {
        if (error == simdjson::MEMALLOC)
            throw std::bad_alloc();
        if (error == simdjson::CAPACITY)
            Problem(std::string("cannot be read: ") + simdjson::error_message(error));
        const bool bFirstPass = error == simdjson::UTF8_ERROR || error == simdjson::UNESCAPED_CHARS ||
                                error == simdjson::UNCLOSED_STRING;
        if (bFirstPass && !m_window.Faulted()) {
            const TFault fault = FirstFault(m_window.Text());
            const size_t nText = m_window.Offset(m_window.Text().data());
            throw TFault{nText + fault.nAt, nText + fault.nCut, fault.bInString};
        }
        if (bFirstPass || !pAt || pAt >= m_window.Closer()) {
            // Running into the bracket after the piece means running out of text.
            if (!m_window.AtEnd())
                throw TWindowEnd{};
            Problem("not valid JSON at " + m_window.Where(m_window.End()));
        }
        Problem("not valid JSON at " + m_window.Where(m_window.Offset(pAt)));
    }

    template <class T> T Take(simdjson::simdjson_result<T>&& result, const char* pAt) {
        T value{};
        if (const simdjson::error_code error = std::move(result).get(value))
            Fail(error, pAt);
        return value;
    }

    // The result of asking the value for something; a fault is placed at the value.
    template <class T, class TValue> T TakeOf(simdjson::simdjson_result<T>&& result, TValue& value) {
        T answer{};
        if (const simdjson::error_code error = std::move(result).get(answer))
            Fail(error, TokenOf(value).data());
        return answer;
    }

    // The token the value starts with, to the next one.
    static std::string_view TokenOf(od::value& value) { return value.raw_json_token(); }
    static std::string_view TokenOf(od::document& doc) {
        std::string_view strToken;
        return doc.raw_json_token().get(strToken) == simdjson::SUCCESS ? strToken : std::string_view();
    }

    template <class TValue> od::json_type TypeOf(TValue& value) { return TakeOf(value.type(), value); }

    // Whether the value is of the type; one of another is checked and passed over.
    bool Is(od::value& value, od::json_type type, int nDepth) {
        if (TypeOf(value) == type)
            return true;
        Skip(value, nDepth);
        return false;
    }

    template <class TValue, class TOnMember> void ForEachMember(TValue& value, TOnMember onMember) {
        for (auto member : TakeOf(value.get_object(), value)) {
            od::field field = Take(std::move(member), Here());
            const char* pKey = field.key().raw() - 1;
            const std::optional<std::string_view> strPlain = Plain(pKey, TokenOf(field.value()).data());
            onMember(strPlain ? *strPlain : Take(field.unescaped_key(), pKey), field.value());
        }
    }

    template <class TValue, class TOnElement> void ForEachElement(TValue& value, TOnElement onElement) {
        for (auto element : TakeOf(value.get_array(), value)) {
            od::value item = Take(std::move(element), Here());
            onElement(item);
        }
    }

    // The text of the string from pQuote to the token at pNext (after a colon for a key), as it stands in
    // the window when it holds no escape: simdjson's first pass has checked its bytes.
    static std::optional<std::string_view> Plain(const char* pQuote, const char* pNext) {
        const char* pEnd = pNext;
        while (pEnd > pQuote + 1 && (static_cast<unsigned char>(pEnd[-1]) <= ' ' || pEnd[-1] == ':'))
            --pEnd; // past the spaces and colon before the next token
        if (pEnd <= pQuote + 1 || pEnd[-1] != '"' ||
            std::memchr(pQuote + 1, '\\', static_cast<size_t>(pEnd - 1 - (pQuote + 1))))
            return std::nullopt;
        return std::string_view(pQuote + 1, static_cast<size_t>(pEnd - 1 - (pQuote + 1)));
    }

    // The text of a string value.
    template <class TValue> std::string_view StringOf(TValue& value) {
        const std::string_view strToken = TokenOf(value);
        const char* pAt = strToken.data();
        const std::optional<std::string_view> strPlain = Plain(pAt, pAt + strToken.size());
        if (!strPlain)
            return Take(value.get_string(), pAt);
        Take(value.get_raw_json_string(), pAt); // passes over it
        return *strPlain;
    }

    // Checks the syntax of any value at nDepth and passes over it.
    template <class TValue> void Skip(TValue& value, int nDepth) {
        switch (TypeOf(value)) {
        case od::json_type::array:
            Enter(value, nDepth);
            ForEachElement(value, [&](od::value& item) { Skip(item, nDepth + 1); });
            return;
        case od::json_type::object:
            Enter(value, nDepth);
            ForEachMember(value, [&](std::string_view, od::value& item) { Skip(item, nDepth + 1); });
            return;
        case od::json_type::string:
            StringOf(value);
            return;
        case od::json_type::boolean:
            TakeOf(value.get_bool(), value);
            return;
        case od::json_type::null:
            if (!TakeOf(value.is_null(), value))
                Fail(simdjson::INCORRECT_TYPE, TokenOf(value).data());
            return;
        case od::json_type::number:
            if (!ReadNumber(value))
                OutOfRange(TokenOf(value).data());
            return;
        }
    }

    template <class TValue> void Enter(TValue& value, int nDepth) {
        if (nDepth > kMaxDepth)
            Problem("nested too deeply at " + m_window.Where(m_window.Offset(TokenOf(value).data())));
    }

    // The number as a JSON library keeps it; none when it is beyond a double's range.
    template <class TValue> std::optional<nlohmann::json> ReadNumber(TValue& value) {
        od::number number;
        if (value.get_number().get(number) == simdjson::SUCCESS) {
            if (number.is_int64())
                return number.get_int64();
            if (number.is_uint64())
                return number.get_uint64();
            return number.get_double();
        }
        // simdjson takes no integer beyond 64 bits, which JSON libraries read as a double.
        const std::string_view strToken = TokenOf(value);
        try {
            return nlohmann::json::parse(strToken);
        } catch (const nlohmann::json::out_of_range&) {
            return std::nullopt;
        } catch (const nlohmann::json::exception&) {
            Fail(simdjson::NUMBER_ERROR, strToken.data());
        }
    }

    // A row value's number as a JSON library prints it: whole numbers plainly, others as doubles.
    std::string NumberText(od::value& value) {
        od::number number;
        if (value.get_number().get(number) == simdjson::SUCCESS && number.is_int64())
            return std::to_string(number.get_int64());
        const std::optional<nlohmann::json> wide = ReadNumber(value);
        if (!wide)
            OutOfRange(TokenOf(value).data());
        return wide->dump();
    }

    [[noreturn]] void OutOfRange(const char* pAt) {
        Problem("number out of range at " + m_window.Where(m_window.Offset(pAt)));
    }

    EMember ReadString(od::value& value, std::string& str, int nDepth) {
        if (!Is(value, od::json_type::string, nDepth))
            return EMember::WrongType;
        str = StringOf(value);
        return EMember::Present;
    }

    // A whole number that fits 64 bits, signed or not.
    EMember ReadInteger(od::value& value, long long& nValue, int nDepth) {
        if (!Is(value, od::json_type::number, nDepth))
            return EMember::WrongType;
        const std::optional<nlohmann::json> number = ReadNumber(value);
        if (!number || !number->is_number_integer())
            return EMember::WrongType;
        nValue = number->is_number_unsigned() ? static_cast<long long>(number->get<unsigned long long>())
                                              : number->get<long long>();
        return EMember::Present;
    }

    // A row value: text, a number's text, "1"/"0" for true/false, or NULL. bBad for an object or array.
    void ReadValue(od::value& value, TDbValue& dbValue, bool& bBad) {
        switch (TypeOf(value)) {
        case od::json_type::string:
            dbValue.emplace(StringOf(value));
            return;
        case od::json_type::number:
            dbValue = NumberText(value);
            return;
        case od::json_type::boolean:
            dbValue = TakeOf(value.get_bool(), value) ? "1" : "0";
            return;
        default:
            bBad = TypeOf(value) != od::json_type::null;
            Skip(value, 6);
        }
    }

    void ReadStatementsMember(od::value& value) {
        if (!Is(value, od::json_type::array, 2)) {
            m_statements = EMember::WrongType;
            return;
        }
        m_statements = EMember::Present;
        m_aStatements.clear();
        m_statementProblem.reset();
        m_nIndex = 0;
        ReadStatements(value, false, false);
    }

    // The elements of the statements array; bGoingOn passes over the null of the prefix first, or, with
    // bInRows, goes on with the statement being read.
    void ReadStatements(od::value& value, bool bGoingOn, bool bInRows) {
        ForEachElement(value, [&](od::value& element) {
            if (std::exchange(bGoingOn, false) && !bInRows) {
                Skip(element, 3);
                return;
            }
            ReadStatement(element, std::exchange(bInRows, false));
            // The text up to here is read: a piece cut short after it goes on from here.
            m_resume = {NextOffset(), m_nIndex};
            if (m_onProgress && m_resume.nOffset > m_nProgress)
                m_onProgress(m_nProgress = m_resume.nOffset);
        });
    }

    size_t NextOffset() {
        const char* pNext = Here();
        return m_window.Offset(pNext ? pNext : m_window.Closer());
    }

    // A statement, or with bGoingOn the rest of the one being read, whose first member goes on with its rows.
    void ReadStatement(od::value& value, bool bGoingOn) {
        if (!bGoingOn) {
            m_pending = {};
            m_pending.nIndex = ++m_nIndex;
            if (!Is(value, od::json_type::object, 3)) {
                RequireMore();
                return NoteStatementProblem(m_pending.nIndex, ": must be an object");
            }
        }
        TSnapshotStatement& stmt = m_pending.stmt;
        TStatementState& state = m_pending.state;
        ForEachMember(value, [&](std::string_view strKey, od::value& member) {
            if (std::exchange(bGoingOn, false))
                ReadRows(member, stmt, state, true);
            else if (strKey == "sql")
                state.sql = ReadString(member, stmt.strSql, 4);
            else if (strKey == "error")
                ReadError(member, stmt, state);
            else if (strKey == "columns")
                ReadColumns(member, stmt, state);
            else if (strKey == "rows")
                ReadRows(member, stmt, state, false);
            else
                Skip(member, 4);
        });
        RequireMore();
        if (m_statementProblem)
            return; // an earlier statement already stops the load
        if (std::optional<std::string> problem = CheckStatement(stmt, state))
            return NoteStatementProblem(m_pending.nIndex, *problem);
        if (stmt.error) {
            stmt.aColumns.clear();
            stmt.aRows.clear();
        }
        m_aStatements.push_back(std::move(stmt));
    }

    void NoteStatementProblem(size_t nIndex, const std::string& strProblem) {
        if (!m_statementProblem)
            m_statementProblem = "statement " + std::to_string(nIndex) + strProblem;
    }

    void ReadError(od::value& value, TSnapshotStatement& stmt, TStatementState& state) {
        if (!Is(value, od::json_type::object, 4)) {
            state.error = EMember::WrongType;
            return;
        }
        state.error = EMember::Present;
        state.sqlState = state.native = state.message = EMember::Missing;
        TDiagRecord& rec = stmt.error.emplace();
        ForEachMember(value, [&](std::string_view strKey, od::value& member) {
            long long nNative = 0;
            if (strKey == "sqlstate") {
                state.sqlState = ReadString(member, rec.strSqlState.Str(), 5);
            } else if (strKey == "native") {
                state.native = ReadInteger(member, nNative, 5);
                rec.nNativeError = static_cast<long>(nNative);
            } else if (strKey == "message") {
                state.message = ReadString(member, rec.strMessage.Str(), 5);
            } else {
                Skip(member, 5);
            }
        });
    }

    void ReadColumns(od::value& value, TSnapshotStatement& stmt, TStatementState& state) {
        stmt.aColumns.clear();
        state.columnProblem.reset();
        if (!Is(value, od::json_type::array, 4)) {
            state.columns = EMember::WrongType;
            return;
        }
        state.columns = EMember::Present;
        m_aColumnScratch.clear();
        ForEachElement(value, [&](od::value& column) {
            if (!Is(column, od::json_type::object, 5)) {
                if (!state.columnProblem)
                    state.columnProblem = ": each column must be an object";
                return;
            }
            TDbColumn& dbColumn = m_aColumnScratch.emplace_back();
            EMember name = EMember::Missing;
            ForEachMember(column, [&](std::string_view strKey, od::value& member) {
                if (strKey == "name")
                    name = ReadString(member, dbColumn.strName, 6);
                else if (strKey != "type")
                    Skip(member, 6);
                else if (ReadString(member, dbColumn.strTypeName, 6) != EMember::Present)
                    dbColumn.strTypeName.clear();
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

    // bGoingOn: the rest of the rows, after the null of the prefix.
    void ReadRows(od::value& value, TSnapshotStatement& stmt, TStatementState& state, bool bGoingOn) {
        if (!bGoingOn) {
            stmt.aRows.clear();
            state.aOddRows.clear();
            if (!Is(value, od::json_type::array, 4)) {
                state.rows = EMember::WrongType;
                return;
            }
            state.rows = EMember::Present;
            m_aRowScratch.clear();
        }
        ForEachElement(value, [&](od::value& row) {
            if (std::exchange(bGoingOn, false))
                return Skip(row, 5);
            ReadRow(row, stmt, state);
            m_resume = {NextOffset(), m_nIndex, true, m_aRowScratch.size(), state.aOddRows.size()};
        });
        stmt.aRows.assign(std::make_move_iterator(m_aRowScratch.begin()),
                          std::make_move_iterator(m_aRowScratch.end()));
    }

    void ReadRow(od::value& row, const TSnapshotStatement& stmt, TStatementState& state) {
        const size_t nRow = m_aRowScratch.size();
        TDbRow& dbRow = m_aRowScratch.emplace_back();
        if (!Is(row, od::json_type::array, 5)) {
            state.aOddRows.emplace_back(nRow, true);
            return;
        }
        dbRow.reserve(stmt.aColumns.size());
        bool bBad = false;
        ForEachElement(row, [&](od::value& cell) { ReadValue(cell, dbRow.emplace_back(), bBad); });
        if (bBad)
            state.aOddRows.emplace_back(nRow, false);
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

    CTextWindow m_window;
    const std::function<void(size_t)>& m_onProgress;
    od::parser m_parser;
    od::document m_doc;
    size_t m_nIndex = 0; // statements of the current array begun
    TResume m_resume;
    size_t m_nProgress = 0;
    // The statement being read, kept while its rows run on over pieces.
    struct TPending {
        TSnapshotStatement stmt;
        TStatementState state;
        size_t nIndex = 0;
    } m_pending;

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

std::vector<TSnapshotStatement> ReadSnapshot(const TSnapshotSource& source,
                                             const std::function<void(size_t)>& onProgress) {
    return CSnapshotTextReader(source, onProgress).Read();
}

std::vector<TSnapshotStatement> ReadSnapshotText(std::string_view strText,
                                                 const std::function<void(size_t)>& onProgress) {
    return ReadSnapshot(
        [strText](char* pBuffer, size_t nSize, size_t nOffset) {
            return nOffset < strText.size() ? strText.copy(pBuffer, nSize, nOffset) : 0;
        },
        onProgress);
}
