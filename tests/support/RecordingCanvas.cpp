#include "RecordingCanvas.h"

#include <algorithm>
#include <cstdio>

namespace corvane::test {

namespace {

std::string Point(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

std::string Colour(Rgb colour)
{
    char text[16];
    std::snprintf(text, sizeof text, " #%06x", static_cast<unsigned>(colour));
    return text;
}

} // namespace

std::string Box(int left, int top, int right, int bottom, Rgb colour)
{
    return Point(left, top) + "-" + Point(right, bottom) + Colour(colour);
}

std::string Stroke(int x1, int y1, int x2, int y2, Rgb colour, PenStyle style)
{
    return Point(x1, y1) + "-" + Point(x2, y2) + Colour(colour) + (style == PenStyle::Solid ? " solid" : " dashed");
}

std::string Label(int x, int y, std::string_view text)
{
    return Point(x, y) + " " + std::string(text);
}

void RecordingCanvas::FillRect(int left, int top, int right, int bottom, Rgb colour)
{
    m_calls += 'F';
    if (left != right && top != bottom)
        m_fills.push_back(
            Box(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom), colour));
}

void RecordingCanvas::SetPen(Rgb colour, PenStyle style)
{
    m_calls += 'P';
    m_colour = colour;
    m_style = style;
}

void RecordingCanvas::MoveTo(int x, int y)
{
    m_calls += 'M';
    m_x = x;
    m_y = y;
}

void RecordingCanvas::LineTo(int x, int y)
{
    m_calls += 'L';
    m_segments.push_back(Stroke(m_x, m_y, x, y, m_colour, m_style));
    m_x = x;
    m_y = y;
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text)
{
    m_calls += 'T';
    m_texts.push_back(Label(x, y, text));
}

} // namespace corvane::test
