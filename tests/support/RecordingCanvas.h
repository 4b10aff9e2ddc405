#pragma once

#include "Canvas.h"

#include <ostream>
#include <string>
#include <vector>

namespace corvane::test {

/**
 * A drawing surface that keeps every primitive as data, so that chart tests can state the exact
 * rectangles, lines, colours and texts of a drawing without looking at pixels (glyph pixels depend on
 * the fonts installed).
 */
struct Primitive
{
    enum class Kind
    {
        FillRect,
        SetPen,
        MoveTo,
        LineTo,
        TextOut,
    };

    Kind What = Kind::MoveTo;
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0; // FillRect only: right and bottom edge (both left out of the rectangle)
    int Y2 = 0;
    Rgb Colour = 0;                   // FillRect and SetPen
    PenStyle Style = PenStyle::Solid; // SetPen
    std::string Text{};               // TextOut

    bool operator==(const Primitive&) const = default;
};

// A filled rectangle as the surface takes it: the smaller y is the top, the smaller x the left.
struct Fill
{
    int Left;
    int Top;
    int Right;
    int Bottom;
    Rgb Colour;

    bool operator==(const Fill&) const = default;
};

// One line drawn, from the current point to the end point, with the pen in force at that moment.
struct Segment
{
    int X1;
    int Y1;
    int X2;
    int Y2;
    Rgb Colour;
    PenStyle Style;

    bool operator==(const Segment&) const = default;
};

struct Text
{
    int X;
    int Y;
    std::string Value;

    bool operator==(const Text&) const = default;
};

class RecordingCanvas : public Canvas
{
public:
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void SetPen(Rgb colour, PenStyle style) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;

    // Every call in the order it was made.
    const std::vector<Primitive>& Primitives() const { return m_primitives; }
    // The rectangles that cover at least one pixel, normalised, in drawing order.
    std::vector<Fill> Fills() const;
    // The lines in drawing order, each with the pen colour and style set last before it.
    std::vector<Segment> Segments() const;
    std::vector<Text> Texts() const;

private:
    std::vector<Primitive> m_primitives;
};

void PrintTo(const Primitive& primitive, std::ostream* out);
void PrintTo(const Fill& fill, std::ostream* out);
void PrintTo(const Segment& segment, std::ostream* out);
void PrintTo(const Text& text, std::ostream* out);

} // namespace corvane::test
