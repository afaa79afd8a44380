#pragma once

#include <cstdint>

#include "Geometry.h"

namespace qm::interp {

enum class FeedMode : std::uint8_t { PerMinute, InverseTime, PerRevolution };  // G94 G93 G95
enum class Spindle : std::uint8_t { Stopped, Clockwise, CounterClockwise };    // M5 M3 M4
enum class ReturnLevel : std::uint8_t { Initial, RPlane };                     // G98 G99

// Everything in effect after a block, apart from where the tool stands. G codes are held
// times ten (G59.1 is 591), as the block reader gives them.
struct ModalState {
    int motion = 0;  // 0 10 20 30, 382 (probe), 730 760 810...890; 800 cycles off
    Plane plane = Plane::XY;
    bool incremental = false;    // G91
    bool arcIncremental = true;  // G91.1 (RS274NGC's start-up), G90.1
    bool inches = false;         // G20
    FeedMode feedMode = FeedMode::PerMinute;
    int cutterComp = 400;  // G40 G41 G42
    int dNumber = 0;
    int toolLengthMode = 490;  // G49 G43 G43.1 G44
    int hNumber = 0;
    double toolLength = 0;  // mm, along Z
    int workOffset = 540;   // G54 ... G59.3, G54.1 (Fanuc: 541 with pNumber)
    int extraOffset = 0;    // G54.1 P
    bool g92Active = false;
    ReturnLevel returnLevel = ReturnLevel::Initial;
    bool constantSurfaceSpeed = false;  // G96
    double feed = 0;  // mm/min, mm per turn (G95) or 1/min (G93), in the units F was given in
    double speed = 0;
    Spindle spindle = Spindle::Stopped;
    bool mist = false, flood = false;
    int tool = 0;           // T selected
    int toolInSpindle = 0;  // after M6
    int stop = 0;           // the last program stop word: 0, 1, 2, 30 (M0 M1 M2 M30)
    // Canned-cycle words kept from one cycle block to the next.
    double cycleR = 0, cycleZ = 0, cycleQ = 0, cycleP = 0, cycleInitial = 0;
    bool cycleHasR = false, cycleHasZ = false;
    bool operator==(const ModalState&) const = default;
};

}  // namespace qm::interp
