#pragma once
// What the floor pages show besides the outlines, switched in the View menu and remembered in the
// user's preferences: luminaire tables, opening labels and the DXF drawing.

struct PlanDisplay {
    bool luminaireTables = true;
    bool openingLabels = true;
    bool dxfDrawing = true;
};

// The switches as the preferences hold them (all on when they hold none).
PlanDisplay LoadPlanDisplay();
void SavePlanDisplay(const PlanDisplay& display);
