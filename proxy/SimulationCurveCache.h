#pragma once
// Proxy curves read once for many simulations: a batch of samples that share
// a curve (the usual case, every boulder of a moraine on one stack) reads and
// checks the file once, whichever thread asks first.

#include "proxy/SimulationCurve.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace qex {

class CSimulationCurveCache {
public:
    // Reads a curve as LoadSimulationCurve does: true and the curve, or false
    // with the message to show and its detail.
    using Reader = std::function<bool(SimulationCurve& curve, std::string& message, std::string& detail)>;

    // The curve `read` gives, read only the first time `key` (the path, and
    // whatever else changes how the file is read) is asked for.
    bool Load(const std::string& key, const Reader& read, SimulationCurve& curve, std::string& message,
              std::string* detail);

private:
    struct Entry {
        bool loaded = false;
        SimulationCurve curve;
        std::string message;
        std::string detail;
    };
    std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<const Entry>> m_entries;
};

} // namespace qex
