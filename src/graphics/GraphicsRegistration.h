// Start-up registration of the graphics classes, unit by unit.
#pragma once

// Registers the graphics classes in the order of their units: pages, projections, devices,
// text devices, interpreters, scripts, layers, the universal interpreter, the device tool,
// registers, property bags and spatial entities. Running it again registers nothing more.
void RegisterGraphicsUnits();
