// Binding of the nox component, loaded by path from ambrel's own folder.
#pragma once

#include "nox.h"

// Creates the live and the decoder object. Returns 1 when both were made, 0
// otherwise, after an "Error" message box that the user has closed. The live
// object may already be stored when the decoder fails; the library then
// stays loaded for its release.
int LoadNOX(INOXLiveControl** ppLive, INOXDecode** ppDecode);
