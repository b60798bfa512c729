#include "proxy/SimulationSession.h"

#include "core/AtomicFile.h"
#include "core/Concurrency.h"
#include "core/Message.h"
#include "proxy/SimulationCurveCache.h"

#include <algorithm>
#include <cmath>

namespace qex {

namespace {
// Starting value of the best absolute ratio difference.
constexpr double kInitialBestDifference = 100.0;
} // namespace

// The 998 histories of one 10Be sample.
struct CSimulationSession::Walked {
    Walked(const SimulationCurve& curve, const SimulationParameters& p, WalkEvaluation evaluation)
        : parameters(p), walk(curve, p, evaluation)
    {
    }
    SimulationParameters parameters;
    CBurialExposureWalk walk;
    std::vector<CutHistory> histories;
};

namespace {
// The least |R - Rm| among the histories that pass `admit`, with more
// exposure than the sample needs at the least; -1 when none does.
template <typename Admit>
int LeastRatioDifference(const std::vector<CutHistory>& histories, const SimulationParameters& p, Admit admit)
{
    const double rm = p.measuredRatio;
    double bestDifference = kInitialBestDifference;
    int bestIndex = -1;
    for (std::size_t i = 0; i < histories.size(); ++i) {
        const CutHistory& h = histories[i];
        // Strictly closer, so a tie keeps the lower cut value.
        if (admit(h) && std::fabs(h.ratio - rm) < bestDifference && h.exposure > p.minimumExposure) {
            bestDifference = std::fabs(h.ratio - rm);
            bestIndex = static_cast<int>(i);
        }
    }
    return bestIndex;
}
} // namespace

namespace {
// The 10Be (atoms/g) of the history at `cut` that begins `until` years ago:
// at or below the cut exposure, above it burial, the crossings interpolated
// linearly between the curve's points; evaluated from the oldest interval on
// (exposure N -> N e^(-mu d) + P/mu (1 - e^(-mu d)); burial also strips rock,
// N -> N e^(-mu d) e^(-rho epsG d / Lambda); Lal 1991).
double Be10Through(const SimulationCurve& curve, const SimulationParameters& p, double cut, double until)
{
    std::vector<std::pair<double, bool>> pieces; // (years, exposed), youngest first
    for (std::size_t i = 0; i + 1 < curve.years.size() && curve.years[i] < until; ++i) {
        const double t0 = curve.years[i], t1 = curve.years[i + 1];
        const double v0 = curve.values[i], v1 = curve.values[i + 1];
        if (!(t1 > t0))
            continue;
        double edges[3] = {t0, t1, t1};
        int count = 2;
        if ((v0 - cut) * (v1 - cut) < 0.0) {
            edges[1] = t0 + (cut - v0) / (v1 - v0) * (t1 - t0);
            count = 3;
        }
        for (int e = 0; e + 1 < count && edges[e] < until; ++e) {
            const double end = std::min(edges[e + 1], until);
            const double value = v0 + (v1 - v0) * (0.5 * (edges[e] + end) - t0) / (t1 - t0);
            pieces.emplace_back(end - edges[e], value <= cut);
        }
    }
    double n = 0.0;
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        const double decay = std::exp(-p.mu10 * piece->first);
        n = piece->second ? n * decay + p.saturation10 * (1.0 - decay)
                          : n * decay * std::exp(-p.density * p.glacialErosion * piece->first / p.freePath);
    }
    return n;
}
} // namespace

bool IsLowerLimit(const SimulationCurve& curve, const SimulationParameters& p, const CutHistory& h, double cut,
                  double be10Error)
{
    if (!h.matched || !(h.total > 0.0))
        return false;
    // Walked on to twice its total, or to the curve's end if that comes first.
    const double further = std::min(2.0 * h.total, curve.years.back());
    return std::fabs(Be10Through(curve, p, cut, further) - Be10Through(curve, p, cut, h.total)) < be10Error;
}

