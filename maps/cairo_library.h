#pragma once

// Cairo's C API, loaded when a picture is first drawn rather than at program
// start: Cairo brings fontconfig, FreeType, pixman and libpng, whose loading
// every point-file run would otherwise pay. Internal to maps/.

#include <cairo-svg.h>
#include <cairo.h>

#include "common/result.h"

namespace tervela::maps_internal {

// The functions of Cairo that the picture calls, without their "cairo_".
#define TERVELA_CAIRO_FUNCTIONS(X) \
  X(arc) \
  X(close_path) \
  X(create) \
  X(destroy) \
  X(fill) \
  X(image_surface_create) \
  X(line_to) \
  X(move_to) \
  X(paint) \
  X(rectangle) \
  X(select_font_face) \
  X(set_dash) \
  X(set_font_size) \
  X(set_line_width) \
  X(set_source_rgb) \
  X(set_source_surface) \
  X(show_text) \
  X(status) \
  X(status_to_string) \
  X(stroke) \
  X(surface_destroy) \
  X(surface_finish) \
  X(surface_status) \
  X(surface_write_to_png_stream) \
  X(svg_surface_create_for_stream) \
  X(text_extents)

// One pointer per function: Cairo().move_to is cairo_move_to.
struct CairoLibrary {
#define TERVELA_CAIRO_POINTER(name) decltype(&::cairo_##name) name = nullptr;
  TERVELA_CAIRO_FUNCTIONS(TERVELA_CAIRO_POINTER)
#undef TERVELA_CAIRO_POINTER
};

// Loads the library and finds every function, once per program (safe from
// any thread). The error says what failed.
Status LoadCairo();

// The library loaded by LoadCairo(), which must have succeeded.
const CairoLibrary& Cairo();

}  // namespace tervela::maps_internal
