// The window's size: the controls' places in a window grown beyond its first size.
#include "app/MainWindow.h"

#include "app/ChartWidget.h"
#include "app/GridSelection.h"
#include "app/WindowRules.h"
#include "charts/EquityCurve.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

namespace corvane {

QRect GrownPlace(const ControlPlace& place, QSize growth)
{
    const int chart = ChartAreaGrowth(growth.height());
    QRect grown(place.Left, place.Top, place.Width, place.Height);
    switch (place.Grows) {
    case Anchor::TopLeft:
        break;
    case Anchor::TopRight:
        grown.translate(growth.width(), 0);
        break;
    case Anchor::ChartArea:
        grown.adjust(0, 0, growth.width(), chart);
        break;
    case Anchor::List:
        grown.adjust(0, 0, 0, chart);
        break;
    case Anchor::Grid:
        grown.adjust(0, chart, growth.width(), growth.height());
        break;
    }
    return grown;
}

QSize TMainForm::Growth() const
{
    return (size() - QSize(kClientWidth, kClientHeight)).expandedTo(QSize(0, 0));
}

void TMainForm::PlaceControls()
{
    const QSize growth = Growth();
    if (growth == m_placedGrowth)
        return;
    m_placedGrowth = growth;
    for (int i = 0; i < kControlPlaceCount; ++i) {
        const ControlPlace& place = kControlPlaces[i];
        if (place.Grows == Anchor::ChartArea)
            continue; // placed below, in the arrangement it has now
        if (auto* control = findChild<QWidget*>(QString::fromLatin1(place.Name)))
            control->setGeometry(GrownPlace(place, growth));
    }
    if (PlaceChartArea(Image1->x() == kNarrowArea.Left))
        RedrawChartArea();
    FitGridColumns();
}

bool TMainForm::PlaceChartArea(bool listShown)
{
    const ChartArea area = AreaForMagicList(listShown);
    const QRect place = GrownPlace({"", area.Left, kChartTop, area.Width, kSurfaceHeight, Anchor::ChartArea}, Growth());
    const bool changed = Image1->geometry() != place;
    Memo1->setGeometry(place);
    Image1->setGeometry(place);
    return changed;
}

void TMainForm::RedrawChartArea()
{
    // The surface is as wide as the wide arrangement, so that the picture Export html saves is the same
    // in both.
    const QSize surface =
        QSize(kSurfaceWidth, kSurfaceHeight) + QSize(Growth().width(), Image1->height() - kSurfaceHeight);
    if (m_canvas.Image().size() != surface)
        m_canvas.Resize(surface.width(), surface.height());
    DrawChartFrame(m_canvas, Image1->width(), Image1->height());
    ChartRefresh();
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RunCommand([this] { PlaceControls(); });
}

} // namespace corvane
