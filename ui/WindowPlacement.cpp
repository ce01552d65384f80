#include "ui/WindowPlacement.h"

#include <algorithm>

#include <QtCore/QMargins>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QLayout>
#include <QtWidgets/QWidget>

namespace orvan {

namespace {

// The window manager's frame around a window not yet shown: its real size
// is known only once the frame exists, so a usual title bar and border are
// kept free.
constexpr QMargins UsualFrame(4, 30, 4, 4);

QMargins FrameOf(const QWidget* window) {
    if (!window->isVisible()) {
        return UsualFrame;
    }
    const QRect frame = window->frameGeometry();
    const QRect inside = window->geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(),
            frame.right() - inside.right(), frame.bottom() - inside.bottom()};
}

} // namespace

void PlaceWindow(QWidget* window, const QWidget* over) {
    if (window == nullptr) {
        return;
    }
    if (over == nullptr) {
        over = window->parentWidget();
    }
    if (over != nullptr) {
        over = over->window();
    }
    const QScreen* screen =
        over != nullptr && over->isVisible() ? over->screen() : window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    // The layout settles the minimum size first (a fixed-size dialog takes
    // its final size here).
    window->ensurePolished();
    if (QLayout* layout = window->layout(); layout != nullptr) {
        layout->activate();
    }
    const QRect available = screen->availableGeometry();
    const QMargins frame = FrameOf(window);
    const QSize room = available.size().shrunkBy(frame);
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    QSize size = window->size().expandedTo(least).boundedTo(room);
    size = size.expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
    window->resize(size);

    const QSize outer = size.grownBy(frame);
    const QPoint centre =
        over != nullptr && over->isVisible() ? over->frameGeometry().center() : available.center();
    const int x = std::clamp(centre.x() - outer.width() / 2, available.left(),
                             std::max(available.left(), available.right() + 1 - outer.width()));
    const int y = std::clamp(centre.y() - outer.height() / 2, available.top(),
                             std::max(available.top(), available.bottom() + 1 - outer.height()));
    // A window's position is that of its frame.
    window->move(x, y);
}

} // namespace orvan
