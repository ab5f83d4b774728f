#include "shell/adaptivegrid.h"

#include <algorithm>
#include <cmath>

AdaptiveGrid::Layout AdaptiveGrid::layout(qreal width, qreal minimum, qreal maximum, qreal spacing)
{
    // n columns need n × minimum + (n − 1) × spacing. The tolerance keeps a width that fits
    // exactly (as scaled sizes do, in binary fractions) from losing a column to rounding.
    const qreal fitting = std::floor((width + spacing) / (minimum + spacing) + 1e-9);
    // Bindings may ask before the sizes are set (a minimum of 0 fits infinitely many): bound
    // the count before it becomes an int.
    const int columns = fitting >= 1 ? int(std::min<qreal>(fitting, 1000)) : 1;
    const qreal share = (width - (columns - 1) * spacing) / columns;
    return {columns, std::clamp<qreal>(share, 0, maximum)};
}
