// What --only and --skip name for the faithful scripts: kinds of objects, by the words of the kinds table.
#pragma once

#include "model/CatalogModel.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

struct TKindSelection {
    std::array<bool, MODEL_KIND_COUNT> aKinds{};
    std::string strUnknown; // the first word that names no kind; empty when every word does
};

// The words --only and --skip take: "schemas", "types", ..., in the kinds table's order.
std::vector<std::string> RecreateKindNames();
// The kinds the comma-separated lists leave to write: every kind without an only list.
TKindSelection SelectRecreateKinds(const std::optional<std::string>& strOnly,
                                   const std::optional<std::string>& strSkip);
