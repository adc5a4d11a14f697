// What diff takes of the library's file writing until it moves into the library itself.
#pragma once

#include "jobs/JobFiles.h"
