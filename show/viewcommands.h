#pragma once

namespace curvana {

class TCoordinate;

// The settings changes of the pan, zoom and centre commands, without the refresh. Sums and
// products are formed in extended precision and stored as doubles; a result that does not fit
// a double throws EOverflow and leaves every setting as it was.

// One tick step: x by XAxesTicksStep, y by YAxesTicksStep.
void MoveLeft(TCoordinate& view);
void MoveRight(TCoordinate& view);
void MoveUp(TCoordinate& view);
void MoveDown(TCoordinate& view);

// Half the width (or height) of the visible interval.
void MoveLeftMore(TCoordinate& view);
void MoveRightMore(TCoordinate& view);
void MoveUpMore(TCoordinate& view);
void MoveDownMore(TCoordinate& view);

// Each interval keeps its width and gets the origin in its middle; an interval of width 0 stays.
void ViewCenter(TCoordinate& view);

// Zoom about the world origin: interval ends, tick and label steps of one axis times or divided
// by 2, with the grid step across that axis (GridVerStep for x, GridHorStep for y) only while
// that grid is enabled.
void ExpandHor(TCoordinate& view);
void ExpandVer(TCoordinate& view);
void ContractHor(TCoordinate& view);
void ContractVer(TCoordinate& view);

// GridRadialStep times or divided by 2 while the radial grid is enabled (the first step of the
// zooms of both axes).
void ExpandRadialGrid(TCoordinate& view);
void ContractRadialGrid(TCoordinate& view);

} // namespace curvana
