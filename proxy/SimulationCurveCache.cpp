#include "proxy/SimulationCurveCache.h"

namespace qex {

bool CSimulationCurveCache::Load(const std::string& key, const Reader& read, SimulationCurve& curve,
                                 std::string& message, std::string* detail)
{
    std::shared_ptr<const Entry> entry;
    {
        // Held while a file is read: the rows waiting for it would read it again otherwise.
        std::lock_guard<std::mutex> lock(m_mutex);
        auto found = m_entries.find(key);
        if (found == m_entries.end()) {
            auto made = std::make_shared<Entry>();
            made->loaded = read(made->curve, made->message, made->detail);
            found = m_entries.emplace(key, std::move(made)).first;
        }
        entry = found->second;
    }
    if (!entry->loaded) {
        message = entry->message;
        if (detail != nullptr)
            *detail = entry->detail;
        return false;
    }
    curve = entry->curve;
    return true;
}

} // namespace qex
