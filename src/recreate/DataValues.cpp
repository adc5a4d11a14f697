#include "recreate/DataValues.h"

#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <optional>
#include <strings.h>

namespace {

constexpr std::array<TDataType, 33> kDataTypes = {{
    {"bigint", eDataKind::Number},
    {"binary", eDataKind::Binary},
    {"bit", eDataKind::Number},
    {"char", eDataKind::Text},
    {"date", eDataKind::Date},
    {"datetime", eDataKind::DateTime},
    {"datetime2", eDataKind::DateTime},
    {"datetimeoffset", eDataKind::DateTime},
    {"decimal", eDataKind::Number},
    {"float", eDataKind::Float},
    {"geography", eDataKind::Clr},
    {"geometry", eDataKind::Clr},
    {"hierarchyid", eDataKind::Clr},
    {"image", eDataKind::Binary},
    {"int", eDataKind::Number},
    {"money", eDataKind::Number},
    {"nchar", eDataKind::Text},
    {"ntext", eDataKind::Text},
    {"numeric", eDataKind::Number},
    {"nvarchar", eDataKind::Text},
    {"real", eDataKind::Real},
    {"smalldatetime", eDataKind::DateTime},
    {"smallint", eDataKind::Number},
    {"smallmoney", eDataKind::Number},
    {"sql_variant", eDataKind::Variant},
    {"sysname", eDataKind::Text},
    {"text", eDataKind::Text},
    {"time", eDataKind::Time},
    {"tinyint", eDataKind::Number},
    {"uniqueidentifier", eDataKind::Guid},
    {"varbinary", eDataKind::Binary},
    {"varchar", eDataKind::Text},
    {"xml", eDataKind::Text},
}};

// The properties read beside a sql_variant value, in this order after it.
constexpr std::array<std::string_view, 4> kVariantProperties = {"BaseType", "Precision", "Scale",
                                                                "MaxLength"};

// Above this many bytes a text that is put together from pieces is made a max type first: pieces of the
// other types are cut at 8,000 bytes when added.
constexpr size_t kPiecesUnbounded = 4000;

// Predicates as objects rather than functions, so that the algorithms that take them inline them: they
// run for every character of millions of values.
constexpr auto IsDigit = [](char ch) { return ch >= '0' && ch <= '9'; };

constexpr std::array<bool, 256> kHexDigits = [] {
    std::array<bool, 256> aHex{};
    for (const char ch : std::string_view("0123456789abcdefABCDEF"))
        aHex[static_cast<unsigned char>(ch)] = true;
    return aHex;
}();

constexpr auto IsHexDigit = [](char ch) { return kHexDigits[static_cast<unsigned char>(ch)]; };

bool AllDigits(std::string_view str) {
    return std::all_of(str.begin(), str.end(), IsDigit);
}

// Digits with an optional sign and decimal point: exact numbers as the driver gives them.
bool AppendNumber(std::string& strOut, std::string_view str) {
    std::string_view strDigits = str;
    if (!strDigits.empty() && strDigits.front() == '-')
        strDigits.remove_prefix(1);
    const size_t nPoint = std::min(strDigits.find('.'), strDigits.size());
    const std::string_view strWhole = strDigits.substr(0, nPoint);
    const std::string_view strFraction = strDigits.substr(std::min(nPoint + 1, strDigits.size()));
    if (strWhole.size() + strFraction.size() == 0 || !AllDigits(strWhole) || !AllDigits(strFraction))
        return false;
    strOut += str;
    return true;
}

// NaN and the infinities, which a float may hold on servers that have them, read back from their names.
bool AppendNonFinite(std::string& strOut, double value, std::string_view strType) {
    if (std::isfinite(value))
        return false;
    const char* pszName = std::isnan(value) ? "NaN" : value > 0 ? "Infinity" : "-Infinity";
    strOut.append("CAST('").append(pszName).append("' AS ").append(strType).append(")");
    return true;
}

// A float literal: the digits with an exponent, so that the server reads them as a float.
void AppendFloatDigits(std::string& strOut, std::string_view strDigits) {
    const size_t nStart = strOut.size();
    strOut += strDigits;
    const size_t nExponent = strOut.find('e', nStart);
    if (nExponent == std::string::npos)
        strOut += "E0";
    else
        strOut[nExponent] = 'E';
}

template <typename T> bool ParseWhole(std::string_view str, T& value) {
    const auto [pEnd, ec] = std::from_chars(str.data(), str.data() + str.size(), value);
    return ec == std::errc() && pEnd == str.data() + str.size();
}

template <typename T> std::string_view Shortest(T value, std::array<char, 32>& aBuffer) {
    const auto [pEnd, ec] = std::to_chars(aBuffer.data(), aBuffer.data() + aBuffer.size(), value);
    return std::string_view(aBuffer.data(), static_cast<size_t>(pEnd - aBuffer.data()));
}

// A negative zero keeps its sign only where the negation is of a float already.
bool AppendNegativeZero(std::string& strOut, double value, std::string_view strType) {
    if (value != 0 || !std::signbit(value))
        return false;
    strOut.append("-CAST(0 AS ").append(strType).append(")");
    return true;
}

bool AppendFloat(std::string& strOut, std::string_view str) {
    double value = 0;
    if (!ParseWhole(str, value))
        return false;
    if (AppendNonFinite(strOut, value, "float") || AppendNegativeZero(strOut, value, "float"))
        return true;
    std::array<char, 32> aBuffer;
    AppendFloatDigits(strOut, Shortest(value, aBuffer));
    return true;
}

// The literal is read as a double and then made a single: the shortest single text is kept where that
// gives the same value and stays in the single's range, else the double text of the value.
bool AppendReal(std::string& strOut, std::string_view str) {
    float value = 0;
    if (!ParseWhole(str, value))
        return false;
    if (AppendNonFinite(strOut, value, "real") || AppendNegativeZero(strOut, value, "real"))
        return true;
    std::array<char, 32> aBuffer;
    const std::string_view strShortest = Shortest(value, aBuffer);
    double readBack = 0;
    const bool bSame = ParseWhole(strShortest, readBack) && std::fabs(readBack) <= FLT_MAX &&
                       static_cast<float>(readBack) == value;
    AppendFloatDigits(strOut, bSame ? strShortest : Shortest(static_cast<double>(value), aBuffer));
    return true;
}

bool IsControl(unsigned char ch) {
    return ch < 0x20 || ch == 0x7F;
}

// Quoted runs with quotes doubled; control characters (line ends, tabs, ...) as CHAR(n) between them, so
// that no value breaks a line of the script. N'' where the text holds more than ASCII.
class CTextLiteral {
public:
    CTextLiteral(std::string& strOut, std::string_view str)
        : m_strOut(strOut),
          m_bUnicode(std::any_of(str.begin(), str.end(), [](char ch) { return ch & 0x80; })),
          m_bUnbounded(str.size() > kPiecesUnbounded) {
        Append(str);
    }

private:
    void Append(std::string_view str) {
        const auto itControl = std::find_if(str.begin(), str.end(), [](char ch) { return IsControl(ch); });
        if (itControl == str.end())
            return AppendQuoted(str);
        while (!str.empty()) {
            const size_t nRun = static_cast<size_t>(
                std::find_if(str.begin(), str.end(), [](char ch) { return IsControl(ch); }) - str.begin());
            if (nRun > 0)
                Piece([&] { AppendQuoted(str.substr(0, nRun)); });
            if (nRun < str.size())
                Piece([&] { AppendChar(static_cast<unsigned char>(str[nRun])); });
            str.remove_prefix(std::min(nRun + 1, str.size()));
        }
    }

