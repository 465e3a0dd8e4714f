#pragma once
// The codes of the kinds of opening and sun shading that the daylight and roof-light tables are
// indexed by; the building model stores them as they are.

// Sun shading of a room's windows.
enum {
    SHADING_NONE = 0,
    SHADING_GLARE_PROTECTION = 1,
    SHADING_AUTO_GLARE_PROTECTION = 2,
    SHADING_LIGHT_GUIDES = 3
};

// Roof light types and orientations.
enum { RL_SHED = 0, RL_FLAT = 1 };
enum {
    RLO_HORIZONTAL = 0,
    RLO_SOUTH = 1,
    RLO_SOUTH_EAST_WEST = 2,
    RLO_EAST_WEST = 3,
    RLO_NORTH_EAST_WEST = 4,
    RLO_NORTH = 5
};
