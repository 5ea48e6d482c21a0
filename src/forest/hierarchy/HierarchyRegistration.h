// Start-up registration of the forest hierarchy's classes.
#pragma once

// Registers the hierarchy classes from the unit header down to species, land, damage,
// afforestation, categories and organisation levels, with their sets and the cadastral table.
void RegisterE_LesOddUnit();
