// The full-text block: enable full-text search, drop the indexes, re-create the catalogs and the indexes.
#pragma once

#include "scripting/SQLScript.h"

class CSQLFullText : public CSQLObject {
public:
    // The category is scripted as one block only.
    CString ScriptObject(const char*, const char*) override { return CString(); }
    // The whole block; after a reported failure only "END".
    CString ScriptAllObjects() override;

    CString ScriptFullTextDrops();
    CString ScriptFullTextCatalogs();
    CString ScriptFullTextIndexes();
};
