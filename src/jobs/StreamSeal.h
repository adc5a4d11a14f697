// The lines that mark the stream an export writes onto the program's standard output, so that whoever applies
// it tells a whole stream from one cut short: a first line saying that the stream ends with a closing line,
// and the closing line, which says what the stream holds (its files, its batches as apply splits them, and a
// checksum of every byte before it). Both are T-SQL comments, so the stream still runs anywhere.
#pragma once

#include "apply/BatchSplitter.h"

#include <cstdint>
#include <string>
#include <string_view>

// The opening line, its line end included.
std::string StreamOpeningLine();

// Follows what goes into the stream, the opening line included.
class CStreamSeal {
public:
    CStreamSeal();

    void Add(std::string_view strText);
    void FileEnded() { ++m_nFiles; }
    // The closing line for what was added, its line end included.
    std::string ClosingLine();

private:
    void AddLine(std::string_view strLine);

    std::uint64_t m_nChecksum; // FNV-1a, 64 bits
    std::string m_strPartLine; // the start of a line that a later piece ends
    CBatchSplitter m_splitter;
    long m_nBatches = 0;
    long m_nFiles = 0;
};

enum class eStreamSeal {
    None,     // no opening line: a script of someone's own
    Whole,    // the closing line is there and matches the bytes before it
    CutShort, // no closing line
    Altered,  // a closing line whose checksum does not match the bytes before it
};

struct TStreamSeal {
    eStreamSeal eSeal = eStreamSeal::None;
    size_t nLength = 0; // Whole: the bytes before the closing line, which are what applies
    long nBatches = 0;  // Whole: the batches the closing line says they hold
};

// Whether a script beginning with strStart is a stream an export wrote: its opening line's first words.
bool StartsAsStream(std::string_view strStart);

// Looks at a script held whole.
TStreamSeal ReadStreamSeal(std::string_view strText);
