#pragma once

#include "charts/ViewMode.h"

#include <QList>
#include <QRect>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

namespace corvane {

// The recent reports the Load File button offers, most recent first.
inline constexpr int kRecentLimit = 10;

// Where the window was left: its place when neither maximised nor full screen (the client area, in
// screen coordinates), and whether it was maximised.
struct WindowPlace
{
    QRect Normal;
    bool Maximized = false;
};

/**
 * What the window remembers from one run to the next: the folder each dialog was last used in, the
 * recent reports, the view on show and the window's place. Kept in the platform's own place for a
 * program's settings (PlatformStore). A store that cannot be read (a broken file) is taken as empty and
 * written afresh, and one that cannot be written (a read-only home) keeps what it is told for this run
 * only: one line on standard error says so, and neither stops the program. A value that is not what
 * was written is ignored. Without a store nothing is remembered.
 */
class WindowSettings
{
public:
    WindowSettings();
    explicit WindowSettings(std::unique_ptr<QSettings> store);
    ~WindowSettings();
    WindowSettings(const WindowSettings&) = delete;
    WindowSettings& operator=(const WindowSettings&) = delete;

    // The registry on Windows (HKEY_CURRENT_USER\Software\Corvane4\corvane4), the INI file
    // Corvane4/corvane4.conf in the user's configuration folder (~/.config) elsewhere.
    static std::unique_ptr<QSettings> PlatformStore();
    // A store that remembers nothing, for windows made without one.
    static WindowSettings& None();

    // The folder of the file a dialog last gave for `use` ("load", "txt", "html", "png"); "" when none.
    QString Folder(const QString& use) const;
    void SetFolder(const QString& use, const QString& file);

    QStringList RecentReports() const;
    void SetRecentReports(const QStringList& reports);

    std::optional<ViewMode> View() const;
    void SetView(ViewMode view);

    std::optional<WindowPlace> Place() const;
    void SetPlace(const WindowPlace& place);

private:
    QVariant Read(const QString& key) const;
    void Write(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_store;
    bool m_told = false; // a line on standard error has said what failed: one is enough
};

// The recent list with `path` first: an earlier entry of the same file left out, at most kRecentLimit kept.
QStringList WithRecentReport(const QStringList& recent, const QString& path);

/**
 * Where a window left at `saved` goes when the screens' available areas are `screens`, the primary
 * first: on the screen it overlaps most, or centred on the primary screen when it overlaps none (a screen
 * that has gone); no larger than that screen's area nor smaller than `minimum`, and moved inside it.
 */
QRect PlaceOnScreens(const QRect& saved, const QList<QRect>& screens, const QSize& minimum);

} // namespace corvane
