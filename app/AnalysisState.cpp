#include "app/AnalysisState.h"

namespace tesmera {

void AnalysisState::ResetResults() {
    FundamentalOrder = 1;
    EnergyTolerance = 0.01;
    FileLoaded = false;
    Samples.fill(0);
    FundamentalSignal.fill(0);
    ApproxSignal.fill(0);
    ax.fill(0);
    bx.fill(0);
    AA.fill(0);
    AANorm.fill(0);
    AmplitudeNorm = 0;
    SampleCount = 0;
    ExpertGrade = 0;
}

}  // namespace tesmera
