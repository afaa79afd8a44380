#pragma once

#include <array>
#include <cstddef>

namespace qm::interp {

// The six axes a program names: X Y Z linear (millimetres), A B C rotary (degrees).
enum Axis : std::size_t { kX, kY, kZ, kA, kB, kC, kAxisCount };
using Axes = std::array<double, kAxisCount>;

constexpr double kMmPerInch = 25.4;

enum class Plane : unsigned char { XY, ZX, YZ };

// The two in-plane axes of a plane in the order its arcs are turned (first -> second is
// counter-clockwise seen from the positive end of the third), and the axis along it.
struct PlaneAxes {
    Axis first, second, normal;
};
constexpr PlaneAxes AxesOf(Plane plane) {
    switch (plane) {
        case Plane::ZX:
            return {kZ, kX, kY};
        case Plane::YZ:
            return {kY, kZ, kX};
        case Plane::XY:
            break;
    }
    return {kX, kY, kZ};
}

}  // namespace qm::interp
