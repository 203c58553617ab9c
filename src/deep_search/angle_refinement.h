#pragma once
// The angle of a located region made exact on the picture itself: the edge
// map's gradients are taken over two pixels, which pulls thin bars a few
// degrees toward the pixel grid, enough for a long Code 39 symbol to slide
// off its bars before a line across it ends.
#include "deep_search/geometry.h"
#include "deep_search/region_locating.h"

namespace tagmora::deep {

// region turned by the few degrees that make its bars line up best along
// their length.
Region RefineAngle(const GreyImage& image, const Region& region);

}  // namespace tagmora::deep
