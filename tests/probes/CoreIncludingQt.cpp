// Built only by the core_rejects_qt test, which expects this to fail: a core
// source cannot see Qt.
#include "core/Format.h"
#include <QString>

int ProbeUsesQt()
{
    return QString("core").size();
}
