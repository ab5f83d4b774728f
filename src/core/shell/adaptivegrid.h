#pragma once

#include <QtGlobal>

// The columns of a grid that fits as many as it can: each at least a minimum wide, widened
// to share the width, never past a maximum.
class AdaptiveGrid
{
public:
    struct Layout
    {
        int columns = 1;
        qreal cellWidth = 0;

        bool operator==(const Layout &) const = default;
    };

    // At least one column, even where not even one of the minimum fits; then the cell is as
    // wide as the width (never negative). Width left over past the maximum stays outside the
    // cells, which the grid centres.
    static Layout layout(qreal width, qreal minimum, qreal maximum, qreal spacing);
};
