// A stable topological order over the references between the items of a list.
#pragma once

#include <cstddef>
#include <vector>

// For each item of a list, the positions of the items it references.
using TReferences = std::vector<std::vector<size_t>>;

// The items in groups, each group after the groups it references and, whenever several could come next, the
// one whose first item comes first in the list. Items that reference each other in a cycle form one group,
// in list order; every other group holds one item.
std::vector<std::vector<size_t>> OrderByReferences(const TReferences& aReferences);
