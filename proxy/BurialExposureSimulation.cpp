#include "proxy/BurialExposureSimulation.h"

#include "proxy/SimulationSession.h"

namespace qex {

int SimulateBurialExposure(std::string proxyPath, std::string reportPath, double be10Concentration,
                           double be10Production, double al26Concentration, double al26Production, double density,
                           double freePath, double aerialErosion, double glacialErosion, double& exposureTime,
                           double& burialTime, double& totalTime, double& ratioDifference, double& cutValue,
                           std::vector<double>& cuttingAges, int& cuttingNumber, double& calculatedRatio,
                           SimulationDetail* detail)
{
    CSimulationSession session(std::move(proxyPath), std::move(reportPath), be10Production, al26Production, density,
                               freePath, aerialErosion, glacialErosion);
    SimulationBestFit best;
    const bool found = session.Run(be10Concentration, al26Concentration, best, detail);
    if (!session.WriteReport() || !found)
        return 0;
    exposureTime = best.exposureTime;
    burialTime = best.burialTime;
    totalTime = best.totalTime;
    ratioDifference = best.ratioDifference;
    cutValue = best.cutValue;
    cuttingAges = best.cuttingAges;
    cuttingNumber = best.cuttingNumber;
    calculatedRatio = best.calculatedRatio;
    return 1;
}

} // namespace qex
