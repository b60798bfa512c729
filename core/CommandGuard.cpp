#include "core/CommandGuard.h"

#include "core/Message.h"

#include <new>
#include <stdexcept>
#include <system_error>

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
    } catch (const std::bad_alloc&) {
        ShowMessage(kOutOfMemoryMessage);
        return false;
    } catch (const std::system_error& e) {
        // std::thread says it could not start one with EAGAIN.
        const bool thread = e.code() == std::errc::resource_unavailable_try_again;
        ShowMessage(thread ? kNoThreadMessage : kImproperArgumentMessage, e.what());
        return false;
    }
}

} // namespace qex
