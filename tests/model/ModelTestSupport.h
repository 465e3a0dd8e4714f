#pragma once
// Small builders and checks shared by the model tests.

#include "base/TextUtils.h"
#include "dxf/Geometry.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

// Counter-clockwise axis-parallel rectangle.
inline Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

inline CLENIRoom MakeRoom(const std::string& name, const Polygon& outline, double height = 3.0) {
    CLENIRoom room;
    room.InitFromPolygon(name, outline, height);
    return room;
}

inline CLENIZone MakeZone(const std::string& name, const Polygon& outline) {
    CLENIZone zone;
    zone.InitFromPolygon(name, outline);
    return zone;
}

// One operation and the one message it must write, exactly, at its level.
struct MessageCase {
    const char* what;
    std::function<void()> run;
    std::string message;
    int level;
};

inline void ExpectMessages(const std::vector<MessageCase>& cases) {
    for (const MessageCase& c : cases) {
        LogRecorder log;
        c.run();
        bool found = false;
        for (const auto& m : log.messages)
            found = found || (m.first == c.level && m.second == c.message);
        EXPECT_TRUE(found) << c.what << ": expected <" << c.message << "> at level " << c.level << ", got\n"
                           << log.All();
    }
}