int BestHistoryIndex(const std::vector<CutHistory>& histories, const SimulationParameters& p)
{
    // A history whose 10Be never reached the measured value does not describe
    // the sample, however close its ratio: the choice is among matched
    // histories, and falls back to all of them only when none matched.
    const int matched = LeastRatioDifference(histories, p, [](const CutHistory& h) { return h.matched; });
    if (matched >= 0)
        return matched;
    return LeastRatioDifference(histories, p, [](const CutHistory&) { return true; });
}

bool RatioWithinMatched(const std::vector<CutHistory>& histories, const SimulationParameters& p)
{
    double least = HUGE_VAL, most = -HUGE_VAL;
    for (const CutHistory& h : histories)
        if (h.matched && h.exposure > p.minimumExposure) {
            least = std::min(least, h.ratio);
            most = std::max(most, h.ratio);
        }
    return p.measuredRatio >= least * (1.0 - kMatchTolerance) && p.measuredRatio <= most * (1.0 + kMatchTolerance);
}

CSimulationSession::CSimulationSession(std::string proxyPath, std::string reportPath, double be10Production,
                                       double al26Production, double density, double freePath, double aerialErosion,
                                       double glacialErosion, WalkEvaluation evaluation, HalfLives halfLives,
                                       bool exposureAboveCut)
    : m_proxyPath(std::move(proxyPath)), m_reportPath(std::move(reportPath)), m_be10Production(be10Production),
      m_al26Production(al26Production), m_density(density), m_freePath(freePath), m_aerialErosion(aerialErosion),
      m_glacialErosion(glacialErosion), m_evaluation(evaluation), m_halfLives(halfLives),
      m_exposureAboveCut(exposureAboveCut)
{
}

CSimulationSession::~CSimulationSession() = default;

void CSimulationSession::SetProgress(SimulationProgress progress, int runs)
{
    m_progress = std::move(progress);
    m_runsPlanned = runs > 0 ? runs : 1;
}

bool CSimulationSession::ReportProgress(int cutValuesDone)
{
    if (!m_progress || m_cancelled)
        return !m_cancelled;
    const int total = m_runsPlanned * kSimulationCutCount;
    const int done = std::min(m_runsDone * kSimulationCutCount + cutValuesDone, total);
    if (!m_progress(done, total))
        m_cancelled = true;
    return !m_cancelled;
}

CSimulationSession::Walked* CSimulationSession::WalkFor(const SimulationParameters& p)
{
    // Only the measured 10Be and the minimum exposure time (which the 26Al
    // can move through the erosion test) differ between the runs of a session.
    for (auto& walked : m_walks)
        if (walked->parameters.be10Concentration == p.be10Concentration &&
            walked->parameters.minimumExposure == p.minimumExposure)
            return walked.get();
    auto walked = std::make_unique<Walked>(m_curve, p, m_evaluation);
    // A walk stopped on the way is not kept.
    if (!WalkAll(*walked, m_threads > 0 ? m_threads : AvailableThreads()))
        return nullptr;
    m_walks.push_back(std::move(walked));
    return m_walks.back().get();
}

