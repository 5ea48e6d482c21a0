// Start-up registration of the forest model's element classes, unit by unit.
#pragma once

// Registers the column-property classes, TObecnyLesniPrvek and TLesniMnozina, in that order.
void RegisterELesObecUnit();

// Runs the registration of every forest unit in unit order, after the framework's. Running it
// again registers nothing more.
void RegisterForestUnits();
