// Start-up registration of the program's element and control classes after those of the layers below.
#pragma once

// Registers the framework's and the forest model's classes, then the forest unit and the edit
// controls. Running it again registers nothing more.
void RegisterAppUnits();
