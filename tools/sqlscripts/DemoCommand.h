// sqlscripts demo: the real job shown without a server, on two bundled catalog snapshots of a small database.
#pragma once

#include <string>

// Into dir: the two snapshots, version 1 as the folder export --recreate --data writes, and the migration
// diff writes from version 1 to version 2. Prints what each step made, the differences, and the commands that
// do the same against a server. The exit status: 0 done, 1 after saying what failed.
int RunDemo(const std::string& dir);
