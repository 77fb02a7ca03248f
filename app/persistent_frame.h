// CPersistentFrame: a main window that comes back where the user left it.
// The first activation restores the position, size and minimised or
// maximised state saved in "Window size"; closing saves them.
#pragma once

#include <QMainWindow>
#include <QRect>

#include <optional>

namespace vantor {

// The normal rectangle used when none was saved: two-thirds of the primary
// screen's available area, centred.
QRect DefaultWindowRect();

// "Rect" holds left, top, right and bottom. Any four whitespace-separated
// integers are read, negative ones and ones wider than four digits
// included. Nothing when the text is not four integers or the rectangle is
// empty.
std::optional<QRect> ParseWindowRect(const QString& text);

// "%04d %04d %04d %04d" of left, top, right and bottom.
QString FormatWindowRect(const QRect& rect);

// A saved rectangle that lies on no screen any more (a monitor was
// unplugged) is moved onto the primary screen, keeping its size.
QRect MoveOntoScreen(const QRect& rect);

class CPersistentFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CPersistentFrame(QWidget* pParent = nullptr);

    // Shows and activates the frame. The first call restores the saved
    // placement first: minimised without taking the focus when it was closed
    // minimised (restoring to maximised when it had been maximised),
    // maximised, or normal.
    virtual void ActivateFrame();

protected:
    // Saves the placement. Runs when the frame closes, after the frame's own
    // saving; not when it never was shown.
    virtual void OnDestroy();

    // Called by the first ActivateFrame once the normal rectangle is applied,
    // before the frame is shown.
    virtual void OnPlacementRestored(const QRect& rectNormal);

    void closeEvent(QCloseEvent* pEvent) override;

    bool m_bFirstTime = true;
};

}  // namespace vantor
