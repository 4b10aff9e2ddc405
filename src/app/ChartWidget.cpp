#include "app/ChartWidget.h"

#include <QPainter>

namespace corvane {

ChartWidget::ChartWidget(const ImageCanvas& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_canvas.Image(), QRect(0, 0, width(), height()));
}

} // namespace corvane
