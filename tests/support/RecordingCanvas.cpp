#include "RecordingCanvas.h"

#include <algorithm>
#include <iomanip>

namespace corvane::test {

namespace {

void PrintColour(Rgb colour, std::ostream* out)
{
    *out << '#' << std::hex << std::uppercase << std::setw(6) << std::setfill('0') << colour << std::dec
         << std::setfill(' ');
}

const char* StyleName(PenStyle style)
{
    return style == PenStyle::Solid ? "solid" : "dashed";
}

} // namespace

void RecordingCanvas::FillRect(int left, int top, int right, int bottom, Rgb colour)
{
    m_primitives.push_back({.What = Primitive::Kind::FillRect,
                            .X1 = left,
                            .Y1 = top,
                            .X2 = right,
                            .Y2 = bottom,
                            .Colour = colour});
}

void RecordingCanvas::SetPen(Rgb colour, PenStyle style)
{
    m_primitives.push_back({.What = Primitive::Kind::SetPen, .Colour = colour, .Style = style});
}

void RecordingCanvas::MoveTo(int x, int y)
{
    m_primitives.push_back({.What = Primitive::Kind::MoveTo, .X1 = x, .Y1 = y});
}

void RecordingCanvas::LineTo(int x, int y)
{
    m_primitives.push_back({.What = Primitive::Kind::LineTo, .X1 = x, .Y1 = y});
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text)
{
    m_primitives.push_back({.What = Primitive::Kind::TextOut, .X1 = x, .Y1 = y, .Text = std::string(text)});
}

std::vector<Fill> RecordingCanvas::Fills() const
{
    std::vector<Fill> fills;
    for (const Primitive& p : m_primitives) {
        if (p.What != Primitive::Kind::FillRect || p.X1 == p.X2 || p.Y1 == p.Y2) continue;
        fills.push_back({std::min(p.X1, p.X2), std::min(p.Y1, p.Y2), std::max(p.X1, p.X2),
                         std::max(p.Y1, p.Y2), p.Colour});
    }
    return fills;
}

std::vector<Segment> RecordingCanvas::Segments() const
{
    std::vector<Segment> segments;
    int x = 0, y = 0;
    Rgb colour = 0;
    PenStyle style = PenStyle::Solid;
    for (const Primitive& p : m_primitives) {
        if (p.What == Primitive::Kind::SetPen) {
            colour = p.Colour;
            style = p.Style;
        } else if (p.What == Primitive::Kind::MoveTo || p.What == Primitive::Kind::LineTo) {
            if (p.What == Primitive::Kind::LineTo) segments.push_back({x, y, p.X1, p.Y1, colour, style});
            x = p.X1;
            y = p.Y1;
        }
    }
    return segments;
}

std::vector<Text> RecordingCanvas::Texts() const
{
    std::vector<Text> texts;
    for (const Primitive& p : m_primitives)
        if (p.What == Primitive::Kind::TextOut) texts.push_back({p.X1, p.Y1, p.Text});
    return texts;
}

void PrintTo(const Primitive& p, std::ostream* out)
{
    switch (p.What) {
    case Primitive::Kind::FillRect:
        *out << "FillRect(" << p.X1 << ", " << p.Y1 << ", " << p.X2 << ", " << p.Y2 << ", ";
        PrintColour(p.Colour, out);
        *out << ')';
        break;
    case Primitive::Kind::SetPen:
        *out << "SetPen(";
        PrintColour(p.Colour, out);
        *out << ", " << StyleName(p.Style) << ')';
        break;
    case Primitive::Kind::MoveTo:
        *out << "MoveTo(" << p.X1 << ", " << p.Y1 << ')';
        break;
    case Primitive::Kind::LineTo:
        *out << "LineTo(" << p.X1 << ", " << p.Y1 << ')';
        break;
    case Primitive::Kind::TextOut:
        *out << "TextOut(" << p.X1 << ", " << p.Y1 << ", \"" << p.Text << "\")";
        break;
    }
}

void PrintTo(const Fill& f, std::ostream* out)
{
    *out << "Fill(" << f.Left << ", " << f.Top << ")-(" << f.Right << ", " << f.Bottom << ") ";
    PrintColour(f.Colour, out);
}

void PrintTo(const Segment& s, std::ostream* out)
{
    *out << "Line(" << s.X1 << ", " << s.Y1 << ")->(" << s.X2 << ", " << s.Y2 << ") ";
    PrintColour(s.Colour, out);
    *out << ' ' << StyleName(s.Style);
}

void PrintTo(const Text& t, std::ostream* out)
{
    *out << "Text(" << t.X << ", " << t.Y << ", \"" << t.Value << "\")";
}

} // namespace corvane::test
