// Start-up registration of the graphics classes, unit by unit.
#include "graphics/GraphicsRegistration.h"

#include "graphics/devices/PrintDevice.h"
#include "graphics/devices/TextDevices.h"
#include "graphics/geometry/Page.h"
#include "graphics/geometry/Projection.h"
#include "graphics/interpret/BasicInterpreters.h"
#include "graphics/interpret/InterpretLayers.h"
#include "graphics/interpret/InterpretScript.h"
#include "graphics/interpret/UniversalInterpret.h"
#include "graphics/space/ObjectRegisters.h"
#include "graphics/space/PolyElements.h"
#include "graphics/space/PropertyBags.h"

void RegisterGraphicsUnits()
{
    // Clipping, plane geometry, the drawing devices and the text window register no class.
    RegisterPageClasses();
    RegisterProjectionClasses();
    RegisterTextDeviceClasses();
    RegisterInterpretClasses();
    RegisterInterpretScriptClasses();
    RegisterInterpretLayerClasses();
    RegisterUniversalInterpretClasses();
    RegisterBasicInterpreterClasses();
    RegisterDeviceToolClasses();
    RegisterObjectRegisterClasses();
    RegisterPropertyBagClasses();
    RegisterSpaceEntityClasses();
}
