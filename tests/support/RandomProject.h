#pragma once

// Small random projects for the differential tests: every kind of flag statement switched on and off at
// random, naming a few flags most of the time (so that sections fill and statements meet) and now and then
// 0, a negative number or one above 255; conjunction results with whole, fractional, non-numeric and too
// large flag texts; unknown object types; scene names that need escaping in JSON.

#include "support/ProjectBuilder.h"

namespace orv::testing {

ProjectBuilder randomProject(unsigned seed);

} // namespace orv::testing
