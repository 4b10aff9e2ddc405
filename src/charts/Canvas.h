#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

enum class PenStyle
{
    Solid,
    Dashed,
};

/**
 * The drawing surface the charts draw on, with the pixel rules the charts rely on:
 * a filled rectangle covers its left and top edge but not its right and bottom edge (rectangles given
 * with top below bottom are taken with the smaller y as the top); a line is 1 pixel wide and covers
 * its start point but not its end point; text stands on an opaque white box whose top-left corner is
 * the given point.
 */
class Canvas
{
public:
    virtual ~Canvas() = default;

    virtual void FillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
    virtual void SetPen(Rgb colour, PenStyle style) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // Draws from the current point to (x, y), which becomes the current point.
    virtual void LineTo(int x, int y) = 0;
    // Text in the surface's default font, black on white. `text` is in the report's bytes.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
};

inline constexpr Rgb kWhite = 0xffffff;

// The chart surface: 809 x 217 pixels, of which the chart area shows the left 809 (wide layout)
// or 689 (narrow layout).
inline constexpr int kSurfaceWidth = 809;
inline constexpr int kSurfaceHeight = 217;
inline constexpr int kWideWidth = 809;
inline constexpr int kNarrowWidth = 689;

} // namespace corvane
