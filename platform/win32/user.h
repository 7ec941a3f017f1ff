// The window system (user32): windows, messages, timers, dialogs, message boxes, input,
// painting and system metrics, headless. See platform/README.md for its shape.
#pragma once

#include <win32/types.h>
#include <win32/user/caret.h>
#include <win32/user/clipboard.h>
#include <win32/user/controls.h>
#include <win32/user/devnotify.h>
#include <win32/user/dialog.h>
#include <win32/user/guiresources.h>
#include <win32/user/input.h>
#include <win32/user/listview.h>
#include <win32/user/menu.h>
#include <win32/user/message.h>
#include <win32/user/metrics.h>
#include <win32/user/msgbox.h>
#include <win32/user/paint.h>
#include <win32/user/rect.h>
#include <win32/user/resource.h>
#include <win32/user/scroll.h>
#include <win32/user/timer.h>
#include <win32/user/tooltip.h>
#include <win32/user/usererror.h>
#include <win32/user/window.h>
