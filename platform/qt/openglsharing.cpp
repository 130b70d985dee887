// SPDX-License-Identifier: MIT
#include "platform/qt/openglsharing.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QtGui/private/qopenglcontext_p.h>

namespace platform {

void shareOpenGLContextsForWebEngine()
{
    if (qt_gl_global_share_context())
        return;
    // What QGuiApplication does at start-up when AA_ShareOpenGLContexts is set. Where
    // there is no OpenGL (the offscreen platform) creation fails and the engine falls
    // back to drawing in software, as it would then anyway.
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
}

} // namespace platform
