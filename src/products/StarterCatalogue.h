#pragma once
// A few generic luminaires with typical powers, so that a new user can fill a zone before any
// maker's product has been typed or imported. Their names say they are generic.

#include "products/LumSysDataBase.h"

#include <vector>

const std::vector<CLumTypeData>& StarterCatalogue();

// Adds the generic products the database does not hold yet (by reference id) as one change;
// returns how many were added.
int AddStarterCatalogue(CLumSysDataBase& database);
