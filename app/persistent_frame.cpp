#include "persistent_frame.h"

#include "settings.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace vantor {

QRect DefaultWindowRect()
{
    // With nothing stored: two-thirds of the screen's free area, centred.
    const QScreen* pPrimary = QGuiApplication::primaryScreen();
    if (!pPrimary)
        return QRect(10, 10, 500 - 10, 400 - 10);
    const QRect available = pPrimary->availableGeometry();
    QRect rect(QPoint(), available.size() * 2 / 3);
    rect.moveCenter(available.center());
    return rect;
}

std::optional<QRect> ParseWindowRect(const QString& text)
{
    const QStringList fields = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (fields.size() != 4)
        return std::nullopt;
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool bOk = false;
        values[i] = fields[i].toInt(&bOk, 10);
        if (!bOk)
            return std::nullopt;
    }
    const int nLeft = values[0], nTop = values[1], nRight = values[2], nBottom = values[3];
    // A window of no size could never be found again on the screen.
    if (nRight <= nLeft || nBottom <= nTop)
        return std::nullopt;
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

QString FormatWindowRect(const QRect& rect)
{
    return QString::asprintf("%04d %04d %04d %04d", rect.left(), rect.top(), rect.x() + rect.width(),
                             rect.y() + rect.height());
}

QRect MoveOntoScreen(const QRect& rect)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* pScreen : screens) {
        if (pScreen->availableGeometry().intersects(rect))
            return rect;
    }
    const QScreen* pPrimary = QGuiApplication::primaryScreen();
    if (!pPrimary)
        return rect;
    QRect moved = rect;
    moved.moveTopLeft(pPrimary->availableGeometry().topLeft() + QPoint(10, 10));
    return moved;
}

CPersistentFrame::CPersistentFrame(QWidget* pParent) : QMainWindow(pParent) {}

void CPersistentFrame::ActivateFrame()
{
    if (!m_bFirstTime) {
        show();
        raise();
        activateWindow();
        return;
    }
    m_bFirstTime = false;

    const QRect rectNormal = MoveOntoScreen(
        ParseWindowRect(ReadSettingText(setting::kRect)).value_or(DefaultWindowRect()));
    const bool bIcon = ReadSetting(setting::kIcon) != 0;
    const bool bMax = ReadSetting(setting::kMax) != 0;

    setGeometry(rectNormal);
    OnPlacementRestored(rectNormal);

    Qt::WindowStates state = Qt::WindowNoState;
    if (bMax)
        state |= Qt::WindowMaximized;  // with bIcon: restores to maximised
    if (bIcon)
        state |= Qt::WindowMinimized;
    setWindowState(state);
    if (bIcon) {
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
        return;
    }
    show();
    raise();
    activateWindow();
}

void CPersistentFrame::OnPlacementRestored(const QRect& /*rectNormal*/) {}

void CPersistentFrame::OnDestroy()
{
    const Qt::WindowStates state = windowState();
    int nIcon = 0;
    int nMax = 0;
    if (state & Qt::WindowMinimized) {
        nIcon = 1;
        nMax = (state & Qt::WindowMaximized) ? 1 : 0;
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        // Full screen comes back as the nearest state the frame restores.
        nMax = 1;
    }
    WriteSettingText(setting::kRect, FormatWindowRect(normalGeometry()));
    WriteSetting(setting::kIcon, nIcon);
    WriteSetting(setting::kMax, nMax);
}

void CPersistentFrame::closeEvent(QCloseEvent* pEvent)
{
    if (!m_bFirstTime)
        OnDestroy();
    pEvent->accept();
}

}  // namespace vantor
