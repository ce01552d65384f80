#include "tempix/ScreenPointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace tempix {

namespace {

int16_t g_current = ScreenPointer::Default;
// Whether an override cursor of ours is on the application's stack. Only
// that one is ever changed or removed, so the pointer of anyone else who
// overrides the cursor stays as it is.
bool g_overriding = false;

} // namespace

void ScreenPointer::Set(int16_t pointer) {
    if (QGuiApplication::instance() == nullptr) {
        return;
    }
    g_current = pointer;
    if (pointer == Default) {
        if (g_overriding) {
            QGuiApplication::restoreOverrideCursor();
            g_overriding = false;
        }
        return;
    }
    const QCursor cursor(ToCursorShape(pointer));
    if (g_overriding) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        g_overriding = true;
    }
}

int16_t ScreenPointer::Current() {
    return g_current;
}

Qt::CursorShape ScreenPointer::ToCursorShape(int16_t pointer) {
    switch (pointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace tempix
