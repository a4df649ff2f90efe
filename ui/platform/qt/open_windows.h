#pragma once

#include <QPoint>
#include <QString>
#include <optional>

namespace morvane::ui {

// Where a main window stands: its frame's top-left corner, and how high its
// caption is, which the window manager knows once the window shows; 0 before.
struct OpenWindow {
    QPoint position;
    int caption = 0;
};

// The main windows of morvane open on this desktop, each kept with the
// settings while it is open, so that a window that opens can cascade from
// the last one opened instead of covering it: a Qt program cannot see the
// windows of another. A window whose program has ended without taking its
// entry away is not counted.
class OpenWindowRecord {
public:
    OpenWindowRecord();
    ~OpenWindowRecord();
    OpenWindowRecord(const OpenWindowRecord&) = delete;
    OpenWindowRecord& operator=(const OpenWindowRecord&) = delete;

    // The window opened last among the others still open.
    std::optional<OpenWindow> LastOtherOpened() const;
    // Notes where this window stands, as it shows and as it moves.
    void Keep(const OpenWindow& window);

private:
    QString m_key;
    qint64 m_opened = 0;
};

}  // namespace morvane::ui
