#pragma once

#include "charts/Canvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

// What a chart drew, as texts to compare: a filled rectangle as "left,top-right,bottom #rrggbb" with the
// smaller y as the top, a line as "x1,y1-x2,y2 #rrggbb solid" (or dashed) and a text as "x,y text".
std::string Box(int left, int top, int right, int bottom, Rgb colour);
std::string Stroke(int x1, int y1, int x2, int y2, Rgb colour, PenStyle style = PenStyle::Solid);
std::string Label(int x, int y, std::string_view text);

/**
 * A drawing surface that keeps every primitive as data, so that chart tests can state the exact
 * rectangles, lines, colours and texts of a drawing without looking at pixels (glyph pixels depend on
 * the fonts installed).
 */
class RecordingCanvas : public Canvas
{
public:
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void SetPen(Rgb colour, PenStyle style) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;

    // One letter per call, in the order made: F(illRect), P(en), M(oveTo), L(ineTo), T(extOut).
    const std::string& Calls() const { return m_calls; }
    // The rectangles that cover at least one pixel; the lines, each with the pen set last before it; the
    // texts.
    const std::vector<std::string>& Fills() const { return m_fills; }
    const std::vector<std::string>& Segments() const { return m_segments; }
    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    std::string m_calls;
    std::vector<std::string> m_fills, m_segments, m_texts;
    int m_x = 0, m_y = 0;
    Rgb m_colour = 0;
    PenStyle m_style = PenStyle::Solid;
};

} // namespace corvane::test
