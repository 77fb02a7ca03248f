// CWaitCursor: the busy cursor for as long as the object lives, so that an
// early return or a message box in the middle of long work cannot leave it
// behind.
#pragma once

#include <QApplication>
#include <QCursor>

namespace vantor {

class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CWaitCursor() { Restore(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Ends the busy cursor before the object goes, for a message shown while
    // the work is over but the scope is not.
    void Restore()
    {
        if (m_bActive) {
            QApplication::restoreOverrideCursor();
            m_bActive = false;
        }
    }

private:
    bool m_bActive = true;
};

}  // namespace vantor
