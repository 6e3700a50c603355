#include "frame/LockIndicators.h"

#include "frame/XkbLockState.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMetaObject>

#ifdef VORLISK_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
#endif

LockIndicators::LockIndicators(QObject* parent)
    : QObject(parent)
    , m_reader(&LockIndicators::ReadPlatformState)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
    Refresh();
}

LockIndicators::~LockIndicators()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void LockIndicators::Refresh()
{
    m_refreshPending = false;
    const LockState state = (m_reader ? m_reader() : std::nullopt).value_or(LockState{});
    if (state == m_state)
        return;
    m_state = state;
    emit StateChanged(m_state);
}

void LockIndicators::SetReader(Reader reader)
{
    m_reader = std::move(reader);
    Refresh();
}

std::optional<LockState> LockIndicators::ReadPlatformState()
{
#if defined(VORLISK_HAVE_X11) && QT_CONFIG(xcb)
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::nullopt;
    auto* app = qGuiApp;
    if (!app)
        return std::nullopt;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return std::nullopt;
    return ReadXkbLockState(x11->display());
#else
    return std::nullopt;
#endif
}

bool LockIndicators::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::WindowActivate:
    case QEvent::ApplicationActivate:
        ScheduleRefresh();
        break;
    case QEvent::ApplicationStateChange:
        if (QGuiApplication::applicationState() == Qt::ApplicationActive)
            ScheduleRefresh();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void LockIndicators::ScheduleRefresh()
{
    // A key event passes the application filter once for every widget it is
    // offered to; reading once after it has been handled is enough, and by
    // then the windowing system has applied the key to its lock state.
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(this, &LockIndicators::Refresh, Qt::QueuedConnection);
}
