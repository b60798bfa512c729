#pragma once
// Proxy curves read once for many simulations: a batch of samples that share
// a curve (the usual case, every boulder of a moraine on one stack) reads and
// checks the file once, whichever thread asks first.

#include "proxy/SimulationCurve.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace qex {

class CSimulationCurveCache {
public:
    // As LoadSimulationCurve, the file read only the first time its path is asked for.
    bool Load(const std::string& path, SimulationCurve& curve, std::string& message, std::string* detail);

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
