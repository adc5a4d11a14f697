// Reads the text of a catalog snapshot with simdjson: version 2, JSON lines, a line at a time; version 1, one
// JSON document, whole.
#pragma once

#include "backend/SnapshotContent.h"

#include <string>

// The statements of the snapshot at strPath, whose text the content holds, in file order: they and their
// values view the text. Throws CDBException* naming the file, the line and column of the first value that is
// not what a snapshot holds there, and what was expected.
TSnapshotContent ReadSnapshot(TSnapshotContent content, const std::string& strPath);
