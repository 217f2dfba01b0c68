#pragma once

namespace oxa {

// Accessible interfaces for the window's own kinds of control, installed once per process:
// - a combo box is named by its label (Qt names it by its current value on Linux) and reads its value
//   as its value;
// - a picture is a graphic, named by its accessible name: empty for one that only decorates, so that
//   screen readers pass over it.
void installAccessibleInterfaces();

} // namespace oxa
