// SPDX-License-Identifier: MIT
#pragma once

namespace platform {

// The web engine draws pages through OpenGL and shares its textures with the windows
// that show them, through one global share context. Qt makes that context at start-up
// only when asked before the application object exists, which would load OpenGL for
// every run. This makes it later, just before the engine is loaded. Only the first
// call does anything.
void shareOpenGLContextsForWebEngine();

} // namespace platform
