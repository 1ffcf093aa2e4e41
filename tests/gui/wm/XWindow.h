#pragma once
// What the X server and the window manager know of a window of this process: where its frame is
// and what the window manager offers for it, read with the X tools, and a showing that waits for
// the frame. For programs run by run-under-window-manager.sh.

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace kyv::test {

// How long the window manager and the X tools may take: a loaded machine needs many seconds for
// what an idle one does at once, and every wait ends as soon as its condition holds.
inline constexpr int kPatienceMs = 60000;

// Standard output of an X tool run on the window.
inline QString AskX(const QString& tool, const QStringList& arguments, const QWidget& window)
{
    QProcess process;
    process.start(tool, QStringList{QStringLiteral("-id"), QString::number(window.winId())} + arguments);
    process.waitForFinished(kPatienceMs);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The window's frame as the X server has it: where the window is on the screen (xwininfo) and
// the frame the window manager has put around it (_NET_FRAME_EXTENTS); empty while there is none.
inline QRect RealFrame(const QWidget& window)
{
    const QString place = AskX(QStringLiteral("xwininfo"), {}, window);
    const auto value = [&place](const char* name) {
        const QRegularExpression pattern(QString::fromLatin1(name) + QStringLiteral(":\\s+(-?\\d+)"));
        return pattern.match(place).captured(1).toInt();
    };
    const QRegularExpression numbers(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const QRegularExpressionMatch extents =
        numbers.match(AskX(QStringLiteral("xprop"), {QStringLiteral("_NET_FRAME_EXTENTS")}, window));
    if (!extents.hasMatch()) return {};
    const int left = extents.captured(1).toInt();
    const int right = extents.captured(2).toInt();
    const int top = extents.captured(3).toInt();
    const int bottom = extents.captured(4).toInt();
    return {value("Absolute upper-left X") - left, value("Absolute upper-left Y") - top,
            value("Width") + left + right, value("Height") + top + bottom};
}

// Shows `window` and waits until the window manager has put its frame around it and the frame
// has stopped moving; with `knownToQt`, also until Qt knows that frame (the program places its
// dialogs by the main window's frame as Qt reports it).
inline bool ShowFramed(QWidget& window, bool knownToQt = false)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, kPatienceMs)) return false;
    QElapsedTimer timer;
    timer.start();
    QRect last;
    int steadyRounds = 0;
    while (timer.elapsed() < kPatienceMs) {
        QTest::qWait(100);
        const QRect frame = RealFrame(window);
        const bool steady = frame == last && frame.height() > window.height();
        if (steady && (!knownToQt || window.frameGeometry() == frame)) return true;
        // Qt takes a frame in when the window moves; where the window manager's frame came after
        // the last move, Qt keeps the old one until the next. A pixel there and back is a move.
        steadyRounds = steady ? steadyRounds + 1 : 0;
        if (knownToQt && steadyRounds % 20 == 19) {
            const QPoint place = window.pos();
            window.move(place + QPoint(1, 0));
            QTest::qWait(100);
            window.move(place);
        }
        last = frame;
    }
    qWarning() << "no steady frame known to Qt: the X server has" << last << "Qt has"
               << window.frameGeometry() << "around" << window.geometry();
    return false;
}

// The actions the window manager offers for the window (_NET_WM_ALLOWED_ACTIONS).
inline QString AllowedActions(const QWidget& window)
{
    return AskX(QStringLiteral("xprop"), {QStringLiteral("_NET_WM_ALLOWED_ACTIONS")}, window);
}

}  // namespace kyv::test
