// The database's storage: filegroups with their files, partition functions and partition schemes.
#include "platform/Text.h"
#include "recreate/DataValues.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

namespace {

template <typename T> const T& Record(const TPlanObject& object) {
    return *std::get<const T*>(object);
}

// A size in pages of 8 KB, in the largest unit that states it exactly.
std::string SizeText(int nPages) {
    long long nSize = static_cast<long long>(nPages) * 8;
    for (const char* pszUnit : {"KB", "MB", "GB"}) {
        if (nSize == 0 || nSize % 1024 != 0)
            return std::to_string(nSize) + pszUnit;
        nSize /= 1024;
    }
    return std::to_string(nSize) + "TB";
}

// A folder of FILESTREAM or memory-optimized data, where SIZE and FILEGROWTH do not apply.
bool IsContainer(const TModelFilegroup& filegroup) {
    return filegroup.strType != "FG";
}

// The part of a <filespec> after its FILENAME: what the catalog says of its size and growth.
std::string FileSizes(const TModelFile& file) {
    std::string str = ", SIZE = " + SizeText(file.nSize) + ", MAXSIZE = ";
    str += file.nMaxSize == -1 ? "UNLIMITED" : SizeText(file.nMaxSize);
    str += ", FILEGROWTH = ";
    str += file.bPercentGrowth ? std::to_string(file.nGrowth) + "%" : SizeText(file.nGrowth);
    return str;
}

// The path of a file under the server's default data folder, named after the database and the file, in
// @file with its quotes doubled: EXEC joins only literals and variables.
std::string DeclareFilePath(const TModelFile& file, std::string_view strExtension) {
    return "DECLARE @file nvarchar(max) = REPLACE(CAST(SERVERPROPERTY('InstanceDefaultDataPath') AS "
           "nvarchar(max)) + DB_NAME() + " +
           UnicodeLiteral("_" + file.strName + std::string(strExtension)) + ", N'''', N'''''');";
}

// (NAME = N'name', FILENAME = @file, SIZE = ...) inside the literal that EXEC runs.
std::string FileSpec(const TModelFile& file, const TModelFilegroup& filegroup) {
    std::string str =
        "(NAME = " + Doubled(UnicodeLiteral(file.strName), '\'') + ", FILENAME = N''' + @file + N'''";
    if (!IsContainer(filegroup))
        str += FileSizes(file);
    return str + ")";
}

std::string IfNamed(std::string_view strView, std::string_view strName) {
    return "EXISTS (SELECT 1 FROM sys." + std::string(strView) + " WHERE name = " + UnicodeLiteral(strName) +
           ")";
}

std::string FilegroupContents(const TModelFilegroup& filegroup) {
    if (filegroup.strType == "FD")
        return " CONTAINS FILESTREAM";
    return filegroup.strType == "FX" ? " CONTAINS MEMORY_OPTIMIZED_DATA" : "";
}

} // namespace

std::string BoundaryLiteral(const TModelBoundary& boundary) {
    if (!boundary.value)
        return "NULL";
    const TDataType* pType = FindDataType(boundary.strType);
    const TDbValue value(*boundary.value);
    std::string str;
    if (pType && FieldCount(*pType) == 1 && AppendLiteral(str, *pType, &value))
        return str;
    return UnicodeLiteral(*boundary.value);
}

TStatements CreateFilegroup(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelFilegroup& filegroup = Record<TModelFilegroup>(object.object);
    const std::string strName = QuoteName(filegroup.strName);
    TStatements aStatements{{"IF NOT " + IfNamed("filegroups", filegroup.strName) +
                             " ALTER DATABASE CURRENT ADD FILEGROUP " + strName +
                             FilegroupContents(filegroup) + ";"}};
    for (const TModelFile& file : filegroup.aFiles) {
        aStatements.push_back(
            {DeclareFilePath(file, IsContainer(filegroup) ? "" : ".ndf"), eBatchPlace::Begins});
        aStatements.push_back({"IF NOT " + IfNamed("database_files", file.strName) +
                               " EXEC (N'ALTER DATABASE CURRENT ADD FILE " + FileSpec(file, filegroup) +
                               " TO FILEGROUP " + Doubled(strName, '\'') + ";');"});
    }
    if (filegroup.bDefault)
        aStatements.push_back({"ALTER DATABASE CURRENT MODIFY FILEGROUP " + strName + " DEFAULT;"});
    return aStatements;
}

TStatements DropFilegroup(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelFilegroup& filegroup = Record<TModelFilegroup>(object.object);
    if (filegroup.strType == "FX")
        return {};
    // The default filegroup cannot be removed: PRIMARY, which every database has, becomes the default first.
    TStatements aStatements;
    if (filegroup.bDefault)
        aStatements.push_back(
            {"IF EXISTS (SELECT 1 FROM sys.filegroups WHERE name = " + UnicodeLiteral(filegroup.strName) +
             " AND is_default = 1) ALTER DATABASE CURRENT MODIFY FILEGROUP [PRIMARY] DEFAULT;"});
    for (const TModelFile& file : filegroup.aFiles)
        aStatements.push_back({"IF " + IfNamed("database_files", file.strName) +
                               " ALTER DATABASE CURRENT REMOVE FILE " + QuoteName(file.strName) + ";"});
    aStatements.push_back({"IF " + IfNamed("filegroups", filegroup.strName) +
                           " ALTER DATABASE CURRENT REMOVE FILEGROUP " + QuoteName(filegroup.strName) + ";"});
    return aStatements;
}

TStatements CreatePartitionFunction(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelPartitionFunction& function = Record<TModelPartitionFunction>(object.object);
    std::vector<std::string> aValues;
    for (const TModelBoundary& boundary : function.aBoundaries)
        aValues.push_back(BoundaryLiteral(boundary));
    return {{"CREATE PARTITION FUNCTION " + QuoteName(function.strName) + " (" + DataTypeText(function.type) +
             ") AS RANGE " + (function.bRangeRight ? "RIGHT" : "LEFT") + " FOR VALUES (" + JoinText(aValues) +
             ");"}};
}

TStatements CreatePartitionScheme(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelPartitionScheme& scheme = Record<TModelPartitionScheme>(object.object);
    std::vector<std::string> aFilegroups;
    for (const std::string& strFilegroup : scheme.aFilegroups)
        aFilegroups.push_back(QuoteName(strFilegroup));
    return {{"CREATE PARTITION SCHEME " + QuoteName(scheme.strName) + " AS PARTITION " +
             QuoteName(scheme.strFunction) + " TO (" + JoinText(aFilegroups) + ");"}};
}

TStatements DropPartitionObject(TDdlObject object, const TDdlContext& /*context*/) {
    const bool bScheme = object.key.eKind == eModelKind::PartitionScheme;
    return {{"IF " + IfNamed(bScheme ? "partition_schemes" : "partition_functions", object.key.strName) +
             " DROP PARTITION " + (bScheme ? "SCHEME " : "FUNCTION ") + QuoteName(object.key.strName) + ";"}};
}
