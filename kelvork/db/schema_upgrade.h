#pragma once
// Brings an older database to the current layout at every start, and renames old item names.

#include "database.h"

namespace kelvork {

// The start-up upgrade, run after every successful connection: each step probes for what it adds
// and adds it when missing; an error in a step is ignored and the next step follows, so the start
// never stops here. V_Class is rebuilt every time, after the columns it shows exist. On a current
// database nothing but the view changes.
void upgradeSchema(Database& db);

// Renames the old Chinese list names of DefineField ("职务" -> "Field1" ...) and item names of
// Statitems ("正常" -> "Normal" ...), one statement after the other. Run by the parameter load,
// after BasePara is read and before the statistic items are read. The first failing statement
// stops the renaming and its error is returned (the caller reports it).
DbStatus renameOldNames(Database& db);

} // namespace kelvork