bool CSimulationSession::WalkAll(Walked& walked, int threads)
{
    walked.histories.assign(kSimulationCutCount, CutHistory());
    // On a short curve the walks take less time than starting a thread.
    constexpr std::size_t kPointsWorthThreads = 256;
    if (threads <= 1 || m_curve.years.size() < kPointsWorthThreads) {
        for (int k = 1; k <= kSimulationCutCount; ++k) {
            walked.histories[static_cast<std::size_t>(k - 1)] = walked.walk.Walk(k);
            if (!ReportProgress(k))
                return false;
        }
        return true;
    }

    // The cut values are independent: threads take the next few from one
    // counter, each walking with its own walk and writing only their slots.
    // Warnings wait with their cut value and are shown afterwards on this
    // thread in cut-value order, as one thread would have shown them.
    constexpr int kCutValuesPerTake = 8;
    const int participants = ShareWorkParticipants(kSimulationCutCount, threads, kCutValuesPerTake);
    // The helpers' walks are made here, from this thread's heap, which keeps
    // freed memory: a new thread's own heap would start from fresh pages.
    std::vector<std::unique_ptr<CBurialExposureWalk>> walks;
    for (int i = 1; i < participants; ++i)
        walks.push_back(std::make_unique<CBurialExposureWalk>(m_curve, walked.parameters, m_evaluation));
    struct Warning {
        int cutValue;
        const char* text;
    };
    std::vector<std::vector<Warning>> warnings(static_cast<std::size_t>(participants));
    const bool finished = ShareWork(
        kSimulationCutCount, threads, kCutValuesPerTake,
        [&](int participant, int first, int last) {
            CBurialExposureWalk& walk =
                participant == 0 ? walked.walk : *walks[static_cast<std::size_t>(participant) - 1];
            std::vector<const char*> collected;
            walk.CollectWarnings(&collected);
            for (int k = first + 1; k <= last + 1; ++k) {
                walked.histories[static_cast<std::size_t>(k - 1)] = walk.Walk(k);
                for (const char* text : collected)
                    warnings[static_cast<std::size_t>(participant)].push_back({k, text});
                collected.clear();
            }
            walk.CollectWarnings(nullptr);
        },
        [this](int done) { return ReportProgress(done); });

    std::vector<Warning> all;
    for (const auto& list : warnings)
        all.insert(all.end(), list.begin(), list.end());
    std::stable_sort(all.begin(), all.end(), [](const Warning& a, const Warning& b) { return a.cutValue < b.cutValue; });
    for (const Warning& warning : all)
        ShowMessage(warning.text);
    return finished && ReportProgress(kSimulationCutCount);
}

