// The census of the catalog: what the database holds that the faithful scripts do not carry, by kind, so that
// nothing is lost in silence.
#pragma once

#include <span>
#include <string_view>

// One kind the census counts: where the census statements report it (a source and the catalog's code within
// it) and how a message names it. A kind whose feature the model reads and the scripts write is marked
// carried, and the census passes over its rows.
struct TCensusKind {
    std::string_view strSource; // "object", "index", "table", "column", "type" or a kind of its own
    std::string_view strCode;   // the catalog's code within the source: "AF", "3", "ledger"; empty for none
    std::string_view strOne;    // "CLR aggregate function"
    std::string_view strMany;   // "CLR aggregate functions"
    bool bCarried;
};

// Every kind the census knows, in the order its warnings come. An object or index of a code the table does
// not list (one a later server brings) is named by its code.
std::span<const TCensusKind> CensusKinds();
