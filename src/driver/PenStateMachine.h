#pragma once
// The pen-state machine's decision for one applied report: which single
// transition the new state makes from the previous one.
#include "driver/StylusState.h"

namespace taviro {

enum class PenTransition {
  ProximityChange,  // entered or left the tablet's range (ends any drag)
  TipUp,            // mouse-up
  TipDown,          // mouse-down
  DragStart,        // first drag after the tip went down
  Drag,             // drag continues
  Move,             // hovering pen moved
  None,
};

// `cur` is the state being applied, `prev` the last applied one.
PenTransition decidePenTransition(const StylusState& cur, const StylusState& prev, bool dragging);

}  // namespace taviro
