#include "charts/ImageCanvas.h"

#include "charts/ReportText.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace corvane {

namespace {
// The dashed pen: 6 pixels drawn, 3 left out, continuing along a polyline.
constexpr int kDashOn = 6;
constexpr int kDashPeriod = 9;
} // namespace

QFont ChartFont()
{
    // Where the face itself is missing, a narrow sans face of similar metrics stands in.
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("DejaVu Sans Condensed"),
                                    QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans")});
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

ImageCanvas::ImageCanvas() : ImageCanvas(kSurfaceWidth, kSurfaceHeight) {}

ImageCanvas::ImageCanvas(int width, int height) : m_image(width, height, QImage::Format_RGB32), m_font(ChartFont())
{
    m_image.fill(Qt::white);
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom, Rgb colour)
{
    if (top > bottom)
        std::swap(top, bottom);
    if (left > right)
        std::swap(left, right);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_image.width());
    bottom = std::min(bottom, m_image.height());
    const QRgb pixel = 0xff000000u | colour;
    for (int y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        std::fill(line + left, line + right, pixel);
    }
}

void ImageCanvas::SetPen(Rgb colour, PenStyle style)
{
    m_pen = colour;
    m_style = style;
    m_dashPhase = 0;
}

void ImageCanvas::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
}

void ImageCanvas::Plot(int x, int y)
{
    const bool drawn = m_style == PenStyle::Solid || m_dashPhase < kDashOn;
    m_dashPhase = (m_dashPhase + 1) % kDashPeriod;
    if (drawn && x >= 0 && y >= 0 && x < m_image.width() && y < m_image.height())
        reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = 0xff000000u | m_pen;
}

// Bresenham's line from the current point, covering the start point and leaving out the end point.
void ImageCanvas::LineTo(int x, int y)
{
    const int dx = std::abs(x - m_x);
    const int dy = -std::abs(y - m_y);
    const int stepX = m_x < x ? 1 : -1;
    const int stepY = m_y < y ? 1 : -1;
    int error = dx + dy;
    int px = m_x;
    int py = m_y;
    while (px != x || py != y) {
        Plot(px, py);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            px += stepX;
        }
        if (twice <= dx) {
            error += dx;
            py += stepY;
        }
    }
    m_x = x;
    m_y = y;
}

void ImageCanvas::TextOut(int x, int y, std::string_view text)
{
    QPainter painter(&m_image);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    const QString decoded = DecodeReportText(text, m_codePage);
    const QFontMetrics metrics(m_font);
    painter.fillRect(QRect(x, y, metrics.horizontalAdvance(decoded), metrics.height()), Qt::white);
    painter.drawText(QPoint(x, y + metrics.ascent()), decoded);
}

} // namespace corvane
