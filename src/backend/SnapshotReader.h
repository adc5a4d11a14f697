// Reads catalog snapshots with simdjson: version 2 (JSON Lines) a line at a time, version 1 whole.
#pragma once

#include "backend/SnapshotContent.h"

// The statements of the snapshot at strPath, in file order, viewing the text the content holds. Throws
// CDBException* naming the file and the line and column of the first value that is not what it ought to be.
TSnapshotContent ReadSnapshot(TSnapshotContent content, const std::string& strPath);
