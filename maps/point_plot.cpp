// The picture of a run's points, drawn with Cairo's vector API onto an SVG
// or PNG surface whose bytes go through the run's buffered writer.

#include "maps/point_plot.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <numbers>
#include <stdexcept>

#include "common/number_text.h"
#include "maps/cairo_library.h"
#include "maps/label_places.h"
#include "maps/map_text.h"

namespace tervela {

namespace {

using maps_internal::Cairo;

constexpr std::size_t kBufferSize = 64 * 1024;
// Points whose names are kept: the picture labels every point up to this
// many, and only the far ones beyond.
constexpr std::size_t kNamedPoints = 100;
// The characters of a name a label shows, and of the system's name the title
// shows: a longer one is cut, so that a huge name costs Cairo no more.
constexpr std::size_t kLabelCharacters = 40;
constexpr std::size_t kTitleCharacters = 80;
// Grid lines in each direction at most, whatever the values: about seven are
// drawn, and a step too small to change values as large as the grid's (a
// false easting of 1e20 m) must not draw more.
constexpr long kMaxGridLines = 20;
// Points an SVG draws as vector dots; more go in as one image.
constexpr std::size_t kVectorPoints = 20000;

// The drawing area inside the picture, in pixels; the margins hold the title
// and the grid values.
constexpr double kLeft = 90, kTop = 40, kRight = 20, kBottom = 50;
constexpr double kAreaWidth = PointPlot::kWidth - kLeft - kRight;
constexpr double kAreaHeight = PointPlot::kHeight - kTop - kBottom;
// The least width and height shown, in metres, and the room around the points.
constexpr double kLeastSpan = 100;
constexpr double kPadding = 1.15;
constexpr double kFontSize = 11;
// The line height of labels and their ascent and descent, in pixels.
constexpr double kLabelLine = 13, kLabelAscent = 9, kLabelDescent = 3;

// 1, 2 or 5 times a power of ten: the nearest such step not below `wanted`.
double NiceStep(double wanted) {
  const double power = std::pow(10.0, std::floor(std::log10(wanted)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= wanted) return factor * power;
  }
  return 10 * power;
}

std::string Metres(double value) { return FormatFixed(value, 0, '.'); }

std::string Length(double metres) {
  return metres >= 1000 ? FormatFixed(metres / 1000, 0, '.') + " km" : Metres(metres) + " m";
}

struct CairoDeleter {
  void operator()(cairo_surface_t* surface) const { Cairo().surface_destroy(surface); }
  void operator()(cairo_t* cr) const { Cairo().destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, CairoDeleter>;
using Context = std::unique_ptr<cairo_t, CairoDeleter>;

// Where Cairo's stream output goes: the writer, until a write fails.
struct StreamTarget {
  io::BufferedWriter& file;
  Status status;
};

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
  auto& target = *static_cast<StreamTarget*>(closure);
  if (target.status) target.status = target.file.Write({reinterpret_cast<const char*>(data), length});
  return target.status ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// A failure of Cairo's own: memory, or a fault of this drawing.
void ThrowOnFailure(cairo_status_t status) {
  if (status == CAIRO_STATUS_SUCCESS || status == CAIRO_STATUS_WRITE_ERROR) return;
  if (status == CAIRO_STATUS_NO_MEMORY) throw std::bad_alloc();
  throw std::runtime_error(std::string("Cairo: ") + Cairo().status_to_string(status));
}

// Grid metres to picture pixels: the points' extent, padded, centred in the
// drawing area at one scale for both axes.
class View {
 public:
  View(const std::vector<TGridPoint>& points, double central_easting) {
    double min_e = central_easting, max_e = central_easting, min_n = 0, max_n = 0;
    if (!points.empty()) {
      min_e = max_e = points.front().easting;
      min_n = max_n = points.front().northing;
    }
    for (const TGridPoint& p : points) {
      min_e = std::min(min_e, p.easting);
      max_e = std::max(max_e, p.easting);
      min_n = std::min(min_n, p.northing);
      max_n = std::max(max_n, p.northing);
    }
    metres_per_pixel_ = std::max({(max_e - min_e) * kPadding / kAreaWidth,
                                  (max_n - min_n) * kPadding / kAreaHeight,
                                  kLeastSpan / std::min(kAreaWidth, kAreaHeight)});
    west_ = (min_e + max_e) / 2 - kAreaWidth / 2 * metres_per_pixel_;
    south_ = (min_n + max_n) / 2 - kAreaHeight / 2 * metres_per_pixel_;
  }

  double X(double easting) const { return kLeft + (easting - west_) / metres_per_pixel_; }
  double Y(double northing) const { return kTop + kAreaHeight - (northing - south_) / metres_per_pixel_; }
  double West() const { return west_; }
  double East() const { return west_ + kAreaWidth * metres_per_pixel_; }
  double South() const { return south_; }
  double North() const { return south_ + kAreaHeight * metres_per_pixel_; }
  double MetresPerPixel() const { return metres_per_pixel_; }

 private:
  double metres_per_pixel_;
  double west_, south_;
};

void SetColour(cairo_t* cr, unsigned rgb) {
  Cairo().set_source_rgb(cr, (rgb >> 16) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// `text` (UTF-8) with its reference point at (x, y); `align` 0 left, 0.5
// centred, 1 right.
void Text(cairo_t* cr, double x, double y, const std::string& text, double align = 0) {
  cairo_text_extents_t extents;
  Cairo().text_extents(cr, text.c_str(), &extents);
  Cairo().move_to(cr, x - align * extents.x_advance, y);
  Cairo().show_text(cr, text.c_str());
}

// A point's name where `places` finds room for it near the point; none
// where there is none.
void Label(cairo_t* cr, LabelPlaces& places, double x, double y, const std::string& name) {
  cairo_text_extents_t extents;
  Cairo().text_extents(cr, name.c_str(), &extents);
  if (const std::optional<LabelPlaces::Baseline> at = places.Place(x, y, extents.x_advance)) {
    Text(cr, at->x, at->y, name);
  }
}

void Line(cairo_t* cr, double x1, double y1, double x2, double y2) {
  Cairo().move_to(cr, x1, y1);
  Cairo().line_to(cr, x2, y2);
  Cairo().stroke(cr);
}

// The multiples of `step` from `low` to `high`, at most kMaxGridLines of them.
long GridLineCount(double low, double high, double step) {
  const double count = std::floor(high / step) - std::ceil(low / step) + 1;
  return count >= 1 ? static_cast<long>(std::min(count, static_cast<double>(kMaxGridLines))) : 0;
}

// The easting and northing lines about seven to a side, their values in the
// margins.
void DrawGrid(cairo_t* cr, const View& view) {
  const double step = NiceStep(std::max(kAreaWidth, kAreaHeight) * view.MetresPerPixel() / 7);
  Cairo().set_line_width(cr, 1);
  const double first_east = std::ceil(view.West() / step);
  for (long i = 0, count = GridLineCount(view.West(), view.East(), step); i < count; ++i) {
    const double value = (first_east + static_cast<double>(i)) * step;
    const double x = view.X(value);
    SetColour(cr, 0xD0D0D0);
    Line(cr, x, kTop, x, kTop + kAreaHeight);
    SetColour(cr, 0x404040);
    Text(cr, x, kTop + kAreaHeight + 15, Metres(value), 0.5);
  }
  const double first_north = std::ceil(view.South() / step);
  for (long i = 0, count = GridLineCount(view.South(), view.North(), step); i < count; ++i) {
    const double value = (first_north + static_cast<double>(i)) * step;
    const double y = view.Y(value);
    SetColour(cr, 0xD0D0D0);
    Line(cr, kLeft, y, kLeft + kAreaWidth, y);
    SetColour(cr, 0x404040);
    Text(cr, kLeft - 6, y + 4, Metres(value), 1);
  }
  Text(cr, kLeft + kAreaWidth / 2, kTop + kAreaHeight + 32, "easting (m)", 0.5);
  Text(cr, 8, kTop - 8, "northing (m)");
  SetColour(cr, 0x808080);
  Cairo().rectangle(cr, kLeft, kTop, kAreaWidth, kAreaHeight);
  Cairo().stroke(cr);
}

// The central meridian is the grid line easting = false easting; off the
// picture, a note says on which side it lies.
void DrawCentralMeridian(cairo_t* cr, const View& view, double central_easting) {
  SetColour(cr, 0x1F5FBF);
  const double x = view.X(central_easting);
  const std::string value = "E " + Metres(central_easting);
  if (x >= kLeft && x <= kLeft + kAreaWidth) {
    const double dashes[] = {6, 4};
    Cairo().set_dash(cr, dashes, 2, 0);
    Cairo().set_line_width(cr, 1.5);
    Line(cr, x, kTop, x, kTop + kAreaHeight);
    Cairo().set_dash(cr, nullptr, 0, 0);
    Text(cr, x + 4, kTop + 14, "central meridian " + value);
  } else {
    const std::string side = x < kLeft ? "west" : "east";
    Text(cr, kLeft + 6, kTop + 14, "central meridian " + value + " lies " + side + " of the picture");
  }
}

// The length a scale bar shows, in metres: about a quarter of the area's width.
double ScaleBarMetres(const View& view) { return NiceStep(kAreaWidth * view.MetresPerPixel() / 4); }

// The scale bar's white box, at the lower left of the area.
TPixelBox ScaleBarBox(const View& view) {
  const double x = kLeft + 16, y = kTop + kAreaHeight - 16;
  return {x - 6, y - 24, x + ScaleBarMetres(view) / view.MetresPerPixel() + 6, y + 8};
}

void DrawScaleBar(cairo_t* cr, const View& view) {
  const double metres = ScaleBarMetres(view);
  const TPixelBox box = ScaleBarBox(view);
  const double x = box.left + 6, y = box.bottom - 8, width = box.right - box.left - 12;
  SetColour(cr, 0xFFFFFF);
  Cairo().rectangle(cr, box.left, box.top, box.right - box.left, box.bottom - box.top);
  Cairo().fill(cr);
  SetColour(cr, 0x000000);
  Cairo().set_line_width(cr, 2);
  Line(cr, x, y, x + width, y);
  Line(cr, x, y - 5, x, y + 5);
  Line(cr, x + width, y - 5, x + width, y + 5);
  Text(cr, x + width / 2, y - 8, Length(metres), 0.5);
}

// An arrow to grid north at the upper right of the area.
constexpr double kArrowX = kLeft + kAreaWidth - 24, kArrowTop = kTop + 30, kArrowBottom = kTop + 70;
// The arrow with its "N".
constexpr TPixelBox kNorthArrowBox{kArrowX - 8, kArrowTop - 16, kArrowX + 8, kArrowBottom};

void DrawNorthArrow(cairo_t* cr) {
  const double x = kArrowX, top = kArrowTop, bottom = kArrowBottom;
  SetColour(cr, 0x000000);
  Cairo().set_line_width(cr, 2);
  Line(cr, x, bottom, x, top + 8);
  Cairo().move_to(cr, x, top);
  Cairo().line_to(cr, x - 6, top + 12);
  Cairo().line_to(cr, x + 6, top + 12);
  Cairo().close_path(cr);
  Cairo().fill(cr);
  Text(cr, x, top - 4, "N", 0.5);
}

// The dots of the points, far ones red. Beyond kVectorPoints an SVG takes
// them as one embedded image, which keeps its size and Cairo's memory
// bounded whatever the number of points.
void DrawDots(cairo_t* cr, const View& view, const std::vector<TGridPoint>& points, const std::vector<bool>& far,
              TPlotFormat format) {
  Surface layer;
  Context layer_context;
  cairo_t* dots = cr;
  if (format == TPlotFormat::Svg && points.size() > kVectorPoints) {
    layer.reset(Cairo().image_surface_create(CAIRO_FORMAT_ARGB32, PointPlot::kWidth, PointPlot::kHeight));
    layer_context.reset(Cairo().create(layer.get()));
    dots = layer_context.get();
  }
  // A dot on a pixel that has one already changes nothing; a far point's
  // always shows.
  std::vector<bool> dotted(static_cast<std::size_t>(PointPlot::kWidth) * PointPlot::kHeight, false);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double x = view.X(points[i].easting), y = view.Y(points[i].northing);
    const auto column = static_cast<std::size_t>(std::clamp(std::lround(x), 0L, PointPlot::kWidth - 1L));
    const auto row = static_cast<std::size_t>(std::clamp(std::lround(y), 0L, PointPlot::kHeight - 1L));
    if (!far[i] && dotted[row * PointPlot::kWidth + column]) continue;
    dotted[row * PointPlot::kWidth + column] = true;
    SetColour(dots, far[i] ? 0xD01010 : 0x202020);
    Cairo().arc(dots, x, y, 3, 0, 2 * std::numbers::pi);
    Cairo().fill(dots);
  }
  if (!layer) return;
  ThrowOnFailure(Cairo().status(dots));
  Cairo().set_source_surface(cr, layer.get(), 0, 0);
  Cairo().paint(cr);
}

}  // namespace

Status PointPlot::LoadCairo() { return maps_internal::LoadCairo(); }

PointPlot::PointPlot(io::FileDescriptor file, TPlotFormat format, TPlotGrid grid)
    : file_(std::move(file), kBufferSize), format_(format), grid_(std::move(grid)) {}

TPlotFormat PointPlot::FormatForName(std::string_view name) {
  if (name.size() < 4) return TPlotFormat::Svg;
  std::string suffix(name.substr(name.size() - 4));
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return suffix == ".png" ? TPlotFormat::Png : TPlotFormat::Svg;
}

Status PointPlot::Add(const TMapFeature& feature) {
  points_.push_back({feature.easting, feature.northing});
  if (names_.size() < kNamedPoints) {
    names_.emplace_back();
    AppendDrawnText(names_.back(), feature.name, kLabelCharacters);
  }
  return {};
}

Status PointPlot::Finish() {
  StreamTarget target{file_, {}};
  Surface surface(format_ == TPlotFormat::Svg
                      ? Cairo().svg_surface_create_for_stream(WriteToFile, &target, kWidth, kHeight)
                      : Cairo().image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight));
  Context context(Cairo().create(surface.get()));
  cairo_t* const cr = context.get();
  SetColour(cr, 0xFFFFFF);
  Cairo().paint(cr);
  Cairo().select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  Cairo().set_font_size(cr, kFontSize);

  const View view(points_, grid_.central_easting);
  DrawGrid(cr, view);
  DrawCentralMeridian(cr, view, grid_.central_easting);

  const std::vector<bool> far = FarApartPoints(points_);
  DrawDots(cr, view, points_, far, format_);
  const bool label_all = points_.size() <= kNamedPoints;
  LabelPlaces places({kLeft, kTop, kLeft + kAreaWidth, kTop + kAreaHeight}, kLabelLine,
                     kLabelAscent, kLabelDescent);
  places.KeepClear(ScaleBarBox(view));
  places.KeepClear(kNorthArrowBox);
  Cairo().set_line_width(cr, 2);
  for (std::size_t i = 0; i < points_.size(); ++i) {
    if (!label_all && !far[i]) continue;
    const double x = view.X(points_[i].easting), y = view.Y(points_[i].northing);
    SetColour(cr, far[i] ? 0xD01010 : 0x606060);
    if (far[i]) {
      Cairo().arc(cr, x, y, 10, 0, 2 * std::numbers::pi);
      Cairo().stroke(cr);
    }
    if (i < names_.size()) Label(cr, places, x, y, names_[i]);
  }

  DrawScaleBar(cr, view);
  DrawNorthArrow(cr);
  const std::size_t far_count = static_cast<std::size_t>(std::count(far.begin(), far.end(), true));
  std::string title;
  AppendDrawnText(title, grid_.title, kTitleCharacters);
  title += " \u2014 " + std::to_string(points_.size()) + (points_.size() == 1 ? " point" : " points");
  if (far_count > 0) title += ", " + std::to_string(far_count) + " far apart (ringed red)";
  SetColour(cr, 0x000000);
  Cairo().set_font_size(cr, 14);
  Text(cr, kLeft, 22, title);

  ThrowOnFailure(Cairo().status(cr));
  context.reset();
  if (format_ == TPlotFormat::Png) {
    ThrowOnFailure(Cairo().surface_write_to_png_stream(surface.get(), WriteToFile, &target));
  } else {
    Cairo().surface_finish(surface.get());
  }
  ThrowOnFailure(Cairo().surface_status(surface.get()));
  surface.reset();
  Status closed = file_.Close();
  return target.status ? closed : target.status;
}

}  // namespace tervela

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig, which Cairo asks for the label font, keeps its configuration
// for the life of the program and never frees it: not a leak of this
// program's, so the leak check of sanitizer builds passes over it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
