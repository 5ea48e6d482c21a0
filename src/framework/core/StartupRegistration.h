// Start-up registration of the framework's element classes, unit by unit.
#pragma once

// Runs the registration of every framework unit in unit order (the order fixes the registration
// numbers of the classes). Running it again registers nothing more.
void RegisterFrameworkUnits();
