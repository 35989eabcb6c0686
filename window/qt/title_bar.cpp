// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/qt/title_bar.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

#include <wayland-client.h>

#include <cstring>

namespace {

bool leftToWindow = false;

// Whether the Wayland display Qt will open (WAYLAND_DISPLAY, else
// "wayland-0") answers and offers no server-side decorations.
bool CompositorLeavesTitleBars()
{
    // A socket handed down is Qt's to take: connecting would use it up.
    if (qEnvironmentVariableIsSet("WAYLAND_SOCKET")) return false;
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return false;
    static const wl_registry_listener listener{
        [](void* offered, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0) *static_cast<bool*>(offered) = true;
        },
        [](void*, wl_registry*, uint32_t) {}};
    bool offered = false;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &offered);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return answered && !offered;
}

// The bar's height in pixels, above the client area.
constexpr int BarHeight = 28;

}  // namespace

void LeaveTitleBarToWindow()
{
    leftToWindow = CompositorLeavesTitleBars();
    if (leftToWindow) qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
}

bool DrawsOwnTitleBar()
{
    return leftToWindow && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

TitleBar::TitleBar(QWidget* window) : QWidget(window), menu_(new QMenu(this))
{
    setObjectName(QStringLiteral("TitleBar"));
    setGeometry(0, 0, window->width(), BarHeight);
    // The colours of a selected item: the active window's caption.
    setBackgroundRole(QPalette::Highlight);
    setForegroundRole(QPalette::HighlightedText);
    setAutoFillBackground(true);

    // The desktop's window menu, in the window's language; Alt+F4 closes as
    // the desktop's own shortcut does, the bar's button too.
    QAction* close = menu_->addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QStringLiteral("Fechar"),
                                      QKeySequence(Qt::ALT | Qt::Key_F4), window, &QWidget::close);
    addAction(close);

    auto* icon = new QToolButton(this);
    icon->setObjectName(QStringLiteral("SystemMenu"));
    icon->setAccessibleName(QStringLiteral("Menu do sistema"));
    icon->setIcon(window->windowIcon());
    icon->setIconSize(QSize(16, 16));
    icon->setAutoRaise(true);
    icon->setFocusPolicy(Qt::NoFocus);
    connect(icon, &QToolButton::clicked, menu_,
            [this, icon] { menu_->popup(icon->mapToGlobal(icon->rect().bottomLeft())); });

    auto* title = new QLabel(window->windowTitle(), this);
    title->setObjectName(QStringLiteral("Title"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    auto* closeButton = new QToolButton(this);
    closeButton->setObjectName(QStringLiteral("Close"));
    closeButton->setAccessibleName(close->text());
    closeButton->setToolTip(close->text());
    closeButton->setIcon(close->icon());
    closeButton->setAutoRaise(true);
    closeButton->setFocusPolicy(Qt::NoFocus);
    connect(closeButton, &QToolButton::clicked, close, &QAction::trigger);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->addWidget(icon);
    row->addWidget(title, 1);
    row->addWidget(closeButton);
}

void TitleBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) window()->windowHandle()->startSystemMove();
}

void TitleBar::contextMenuEvent(QContextMenuEvent* event)
{
    menu_->popup(event->globalPos());
}
