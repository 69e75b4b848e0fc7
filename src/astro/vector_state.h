#pragma once

namespace zorva {

// Qt's raster painting can leave the upper halves of the AVX registers in use. Until they
// are cleared, every SSE instruction of the trigonometry pays a transition penalty, and a
// diagram or table is computed about ten times slower. Long calculations call this first;
// it costs a few cycles and does nothing on processors without AVX.
void ClearUpperVectorState();

}  // namespace zorva
