// Resource identifiers of the switcher library. Plain #defines: read by the resource compiler
// and by C++. The desktop row's icon (IDI_SWAP_DESKTOP) is one of the generated pictures.
#pragma once

#include "res/ResourceIds.h"

// The switcher's dialog template: a popup without controls, sized at initialisation.
#define IDD_SWAP 3000
