#pragma once

#include <cairo.h>

#include <vector>

namespace zelto::render {

// Normalised weights of a Gaussian of standard deviation `sigma` pixels,
// sampled at whole pixels out to three standard deviations on each side (an
// odd count, centre in the middle). A sigma of zero or less gives {1}.
std::vector<double> gaussianKernel(double sigma);

// The alpha of the A8 image surface `source` blurred with a Gaussian of
// standard deviation `sigma` pixels, as a new A8 surface of the same size
// (the caller destroys it). Pixels outside the surface count as
// transparent. Runs pixman's separable convolution filter twice, once per
// axis, so each pass costs one kernel length per pixel.
cairo_surface_t* gaussianBlurredAlpha(cairo_surface_t* source, double sigma);

}  // namespace zelto::render
