#pragma once

#include "charts/Canvas.h"

#include <QFont>
#include <QImage>

#include <string>

namespace corvane {

/**
 * The chart surface as a persistent 809 x 217 image. Fills and lines are set pixel by pixel so that
 * the edge rules hold exactly (a painter's 1-pixel line covers both ends, or drops its last pixel
 * whatever the direction); text is drawn with a painter.
 */
class ImageCanvas : public Canvas
{
public:
    ImageCanvas();
    // A surface of another size, for pictures other than the chart area's.
    ImageCanvas(int width, int height);

    const QImage& Image() const { return m_image; }
    // The code page the report's text bytes are decoded from when drawn.
    void SetCodePage(const std::string& codePage) { m_codePage = codePage; }

    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void SetPen(Rgb colour, PenStyle style) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;

private:
    void Plot(int x, int y);

    QImage m_image;
    QFont m_font;
    std::string m_codePage = "windows-1252";
    Rgb m_pen = 0;
    PenStyle m_style = PenStyle::Solid;
    int m_dashPhase = 0;
    int m_x = 0;
    int m_y = 0;
};

// The surface's default font: "MS Sans Serif" at 8 points where installed, else a close sans face.
QFont ChartFont();

} // namespace corvane
