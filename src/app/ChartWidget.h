#pragma once

#include "charts/ImageCanvas.h"

#include <QWidget>

namespace corvane {

// The chart area: shows the left part of the chart surface, as wide as the area itself.
class ChartWidget : public QWidget
{
public:
    ChartWidget(const ImageCanvas& canvas, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ImageCanvas& m_canvas;
};

} // namespace corvane
