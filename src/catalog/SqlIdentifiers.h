// Placing names safely into catalog statements.
#pragma once

#include "platform/String.h"

// Text for a single-quoted SQL literal: single quotes doubled.
CString EscapeSqlLiteral(const CString& str);
// SQL Server's rule: a letter, '_', '@' or '#' first; then letters, digits, '@', '$', '#', '_';
// at most 128 characters; not a reserved keyword.
bool IsRegularIdentifier(const CString& strName);
// The name as it is when it is a regular identifier or empty, else in brackets with ']' doubled.
// An empty part stays empty so that OBJECT_ID('.name') keeps the server's meaning.
CString DelimitIdentifier(const CString& strName);
// One part of a name given to OBJECT_ID('...'): delimited when needed, quotes doubled for the literal.
CString ObjectIdPart(const CString& strName);
// "schema.name" for OBJECT_ID('...'), both parts as ObjectIdPart gives them.
CString ObjectIdName(const CString& strSchema, const CString& strName);
