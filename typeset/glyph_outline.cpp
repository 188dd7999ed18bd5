#include "glyph_outline.h"

#include <hb.h>

#include <algorithm>
#include <charconv>
#include <memory>

namespace tavrel {

namespace {

using Commands = std::vector<PathCommand>;

void Add(Commands& out, PathVerb verb, std::initializer_list<float> xy) {
    if (out.size() >= kMaxPathCommands) return;
    PathCommand command{verb};
    int i = 0;
    for (auto it = xy.begin(); it != xy.end(); it += 2, ++i) {
        command.x[i] = it[0];
        command.y[i] = it[1];
    }
    out.push_back(command);
}

Commands& Out(void* data) { return *static_cast<Commands*>(data); }

void MoveTo(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x, float y, void*) {
    Add(Out(data), PathVerb::MoveTo, {x, y});
}
void LineTo(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x, float y, void*) {
    Add(Out(data), PathVerb::LineTo, {x, y});
}
void QuadraticTo(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float cx, float cy, float x, float y, void*) {
    Add(Out(data), PathVerb::QuadraticTo, {cx, cy, x, y});
}
void CubicTo(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float c1x, float c1y, float c2x, float c2y, float x,
             float y, void*) {
    Add(Out(data), PathVerb::CubicTo, {c1x, c1y, c2x, c2y, x, y});
}
void ClosePath(hb_draw_funcs_t*, void* data, hb_draw_state_t*, void*) { Add(Out(data), PathVerb::Close, {}); }

// One set of callbacks for the process, made on first use.
hb_draw_funcs_t* OutlineFuncs() {
    static hb_draw_funcs_t* const funcs = [] {
        hb_draw_funcs_t* made = hb_draw_funcs_create();
        hb_draw_funcs_set_move_to_func(made, MoveTo, nullptr, nullptr);
        hb_draw_funcs_set_line_to_func(made, LineTo, nullptr, nullptr);
        hb_draw_funcs_set_quadratic_to_func(made, QuadraticTo, nullptr, nullptr);
        hb_draw_funcs_set_cubic_to_func(made, CubicTo, nullptr, nullptr);
        hb_draw_funcs_set_close_path_func(made, ClosePath, nullptr, nullptr);
        hb_draw_funcs_make_immutable(made);
        return made;
    }();
    return funcs;
}

int PointsOf(PathVerb verb) {
    switch (verb) {
        case PathVerb::MoveTo:
        case PathVerb::LineTo: return 1;
        case PathVerb::QuadraticTo: return 2;
        case PathVerb::CubicTo: return 3;
        case PathVerb::Close: break;
    }
    return 0;
}

void AppendNumber(std::string& out, float value) {
    char text[32];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

std::vector<PathCommand> DrawGlyphOutline(const ShapingFace& face, std::uint32_t glyph) {
    Commands outline;
    if (glyph < face.GlyphCount()) hb_font_get_glyph_shape(face.Font(), glyph, OutlineFuncs(), &outline);
    return outline;
}

std::optional<OutlineBounds> OutlineBoundsOf(const std::vector<PathCommand>& outline) {
    std::optional<OutlineBounds> bounds;
    for (const PathCommand& command : outline) {
        for (int i = 0; i < PointsOf(command.verb); ++i) {
            const float x = command.x[i], y = command.y[i];
            if (!bounds) bounds = OutlineBounds{x, y, x, y};
            bounds = OutlineBounds{std::min(bounds->xMin, x), std::min(bounds->yMin, y), std::max(bounds->xMax, x),
                                   std::max(bounds->yMax, y)};
        }
    }
    return bounds;
}

std::string OutlineSvg(const std::vector<PathCommand>& outline) {
    const OutlineBounds box = OutlineBoundsOf(outline).value_or(OutlineBounds{});
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"";
    for (float value : {box.xMin, box.yMax == 0 ? 0.0f : -box.yMax, box.xMax - box.xMin, box.yMax - box.yMin}) {
        AppendNumber(svg, value);
        svg += ' ';
    }
    svg.back() = '"';
    svg += " width=\"";
    AppendNumber(svg, box.xMax - box.xMin);
    svg += "\" height=\"";
    AppendNumber(svg, box.yMax - box.yMin);
    svg += "\">\n<path d=\"";
    static constexpr char kLetters[] = {'M', 'L', 'Q', 'C', 'Z'};
    for (const PathCommand& command : outline) {
        svg += kLetters[static_cast<int>(command.verb)];
        for (int i = 0; i < PointsOf(command.verb); ++i) {
            AppendNumber(svg, command.x[i]);
            svg += ' ';
            AppendNumber(svg, command.y[i] == 0 ? 0.0f : -command.y[i]);  // SVG's y runs down
            svg += ' ';
        }
        if (svg.back() == ' ') svg.pop_back();
    }
    svg += "\"/>\n</svg>\n";
    return svg;
}

}  // namespace tavrel
