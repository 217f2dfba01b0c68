#pragma once

#include "settingscontrols.h"

#include <QString>
#include <functional>

class QObject;

namespace oxa {

using ControlLookup = std::function<QObject *(const QString &)>;

// Carries out one change through the control's own setter, so that its change or click handlers
// (filters, selection rules) run just as for the user's change. Returns false for a control that is
// missing or of another kind.
bool applyControlOpToWidget(QObject *control, const ControlOp &op);

// Reads check states, texts and positions of the window's controls, for encoding.
ControlReader widgetControlReader(const ControlLookup &lookup);

} // namespace oxa
