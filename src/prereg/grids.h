#pragma once
// Column widths of the pre-registration windows' grids.

namespace tavrin {
class DBGrid;
}

namespace tavrin::prereg {

// Widens every column to its title and the texts of the first rows, within
// least..most pixels.  Measured from the texts, so that it works before the
// grid is laid out.  Also lowers the header's least section width, which the
// style takes from the widest glyph of the Persian font (near 100 pixels).
void fitColumnsToTexts(DBGrid* grid, int least = 60, int most = 240);

} // namespace tavrin::prereg
