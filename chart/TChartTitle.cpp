#include "chart/TChartTitle.h"

namespace tesmera {

TChartTitle::TChartTitle() {
    text_.SetOnChange([this] { Changed(); });
}

}  // namespace tesmera
