// The window's size and place: the controls' places in a window grown beyond its first size, and the
// place it is shown at and remembered in.
#include "app/MainWindow.h"

#include "app/ChartWidget.h"
#include "app/GridSelection.h"
#include "app/WindowRules.h"
#include "app/WindowSettings.h"
#include "charts/EquityCurve.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
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
    if (m_shown)
        m_placeTimer->start();
}

void TMainForm::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (m_shown)
        m_placeTimer->start();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    RememberPlace();
    QWidget::closeEvent(event);
}

void TMainForm::RememberPlace()
{
    m_placeTimer->stop();
    if (m_shown)
        m_settings.SetPlace({normalGeometry(), isMaximized()});
}

void TMainForm::ShowAtRememberedPlace()
{
    const std::optional<WindowPlace> place = m_settings.Place();
    QList<QRect> screens;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            screens << screen->availableGeometry();
    if (place && !screens.isEmpty()) {
        setGeometry(PlaceOnScreens(place->Normal, screens, minimumSize()));
        if (place->Maximized)
            showMaximized();
        else
            show();
    } else {
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        show();
    }
    // The keys work from the start, also where no window manager gives a new window the focus.
    activateWindow();
}

} // namespace corvane
