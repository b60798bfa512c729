#pragma once
// The program's own icons, drawn in code.

#include <QIcon>

namespace qex {

QIcon ApplicationIcon();
QIcon SimulationIcon(); // a proxy curve with its exposure and burial stretches
QIcon CutResultsIcon(); // a curve cut by a horizontal line, the crossings marked
QIcon AboutIcon();      // a question mark

} // namespace qex
