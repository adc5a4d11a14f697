// Scripts that rebuild a database as it is: its catalog model, read in a few statements whatever its size,
// and the statements that recreate every object faithfully, in an order that applies on an empty database.
// What sqlscripts export --recreate writes; a program can load a model, look at it or change it, and script
// it.
#pragma once

#include "backend/Database.h"
#include "model/CatalogModel.h"
#include "model/ModelLoader.h"
#include "recreate/RecreateScript.h"
