#include "prereg/grids.h"

#include "common/listmodel.h"

#include <QHeaderView>

#include <algorithm>

namespace tavrin::prereg {

void fitColumnsToTexts(DBGrid* grid, int least, int most)
{
    ListModel* m = grid->listModel();
    grid->horizontalHeader()->setMinimumSectionSize(std::min(least, 40));
    const QFontMetrics cells = grid->fontMetrics();
    const QFontMetrics titles = grid->horizontalHeader()->fontMetrics();
    const int rows = std::min(m->rowCount(), 50);
    for (int c = 0; c < m->columnCount(); ++c) {
        int width = titles.horizontalAdvance(m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        for (int r = 0; r < rows; ++r)
            width = std::max(width, cells.horizontalAdvance(m->data(m->index(r, c), Qt::DisplayRole).toString()));
        grid->setColumnWidth(c, std::clamp(width + 24, least, most));
    }
}

} // namespace tavrin::prereg
