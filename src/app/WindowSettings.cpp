#include "app/WindowSettings.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <cstdio>

namespace corvane {

namespace {

const QString kRecentKey = QStringLiteral("recent/reports");
const QString kViewKey = QStringLiteral("window/view");
const QString kPlaceKey = QStringLiteral("window/place");
const QString kMaximizedKey = QStringLiteral("window/maximized");

QString FolderKey(const QString& use)
{
    return QStringLiteral("folders/") + use;
}

// One line on standard error, the program's only word about its settings.
void Tell(const QString& line)
{
    std::fprintf(stderr, "corvane4: %s\n", line.toLocal8Bit().constData());
}

// While it lives, the toolkit's own messages are left out: those it gives about a broken value of the
// file ("QVariant::load: unknown user type"), as the window says what matters in one line of its own.
class QuietToolkit
{
public:
    QuietToolkit() : m_toolkit(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {})) {}
    ~QuietToolkit() { qInstallMessageHandler(m_toolkit); }
    QuietToolkit(const QuietToolkit&) = delete;
    QuietToolkit& operator=(const QuietToolkit&) = delete;

private:
    QtMessageHandler m_toolkit;
};

} // namespace

WindowSettings::WindowSettings() = default;

WindowSettings::WindowSettings(std::unique_ptr<QSettings> store) : m_store(std::move(store))
{
    // What a broken file held is dropped: the file is written afresh with what this run remembers.
    bool broken = false;
    {
        const QuietToolkit quiet;
        broken = m_store && m_store->status() != QSettings::NoError;
        if (broken)
            m_store->clear();
    }
    if (broken) {
        m_told = true;
        Tell(QStringLiteral("the settings in %1 cannot be read; the window starts with its defaults")
                 .arg(m_store->fileName()));
    }
}

WindowSettings::~WindowSettings() = default;

std::unique_ptr<QSettings> WindowSettings::PlatformStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane4"),
                                       QStringLiteral("corvane4"));
}

WindowSettings& WindowSettings::None()
{
    static WindowSettings none;
    return none;
}

QVariant WindowSettings::Read(const QString& key) const
{
    const QuietToolkit quiet;
    return m_store ? m_store->value(key) : QVariant();
}

void WindowSettings::Write(const QString& key, const QVariant& value)
{
    if (!m_store)
        return;
    m_store->setValue(key, value);
    m_store->sync();
    // A format error stays the store's status after the file is written afresh; only access fails a write.
    if (m_store->status() == QSettings::AccessError && !m_told) {
        m_told = true;
        Tell(QStringLiteral("the settings cannot be written to %1; they are kept until the window closes")
                 .arg(m_store->fileName()));
    }
}

QString WindowSettings::Folder(const QString& use) const
{
    const QVariant folder = Read(FolderKey(use));
    return folder.typeId() == QMetaType::QString ? folder.toString() : QString();
}

void WindowSettings::SetFolder(const QString& use, const QString& file)
{
    Write(FolderKey(use), QFileInfo(file).absolutePath());
}

QStringList WindowSettings::RecentReports() const
{
    const QVariant value = Read(kRecentKey);
    if (value.typeId() != QMetaType::QStringList && value.typeId() != QMetaType::QString)
        return {};
    QStringList reports = value.toStringList();
    reports.removeAll(QString());
    return reports.mid(0, kRecentLimit);
}

void WindowSettings::SetRecentReports(const QStringList& reports)
{
    Write(kRecentKey, reports);
}

std::optional<ViewMode> WindowSettings::View() const
{
    bool number = false;
    const int view = Read(kViewKey).toInt(&number);
    if (!number || view < static_cast<int>(ViewMode::Summary) || view > static_cast<int>(ViewMode::TimeByClose))
        return std::nullopt;
    return static_cast<ViewMode>(view);
}

void WindowSettings::SetView(ViewMode view)
{
    Write(kViewKey, static_cast<int>(view));
}

std::optional<WindowPlace> WindowSettings::Place() const
{
    const QVariant place = Read(kPlaceKey);
    if (place.typeId() != QMetaType::QRect || !place.toRect().isValid())
        return std::nullopt;
    return WindowPlace{place.toRect(), Read(kMaximizedKey).toBool()};
}

void WindowSettings::SetPlace(const WindowPlace& place)
{
    if (!m_store)
        return;
    // Both values in one write: the place and its state go to the store together.
    m_store->setValue(kMaximizedKey, place.Maximized);
    Write(kPlaceKey, place.Normal);
}

QStringList WithRecentReport(const QStringList& recent, const QString& path)
{
    const QFileInfo report(path);
    QStringList list{report.absoluteFilePath()};
    for (const QString& earlier : recent)
        if (list.size() < kRecentLimit && QFileInfo(earlier) != report)
            list << earlier;
    return list;
}

QRect PlaceOnScreens(const QRect& saved, const QList<QRect>& screens, const QSize& minimum)
{
    if (screens.isEmpty() || !saved.isValid())
        return saved;
    const QRect* screen = nullptr;
    long long most = 0;
    for (const QRect& candidate : screens) {
        const QRect common = candidate.intersected(saved);
        const long long area = static_cast<long long>(common.width()) * common.height();
        if (area > most) {
            most = area;
            screen = &candidate;
        }
    }
    const bool onScreen = screen != nullptr;
    if (!onScreen)
        screen = &screens.front();
    QRect place(saved.topLeft(), saved.size().boundedTo(screen->size()).expandedTo(minimum));
    if (!onScreen)
        place.moveCenter(screen->center());
    // The right and bottom edges inside first, then the left and top: a window larger than the screen
    // keeps its top-left corner on it.
    place.moveLeft(std::max(screen->left(), std::min(place.left(), screen->left() + screen->width() - place.width())));
    place.moveTop(std::max(screen->top(), std::min(place.top(), screen->top() + screen->height() - place.height())));
    return place;
}

} // namespace corvane