bool CSimulationSession::Run(double be10Concentration, double al26Concentration, SimulationBestFit& best,
                             SimulationDetail* detail)
{
    if (m_cancelled)
        return false;
    // Every run counts towards the progress, the ones that stop early too.
    struct RunCounter {
        int& runs;
        ~RunCounter() { ++runs; }
    } counter{m_runsDone};

    const SimulationParameters p =
        DeriveSimulationParameters(be10Concentration, m_be10Production, al26Concentration, m_al26Production,
                                   m_density, m_freePath, m_aerialErosion, m_glacialErosion, m_halfLives.be10,
                                   m_halfLives.al26);
    // Inputs that cannot give finite numbers, or a measured ratio above the
    // production ratio (burial only lowers the ratio, so no history explains
    // it), end the run before any file is touched.
    if (!ParametersAreUsable(p) || p.productionRatio < p.measuredRatio)
        return false;

    if (m_curveState == State::Unknown) {
        auto read = [this](SimulationCurve& curve, std::string& message, std::string& detail) {
            return LoadSimulationCurve(m_proxyPath, curve, message, &detail, m_exposureAboveCut);
        };
        // The key names everything that changes how the file is read: the path, and whether it is read negated.
        const std::string key = m_proxyPath + (m_exposureAboveCut ? "\n-" : "");
        const bool loaded = m_curveCache != nullptr
                                ? m_curveCache->Load(key, read, m_curve, m_curveMessage, &m_curveDetail)
                                : read(m_curve, m_curveMessage, m_curveDetail);
        m_curveState = loaded ? State::Good : State::Bad;
        if (loaded) {
            m_curveMessage = YearsBeyondMessage(m_curve, m_oldestYear);
            if (!m_curveMessage.empty())
                m_curveState = State::Bad;
        }
    }
    if (m_curveState == State::Bad) {
        ShowMessage(m_curveMessage, m_curveDetail);
        return false;
    }
    if (m_reportState == State::Unknown && !ReportGoesToFile())
        m_reportState = State::Good;
    if (m_reportState == State::Unknown) {
        CAtomicFile probe(m_reportPath);
        m_reportState = probe.Open() ? State::Good : State::Bad;
        m_reportDetail = probe.FailureDetail();
        m_reportError = probe.Error();
    }
    if (m_reportState == State::Bad) {
        ShowMessage(FileFailureText("Can not find Output file!", m_reportError), m_reportDetail);
        return false;
    }

    Walked* walkedOrNull = WalkFor(p);
    if (walkedOrNull == nullptr)
        return false;
    Walked& walked = *walkedOrNull;
    const double rm = p.measuredRatio;
    const int bestIndex = BestHistoryIndex(walked.histories, p);

    m_pending = PendingReport{&walked, rm, std::nullopt};
    HistoryRecord record;
    if (bestIndex >= 0) {
        const CutHistory& h = walked.histories.at(static_cast<std::size_t>(bestIndex));
        walked.walk.SetQuiet(true);
        walked.walk.Walk(bestIndex + 1, &record);
        walked.walk.SetQuiet(false);
        SimulationBestFit found;
        found.calculatedRatio = h.ratio;
        found.cuttingNumber = h.cuttingNumber;
        found.exposureTime = h.exposure;
        found.totalTime = h.total;
        found.ratioDifference = 100.0 * std::fabs(h.ratio - rm) / rm;
        found.burialTime = h.burial;
        found.cutValue = h.cutValue;
        found.cuttingAges.assign(record.crossings.begin(), record.crossings.begin() + h.cuttingNumber);
        found.pairs = record.pairs;
        found.offCurve = !h.matched;
        found.lowerLimit = IsLowerLimit(m_curve, p, h, walked.walk.CutValue(bestIndex + 1), m_be10Uncertainty);
        m_pending->best = found;
        best = std::move(found);
    }

    if (detail != nullptr) {
        *detail = SimulationDetail();
        detail->curveName = m_curve.name;
        detail->years = m_curve.years;
        // In the curve's own units, as its cut values are.
        detail->values = m_curve.values;
        for (double& value : detail->values)
            value = CurveValue(value, m_curve.negated);
        detail->measuredRatio = rm;
        detail->productionRatio = p.productionRatio;
        detail->minimumExposure = p.minimumExposure;
        detail->table.reserve(walked.histories.size());
        for (std::size_t i = 0; i < walked.histories.size(); ++i) {
            const CutHistory& h = walked.histories[i];
            const double cut = walked.walk.CutValue(static_cast<int>(i) + 1);
            detail->table.push_back({h.cutValue, h.ratio, ReportRatioDifference(h.ratio, rm), h.firstCutAge,
                                     h.exposure, h.burial, h.matched,
                                     IsLowerLimit(m_curve, p, h, cut, m_be10Uncertainty)});
        }
        if (bestIndex >= 0) {
            const CutHistory& h = walked.histories.at(static_cast<std::size_t>(bestIndex));
            detail->hasBestFit = true;
            detail->bestCutValue = h.cutValue;
            detail->totalTime = h.total;
            detail->crossings = record.crossings;
            detail->oldestIsBurial = record.oldestIsBurial;
            detail->pairs = record.pairs;
        }
    }
    return bestIndex >= 0;
}

bool CSimulationSession::WriteReport()
{
    if (m_cancelled) {
        m_pending.reset();
        return false;
    }
    // A batch row without a report folder makes none.
    if (!m_pending || (m_keptReport == nullptr && !ReportGoesToFile())) {
        m_pending.reset();
        return true;
    }
    const PendingReport& pending = *m_pending;
    const std::string text = FormatSimulationReport(pending.walk->histories, pending.measuredRatio,
                                                    pending.best ? &*pending.best : nullptr,
                                                    SimulationSettingLines(m_halfLives, m_exposureAboveCut));
    m_pending.reset();
    if (m_keptReport != nullptr) {
        *m_keptReport = text;
        return true;
    }
    return WriteFileAtomically(m_reportPath, text, "Can not find Output file!");
}

} // namespace qex
