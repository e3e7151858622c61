// The state that the conversion passes share for the whole run.
#pragma once

#include <cfloat>
#include <cmath>

namespace ncabs {

// What the input's coordinates are taken to be.
enum class InputMode {
    Absolute = 0,
    Incremental = 1,
    StartLinePending = 2,  // start position typed in; the mode line is still to be converted
};

enum Axis { AxisX = 0, AxisY = 1, AxisZ = 2 };

// The current absolute X, Y and Z, in the program's own unit.
struct Position {
    double xyz[3];
};

struct ConversionState {
    InputMode mode = InputMode::Absolute;
    Position position = {{0.0, 0.0, 0.0}};
};

inline int axis_index(char letter) { return letter - 'X'; }

// Applies one X, Y or Z word of value to its axis: in Absolute mode the
// axis becomes the value, otherwise the value is added.
// NOTE: a sum beyond the largest double is held at +-DBL_MAX, so that no
// infinity is ever written into a program.
inline void move_axis(ConversionState& state, int axis, double value) {
    double& at = state.position.xyz[axis];
    if (state.mode == InputMode::Absolute) {
        at = value;
        return;
    }
    double sum = at + value;
    if (std::isinf(sum)) sum = std::copysign(DBL_MAX, sum);
    at = sum;
}

}  // namespace ncabs