    template <typename F> void Piece(F appendPiece) {
        if (m_nPieces++ > 0)
            m_strOut += " + ";
        if (m_nPieces == 1 && m_bUnbounded)
            m_strOut += m_bUnicode ? "CONVERT(nvarchar(max), " : "CONVERT(varchar(max), ";
        appendPiece();
        if (m_nPieces == 1 && m_bUnbounded)
            m_strOut += ")";
    }

    void AppendQuoted(std::string_view str) {
        m_strOut += m_bUnicode ? "N'" : "'";
        AppendDoubled(m_strOut, str, '\'');
        m_strOut += '\'';
    }

    void AppendChar(unsigned char ch) {
        m_strOut.append(m_bUnicode ? "NCHAR(" : "CHAR(").append(std::to_string(ch)).append(")");
    }

    std::string& m_strOut;
    const bool m_bUnicode;
    const bool m_bUnbounded;
    int m_nPieces = 0;
};

bool AppendBinary(std::string& strOut, std::string_view str) {
    if (!std::all_of(str.begin(), str.end(), IsHexDigit) || str.size() % 2 != 0)
        return false;
    strOut += "0x";
    const size_t nAt = strOut.size();
    strOut += str;
    std::transform(strOut.begin() + static_cast<std::ptrdiff_t>(nAt), strOut.end(),
                   strOut.begin() + static_cast<std::ptrdiff_t>(nAt),
                   [](char ch) { return ch >= 'a' ? static_cast<char>(ch - 'a' + 'A') : ch; });
    return true;
}

// Moves past nMin to nMax digits at the front of str, appending them to strOut.
bool TakeDigits(std::string_view& str, size_t nMin, size_t nMax, std::string& strOut) {
    size_t n = 0;
    while (n < nMax && n < str.size() && IsDigit(str[n]))
        ++n;
    if (n < nMin)
        return false;
    strOut += str.substr(0, n);
    str.remove_prefix(n);
    return true;
}

bool TakeChar(std::string_view& str, char ch, std::string& strOut) {
    if (str.empty() || str.front() != ch)
        return false;
    strOut += ch;
    str.remove_prefix(1);
    return true;
}

// YYYY-MM-DD; some drivers leave out the year's leading zeros, which the literal needs.
bool TakeDate(std::string_view& str, std::string& strOut) {
    const size_t nYear = static_cast<size_t>(std::find_if_not(str.begin(), str.end(), IsDigit) - str.begin());
    if (nYear == 0 || nYear > 4)
        return false;
    strOut.append(4 - nYear, '0');
    return TakeDigits(str, nYear, nYear, strOut) && TakeChar(str, '-', strOut) &&
           TakeDigits(str, 2, 2, strOut) && TakeChar(str, '-', strOut) && TakeDigits(str, 2, 2, strOut);
}

// hh:mm:ss with the fraction of a second as given.
bool TakeTime(std::string_view& str, std::string& strOut) {
    if (!(TakeDigits(str, 2, 2, strOut) && TakeChar(str, ':', strOut) && TakeDigits(str, 2, 2, strOut) &&
          TakeChar(str, ':', strOut) && TakeDigits(str, 2, 2, strOut)))
        return false;
    return !TakeChar(str, '.', strOut) || TakeDigits(str, 1, 9, strOut);
}

// +hh:mm or -hh:mm, after a blank as drivers write it; none for the types without an offset.
bool TakeOffset(std::string_view& str, std::string& strOut) {
    if (str.empty())
        return true;
    if (str.front() == ' ')
        str.remove_prefix(1);
    return (TakeChar(str, '+', strOut) || TakeChar(str, '-', strOut)) && TakeDigits(str, 2, 2, strOut) &&
           TakeChar(str, ':', strOut) && TakeDigits(str, 2, 2, strOut);
}

// Date and time types as ISO 8601 ('T' between date and time), which every language and DATEFORMAT
// setting reads the same way.
bool AppendDateTime(std::string& strOut, std::string_view str, eDataKind eKind) {
    strOut += '\'';
    bool bRead = true;
    if (eKind != eDataKind::Time)
        bRead = TakeDate(str, strOut);
    if (bRead && eKind == eDataKind::DateTime) {
        bRead = !str.empty() && (str.front() == ' ' || str.front() == 'T');
        str.remove_prefix(bRead ? 1 : 0);
        strOut += 'T';
    }
    if (bRead && eKind != eDataKind::Date)
        bRead = TakeTime(str, strOut) && (eKind != eDataKind::DateTime || TakeOffset(str, strOut));
    strOut += '\'';
    return bRead && str.empty();
}

bool AppendGuid(std::string& strOut, std::string_view str) {
    constexpr std::string_view kShape = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
    if (str.size() != kShape.size())
        return false;
    for (size_t i = 0; i < str.size(); ++i)
        if (kShape[i] == '-' ? str[i] != '-' : !IsHexDigit(str[i]))
            return false;
    strOut.append("'").append(str).append("'");
    return true;
}

bool AppendValue(std::string& strOut, eDataKind eKind, std::string_view str) {
    switch (eKind) {
    case eDataKind::Number:
        return AppendNumber(strOut, str);
    case eDataKind::Float:
        return AppendFloat(strOut, str);
    case eDataKind::Real:
        return AppendReal(strOut, str);
    case eDataKind::Text:
        CTextLiteral(strOut, str);
        return true;
    case eDataKind::Binary:
        return AppendBinary(strOut, str);
    case eDataKind::Date:
    case eDataKind::Time:
    case eDataKind::DateTime:
        return AppendDateTime(strOut, str, eKind);
    case eDataKind::Guid:
        return AppendGuid(strOut, str);
    case eDataKind::Variant:
    case eDataKind::Clr:
        break;
    }
    return false;
}

long PropertyNumber(const TDbValue& value) {
    const std::string_view str = *value;
    return value && !str.empty() && str.size() < 9 && AllDigits(str) ? std::stol(std::string(str)) : -1;
}

// The base type with the length, precision or scale the value was stored with; none when they are not
// there. A length outside what a sql_variant can hold (some servers report 65535) gives the longest it can.
std::optional<std::string> VariantType(const TDataType& base, const TDbValue* pProperties) {
    const std::string strType(base.strName);
    const long nPrecision = PropertyNumber(pProperties[0]), nScale = PropertyNumber(pProperties[1]);
    if (base.strName == "decimal" || base.strName == "numeric")
        return nPrecision < 1 || nScale < 0 ? std::nullopt
                                            : std::optional(strType + "(" + std::to_string(nPrecision) + "," +
                                                            std::to_string(nScale) + ")");
    if (base.strName == "datetime2" || base.strName == "datetimeoffset" || base.strName == "time")
        return nScale < 0 ? std::nullopt : std::optional(strType + "(" + std::to_string(nScale) + ")");
    if (base.eKind != eDataKind::Text && base.eKind != eDataKind::Binary)
        return strType;
    long nBytes = PropertyNumber(pProperties[2]);
    if (nBytes < 1 || nBytes > 8000)
        nBytes = 8000;
    const bool bWide = base.strName == "nchar" || base.strName == "nvarchar";
    return strType + "(" + std::to_string(bWide ? std::max(nBytes / 2, 1L) : nBytes) + ")";
}

bool AppendVariant(std::string& strOut, const TDbValue* pFields) {
    const TDataType* pBase = pFields[1] ? FindDataType(*pFields[1]) : nullptr;
    if (!pBase || pBase->eKind == eDataKind::Variant || pBase->eKind == eDataKind::Clr)
        return false;
    const std::optional<std::string> strType = VariantType(*pBase, pFields + 2);
    if (!strType)
        return false;
    strOut += "CAST(";
    if (!AppendValue(strOut, pBase->eKind, *pFields[0]))
        return false;
    strOut.append(" AS ").append(*strType).append(")");
    return true;
}

bool AppendClr(std::string& strOut, const TDataType& type, std::string_view str) {
    strOut += "CAST(";
    if (!AppendBinary(strOut, str))
        return false;
    strOut.append(" AS ").append(type.strName).append(")");
    return true;
}

} // namespace

