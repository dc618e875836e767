#include "chart/TCustomChart.h"

namespace tesmera {

TCustomChart::TCustomChart() {
    title_.SetOnChange([this] { InvalidateChart(); });
    foot_.SetOnChange([this] { InvalidateChart(); });
}

}  // namespace tesmera
