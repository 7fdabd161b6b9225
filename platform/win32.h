#pragma once

// The Win32, GDI and WGL names that the OpenGL layer calls. On Windows they are the system's
// own; elsewhere this project declares them and implements them over EGL, so that the same
// context code runs on both.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "platform/win32_declarations.h"
#endif

#include "platform/wgl_extensions.h"
