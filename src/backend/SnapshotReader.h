// Reads the text of a catalog snapshot file in one pass, without building a JSON document first.
#pragma once

#include "backend/Snapshot.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What is wrong with a snapshot's text, worded for a message that names the file before it.
struct TSnapshotProblem {
    std::string strText;
};

// The statements of a snapshot, in file order. Throws TSnapshotProblem: invalid JSON first (with line
// and column), then a wrong header, then the first statement that cannot be replayed.
// onProgress, when given, learns after each statement how many bytes of the text lie behind the reader;
// those are only read again to place an error.
std::vector<TSnapshotStatement> ReadSnapshotText(std::string_view strText,
                                                 const std::function<void(size_t)>& onProgress = {});
