// Reads the text of a catalog snapshot file in one pass with simdjson, a window of the text at a time,
// without building a JSON document first.
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

// Copies the text from nOffset on to pBuffer, at most nSize bytes, and says how many; fewer only at the
// end of the text. Throws TSnapshotProblem when the text cannot be read.
using TSnapshotSource = std::function<size_t(char* pBuffer, size_t nSize, size_t nOffset)>;

// The statements of a snapshot, in file order. Throws TSnapshotProblem: invalid JSON first (with line
// and column), then a wrong header, then the first statement that cannot be replayed.
// onProgress, when given, learns after each statement how many bytes of the text lie behind the reader.
std::vector<TSnapshotStatement> ReadSnapshot(const TSnapshotSource& source,
                                             const std::function<void(size_t)>& onProgress = {});

std::vector<TSnapshotStatement> ReadSnapshotText(std::string_view strText,
                                                 const std::function<void(size_t)>& onProgress = {});
