// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "waylandactivation.h"

#include "xdg-activation-v1-client-protocol.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>

#include <wayland-client.h>

namespace WaylandActivation {

namespace {

const char *const TokenVariable = "XDG_ACTIVATION_TOKEN";

void onGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface,
              uint32_t /*version*/)
{
    if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0) {
        *static_cast<xdg_activation_v1 **>(data) = static_cast<xdg_activation_v1 *>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
    }
}

void onGlobalRemoved(void * /*data*/, wl_registry * /*registry*/, uint32_t /*name*/) {}

const wl_registry_listener RegistryListener = {onGlobal, onGlobalRemoved};

void activate(QWindow *window)
{
    const QByteArray token = qgetenv(TokenVariable);
    qunsetenv(TokenVariable);
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    if (token.isEmpty() || !native)
        return;
    auto *display = static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display"));
    auto *surface = static_cast<wl_surface *>(native->nativeResourceForWindow("surface", window));
    if (!display || !surface)
        return;

    // Qt reads the connection's events on a thread of its own: the registry is asked on a
    // queue of this code's own, so that its answers come here and nowhere else.
    wl_event_queue *queue = wl_display_create_queue(display);
    auto *wrapped = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapped), queue);
    wl_registry *registry = wl_display_get_registry(wrapped);
    xdg_activation_v1 *activation = nullptr;
    wl_registry_add_listener(registry, &RegistryListener, &activation);
    wl_display_roundtrip_queue(display, queue);
    if (activation) {
        xdg_activation_v1_activate(activation, token.constData(), surface);
        xdg_activation_v1_destroy(activation);
    }
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapped);
    wl_display_flush(display);
    wl_event_queue_destroy(queue);
}

// Waits for the window's first exposure; the call queued then comes after the first picture
// was painted and committed, so the compositor is asked for a surface it has mapped.
class FirstExposure : public QObject
{
public:
    explicit FirstExposure(QWindow *window)
        : QObject(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            window->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this, window] {
                    activate(window);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

void activateWhenShown(QWidget *window)
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
        !qEnvironmentVariableIsSet(TokenVariable) || !window->windowHandle())
        return;
    if (window->windowHandle()->isExposed())
        QMetaObject::invokeMethod(
            window, [window] { activate(window->windowHandle()); }, Qt::QueuedConnection);
    else
        new FirstExposure(window->windowHandle());
}

} // namespace WaylandActivation
