// The statements of one step: each text is whole batches, every one ending with a line holding GO.
#pragma once

#include "model/CatalogModel.h"
#include "recreate/RecreatePlan.h"

#include <string>

// Tables and what belongs to them (TableDdl.cpp). A table's checks and defaults whose object id is in
// setSeparate are left to their own steps.
std::string ScriptTable(const TModelTable& table, const TCatalogModel& model,
                        const std::unordered_set<int>& setSeparate);
std::string ScriptTableType(const TModelType& type, const TModelTable& table, const TCatalogModel& model);
std::string ScriptCheck(const TModelTable& table, const TModelCheck& check);
std::string ScriptDefault(const TModelTable& table, const TModelDefault& def);
std::string ScriptIndex(const TModelTable& table, const TModelIndex& index, const TCatalogModel& model);
std::string ScriptForeignKey(const TModelTable& table, const TModelForeignKey& key,
                             const TCatalogModel& model);

// Schema-level objects (ObjectDdl.cpp).
std::string ScriptSchema(const TModelSchema& schema);
std::string ScriptAliasType(const TModelType& type);
std::string ScriptSequence(const TModelSequence& sequence);
std::string ScriptSynonym(const TModelSynonym& synonym);
std::string ScriptModule(const TModelModule& module, const TCatalogModel& model);
std::string ScriptExtendedProperties(const TPlanStep& step, const TCatalogModel& model);
