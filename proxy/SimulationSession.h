#pragma once
// Engine runs that share one curve, one report path and the sample's
// production rates, density, free path and erosion rates. The curve is read
// once; runs with the same 10Be (the walk depends on nothing else that
// varies) share one walk of the 998 cut values; the report is written once, at
// the end, with what the last run that reached it would have written. Each run
// shows the messages a lone engine run shows.

#include "core/Constants.h"
#include "core/HalfLives.h"
#include "proxy/BurialExposureSimulation.h"
#include "proxy/SimulationCurve.h"
#include "proxy/SimulationProgress.h"
#include "proxy/SimulationReport.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qex {

class CSimulationCurveCache;

// Whether a matched history's total is a lower limit: walked on to twice its
// total (or to the curve's end), its 10Be changes by less than `be10Error`.
// `cut` in the curve's internal units.
bool IsLowerLimit(const SimulationCurve& curve, const SimulationParameters& p, const CutHistory& h, double cut,
                  double be10Error);
// The history whose ratio is closest to the measured one among those whose
// 10Be matched (among all when none did), with more exposure than the
// minimum; -1 when none qualifies.
int BestHistoryIndex(const std::vector<CutHistory>& histories, const SimulationParameters& p);
// Whether the measured ratio lies within the ratios of the matched histories
// (to the match tolerance): outside them the best history is only the edge of
// what the curve can make, e.g. a ratio that needs more burial than the curve
// holds.
bool RatioWithinMatched(const std::vector<CutHistory>& histories, const SimulationParameters& p);

class CSimulationSession {
public:
    // Erosion rates in cm/yr; the nuclides decay with `halfLives`. With
    // `exposureAboveCut`, the curve is read with every value negated (high
    // values count as exposure) and cut values are given in its own units.
    CSimulationSession(std::string proxyPath, std::string reportPath, double be10Production, double al26Production,
                       double density, double freePath, double aerialErosion, double glacialErosion,
                       WalkEvaluation evaluation = WalkEvaluation::Fast, HalfLives halfLives = {},
                       bool exposureAboveCut = false);
    ~CSimulationSession();
    CSimulationSession(const CSimulationSession&) = delete;
    CSimulationSession& operator=(const CSimulationSession&) = delete;

    // One engine run for the measured concentrations (atoms/g). True with the
    // best fit; false when the run fails or no cut value qualifies.
    bool Run(double be10Concentration, double al26Concentration, SimulationBestFit& best,
             SimulationDetail* detail = nullptr);

    // Writes the report of the last run that reached it (nothing when none
    // did). False, after "Can not find Output file!", when it cannot be
    // written; false without a message, and nothing written, when stopped.
    bool WriteReport();

    // Takes the curve from `cache` (shared by the sessions of a batch) instead
    // of reading the file itself.
    void SetCurveCache(CSimulationCurveCache* cache) { m_curveCache = cache; }
    // Keeps the report's text in `text` instead of writing the report path;
    // with null, and an empty report path, no report is made at all.
    void KeepReport(std::string* text) { m_keptReport = text; }

    // Reports the walks to `progress`, which may stop them; `runs` is the
    // number of runs the caller makes (each walks at most every cut value).
    void SetProgress(SimulationProgress progress, int runs);
    // The measured 10Be's uncertainty (atoms/g): a matched history whose 10Be
    // would change by less than it when walked on is a lower limit.
    void SetBe10Uncertainty(double be10Error) { m_be10Uncertainty = be10Error; }
    // True once the progress callback asked to stop: every later run fails.
    bool Cancelled() const { return m_cancelled; }

    // The cut values of a run are walked on `threads` threads (0, the
    // default: every core, or this thread alone inside work that already
    // shares the cores). The results and messages do not depend on it.
    void SetThreads(int threads) { m_threads = threads; }

    // Refuses a curve going back further than `years`: by default one older
    // than the Earth (a test of the walk's arithmetic may allow any).
    void SetOldestYear(double years) { m_oldestYear = years; }

private:
    struct Walked;
    // The walk of these parameters, made once; null when stopped on the way.
    Walked* WalkFor(const SimulationParameters& parameters);
    // False (and Cancelled) when the callback asks to stop.
    bool ReportProgress(int cutValuesDone);
    // Walks every cut value into `walked`; false when stopped on the way.
    bool WalkAll(Walked& walked, int threads);

    std::string m_proxyPath;
    std::string m_reportPath;
    double m_be10Production;
    double m_al26Production;
    double m_density;
    double m_freePath;
    double m_aerialErosion;
    double m_glacialErosion;
    WalkEvaluation m_evaluation;
    HalfLives m_halfLives;
    bool m_exposureAboveCut;
    double m_be10Uncertainty = 0.0;
    double m_oldestYear = kAgeOfEarthYears;
    int m_threads = 0;

    enum class State { Unknown, Good, Bad };
    State m_curveState = State::Unknown;
    std::string m_curveMessage;
    std::string m_curveDetail; // the path and the reason it cannot be read
    SimulationCurve m_curve;
    CSimulationCurveCache* m_curveCache = nullptr;
    std::string* m_keptReport = nullptr;
    // Written to the report path; false when kept as text or not made.
    bool ReportGoesToFile() const { return m_keptReport == nullptr && !m_reportPath.empty(); }
    State m_reportState = State::Unknown;
    std::string m_reportDetail; // the path and the reason it cannot be written
    int m_reportError = 0;

    std::vector<std::unique_ptr<Walked>> m_walks;

    SimulationProgress m_progress;
    int m_runsPlanned = 1;
    int m_runsDone = 0;
    bool m_cancelled = false;

    // The report the last run that reached it would leave.
    struct PendingReport {
        const Walked* walk = nullptr;
        double measuredRatio = 0.0;
        std::optional<SimulationBestFit> best;
    };
    std::optional<PendingReport> m_pending;
};

} // namespace qex