const TDataType* FindDataType(std::string_view strTypeName) {
    const auto it = std::find_if(kDataTypes.begin(), kDataTypes.end(), [&](const TDataType& type) {
        return type.strName.size() == strTypeName.size() &&
               strncasecmp(type.strName.data(), strTypeName.data(), strTypeName.size()) == 0;
    });
    return it == kDataTypes.end() ? nullptr : &*it;
}

size_t FieldCount(const TDataType& type) {
    return type.eKind == eDataKind::Variant ? 1 + kVariantProperties.size() : 1;
}

void AppendSelectItems(std::string& strSelect, const std::string& strColumn, const TDataType& type,
                       int nMaxLength) {
    if (type.eKind == eDataKind::Clr) {
        strSelect.append("CAST(").append(strColumn).append(" AS varbinary(max))");
        return;
    }
    // Text of a code page is made Unicode by the server: a driver would convert it with a code page that may
    // not hold every character the column keeps (a UTF-8 collation's, or what some servers let in). A
    // varchar(n) never holds more UTF-16 units than bytes.
    if (type.strName == "char" || type.strName == "varchar" || type.strName == "text") {
        const bool bMax = nMaxLength <= 0 || nMaxLength > 4000 || type.strName == "text";
        strSelect.append("CAST(").append(strColumn).append(" AS nvarchar(");
        strSelect.append(bMax ? "max" : std::to_string(nMaxLength)).append("))");
        return;
    }
    strSelect += strColumn;
    if (type.eKind != eDataKind::Variant)
        return;
    for (const std::string_view strProperty : kVariantProperties)
        strSelect.append(", SQL_VARIANT_PROPERTY(")
            .append(strColumn)
            .append(", '")
            .append(strProperty)
            .append("')");
}

bool AppendLiteral(std::string& strOut, const TDataType& type, const TDbValue* pFields) {
    if (!pFields[0]) {
        strOut += "NULL";
        return true;
    }
    if (type.eKind == eDataKind::Variant)
        return AppendVariant(strOut, pFields);
    if (type.eKind == eDataKind::Clr)
        return AppendClr(strOut, type, *pFields[0]);
    return AppendValue(strOut, type.eKind, *pFields[0]);
}
