// A catalog model as text, every field of every record on the record's line, so that a golden case states
// what the loader made of a recorded answer field by field. Line ends inside values are shown as \r and \n.
#pragma once

#include "model/CatalogModel.h"

#include <string>

std::string DumpModel(const TCatalogModel& model);
