#include "core/CommandGuard.h"

#include "core/Message.h"

#include <stdexcept>

namespace qex {

bool RunGuarded(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::out_of_range&) {
        ShowMessage(kImproperArgumentMessage);
        return false;
    } catch (const std::length_error&) {
        ShowMessage(kImproperArgumentMessage);
        return false;
    }
}

} // namespace qex
